#pragma once

#include "fakes/fake_pointer_service.h"
#include "fakes/fake_profile.h"
#include "fakes/fake_screen_source.h"
#include "mainwindow/sampler_window.h"
#include "mainwindow/settings_store.h"

#include <QImage>

#include <memory>

// A sampler window over fakes: settings in memory, a desktop made of one
// image, and a pointer service that only remembers. Seed the profile before
// calling create(), since the window reads it while it is made.
struct SamplerWindowFixture {
    explicit SamplerWindowFixture(QImage desktop = QImage(), QPoint origin = {})
        : screen(desktop.isNull() ? DefaultDesktop() : std::move(desktop), origin)
    {
        settings.SetKeyName(QString::fromLatin1(SETTINGS_KEY_NAME));
    }

    SamplerWindow &create()
    {
        window = std::make_unique<SamplerWindow>(settings, screen, [this](QWidget &) {
            auto fake = std::make_unique<FakePointerService>();
            pointer = fake.get();
            return fake;
        });
        return *window;
    }

    // A small desktop the colour of nothing the window shows by itself.
    static QImage DefaultDesktop()
    {
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(qRgb(12, 34, 56));
        return image;
    }

    FakeProfile profile;
    SettingsStore settings{profile};
    FakeScreenSource screen;
    FakePointerService *pointer = nullptr;
    std::unique_ptr<SamplerWindow> window;
};
