// Times DrawMagnifier on an image the size of the main window at the smallest,
// a middle and the largest zoom of the list, one paint after another as while
// dragging, with the zoom read from the settings file as the program does.
// Prints microseconds per draw; never fails.

#include "platform/surface.h"
#include "sampling/magnifier.h"
#include "sampling/sampling_constants.h"
#include "settings/settings_store.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);

    QImage buffer(CAPTURE_SIZE, CAPTURE_SIZE, QImage::Format_RGB32);
    quint32 seed = 1;
    for (int y = 0; y < CAPTURE_SIZE; ++y)
        for (int x = 0; x < CAPTURE_SIZE; ++x) {
            seed = seed * 1664525u + 1013904223u;
            buffer.setPixel(x, y, 0xff000000u | (seed >> 8));
        }

    QImage window(410, 95, QImage::Format_RGB32);
    window.fill(Qt::lightGray);
    const QRect zoomArea(7, 5, 86, 86);

    constexpr int draws = 20000;
    std::printf("DrawMagnifier on %dx%d, zoom area %dx%d, %d draws each\n", window.width(),
                window.height(), zoomArea.width(), zoomArea.height(), draws);

    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path()));
    const auto run = [&](const char *store) {
        SettingsStore settings;
        settings.SetKeyName(QLatin1String(SETTINGS_KEY_NAME));
        for (int factor : {3, 10, 30}) {
            settings.WriteInt(QLatin1String(SETTINGS_SECTION_WINDOW),
                              QLatin1String(SETTINGS_ENTRY_ZOOM), factor - 3);
            QElapsedTimer timer;
            timer.start();
            for (int i = 0; i < draws; ++i) {
                QPainter painter(&window);
                Surface surface(painter);
                DrawMagnifier(surface, zoomArea, buffer, settings);
            }
            const double micros = double(timer.nsecsElapsed()) / 1000.0 / draws;
            std::printf("  %-14s x%-3d %8.2f us per draw\n", store, factor, micros);
        }
    };

    run("settings file");
    return 0;
}
