#include "window/about_window.h"

#include "resources/dialog_template.h"
#include "resources/pictures.h"
#include "resources/resource_ids.h"
#include "widgets/dialog_builder.h"
#include "widgets/link_label.h"

#include <QGuiApplication>
#include <QLabel>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace
{

// The group boxes' distance from the window's right edge, in dialog units.
constexpr int RIGHT_MARGIN = 7;

// The desktop's own hand where it has one, so links look as in every other
// program; the program's picture elsewhere. Systems before Windows 2000 lack
// one; X11 always has one (the core cursor font), Wayland its theme's.
QCursor linkCursor()
{
#ifdef Q_OS_WIN
    const bool systemHand = LoadCursorW(nullptr, IDC_HAND) != nullptr;
#else
    const QString platform = QGuiApplication::platformName();
    const bool systemHand = platform == QLatin1String("xcb") ||
                            platform.startsWith(QLatin1String("wayland")) ||
                            platform == QLatin1String("cocoa");
#endif
    return systemHand ? QCursor(Qt::PointingHandCursor) : linkHandCursor();
}

// The windowing system in use, by the name its users know; Qt's name for any
// other.
QString windowingSystem()
{
    const QString platform = QGuiApplication::platformName();
    const struct {
        const char *plugin;
        const char *name;
    } names[] = {
        {"xcb", "X11"}, {"wayland", "Wayland"}, {"windows", "Windows"}, {"cocoa", "macOS"}};
    for (const auto &[plugin, name] : names) {
        if (platform.startsWith(QLatin1String(plugin)))
            return QString::fromLatin1(name);
    }
    return platform;
}

} // namespace

AboutWindow::AboutWindow(QWidget *parent) : QDialog(parent)
{
    const QHash<int, QWidget *> controls = buildDialog(*this, aboutWindowTemplate());
    auto *version = static_cast<QLabel *>(controls.value(IDC_VERSIONTEXT));
    version->setText(QStringLiteral("%1 (%2)").arg(version->text(), windowingSystem()));
    const DialogBaseUnits units = dialogBaseUnitsOf(font());
    const int rightLimit = width() - dialogRectToPixels({0, 0, RIGHT_MARGIN, 0}, units).width();
    const QCursor cursor = linkCursor();
    for (int id : {IDC_MAILLINK, IDC_WEBLINK}) {
        auto *link = static_cast<LinkLabel *>(controls.value(id));
        link->SetLinkEnabled(true).SetColor(Qt::blue).SetUnderline(true).SetLinkCursor(cursor);
        // The desktop's font is often larger than the window's: an address
        // stays one line, never broken at its slashes, and gets the room it
        // needs up to the window's right margin.
        link->setWordWrap(false);
        QRect area = link->geometry();
        area.setWidth(
            std::max(area.width(), std::min(link->sizeHint().width(), rightLimit - area.left())));
        area.setHeight(std::max(area.height(), link->sizeHint().height()));
        link->setGeometry(area);
    }
}
