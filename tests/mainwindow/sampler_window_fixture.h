#pragma once

#include "fakes/fake_pointer_service.h"
#include "fakes/fake_screen_source.h"
#include "mainwindow/sampler_window.h"
#include "settings/settings_store.h"

#include <QFileInfo>
#include <QFrame>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include <memory>
#include <utility>
#include <vector>

inline constexpr QRgb SAMPLED = qRgb(255, 128, 0);
inline constexpr QRgb AROUND = qRgb(12, 34, 56);
inline const QString UNTOUCHED = QStringLiteral("clipboard before the click");

// A desktop that is AROUND everywhere except the one pixel at screenPoint.
inline FakeScreenSource DesktopWithPixelAt(QPoint screenPoint)
{
    QImage image(61, 61, QImage::Format_RGB32);
    image.fill(AROUND);
    image.setPixel(30, 30, SAMPLED);
    return FakeScreenSource(image, screenPoint - QPoint(30, 30));
}

// A sampler window over fakes and settings in a folder of its own: a desktop
// made of one image, and a pointer service that only remembers. The stored
// entries are in place before the window reads them while it is made.
struct Fixture {
    explicit Fixture(const std::vector<std::pair<const char *, int>> &stored = {})
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
        settings.SetKeyName(QString::fromLatin1(SETTINGS_KEY_NAME));
        for (const auto &[entry, value] : stored)
            settings.WriteInt("win", entry, value);
        seeded = written();
        window = std::make_unique<SamplerWindow>(settings, screen, [this](QWidget &) {
            auto fake = std::make_unique<FakePointerService>();
            pointer = fake.get();
            return fake;
        });
    }

    SamplerWindow &shown(bool active = false)
    {
        window->show();
        if (active)
            window->activateWindow();
        if (!(active ? QTest::qWaitForWindowActive(window.get())
                     : QTest::qWaitForWindowExposed(window.get())))
            qFatal("the window never showed");
        return *window;
    }

    // Drags from the colour area to a client point outside the window, over a
    // desktop that has SAMPLED right there.
    void sample()
    {
        QWindow *handle = window->windowHandle();
        const QPoint outside(-40, window->height() + 25);
        screen = DesktopWithPixelAt(window->clientToScreen(outside));
        QTest::mousePress(handle, Qt::LeftButton, {}, window->colorArea()->geometry().center());
        QTest::mouseMove(handle, outside);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, outside);
    }

    int stored(const char *entry) const { return settings.GetInt("win", entry, -999); }
    // The settings file's modification time, which every write moves on.
    QDateTime written() const { return QFileInfo(settings.location()).lastModified(); }

    QTemporaryDir home;
    SettingsStore settings;
    QDateTime seeded; // written() before the window was made
    FakeScreenSource screen = DesktopWithPixelAt({-1000, -1000});
    FakePointerService *pointer = nullptr;
    std::unique_ptr<SamplerWindow> window;
};
