#include "platform/qt_screen_source.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstring>

namespace
{

// Copies what one grab supplies into target. The grab's image may be a pixel
// larger than the wanted part on each side; only the wanted part is taken,
// and never more than the image holds.
void CopyGrab(const QImage &grabbed, const ScreenGrab &grab, QImage &target)
{
    QImage image = grabbed.format() == QImage::Format_RGB32
                       ? grabbed
                       : grabbed.convertToFormat(QImage::Format_RGB32);
    const int width = std::min(grab.targetRect.width(), image.width() - grab.imageOffset.x());
    const int height = std::min(grab.targetRect.height(), image.height() - grab.imageOffset.y());
    if (width <= 0 || height <= 0)
        return;
    for (int row = 0; row < height; ++row) {
        const auto *source =
            reinterpret_cast<const QRgb *>(image.constScanLine(grab.imageOffset.y() + row)) +
            grab.imageOffset.x();
        auto *destination = reinterpret_cast<QRgb *>(target.scanLine(grab.targetRect.y() + row)) +
                            grab.targetRect.x();
        std::memcpy(destination, source, std::size_t(width) * sizeof(QRgb));
    }
}

QImage Grab(QScreen *screen, const ScreenGrab &grab)
{
    const QRect &r = grab.logicalRect;
    return screen->grabWindow(0, r.x(), r.y(), r.width(), r.height()).toImage();
}

} // namespace

std::vector<ScreenInfo> CurrentScreenInfos()
{
    std::vector<ScreenInfo> infos;
    const QList<QScreen *> screens = QGuiApplication::screens();
    infos.reserve(std::size_t(screens.size()));
    for (const QScreen *screen : screens)
        infos.push_back({screen->geometry(), screen->devicePixelRatio()});
    return infos;
}

QPoint PhysicalScreenPoint(QPointF globalPosition, const QScreen *windowScreen)
{
    return PhysicalFromLogical(CurrentScreenInfos(), globalPosition,
                               int(QGuiApplication::screens().indexOf(windowScreen)));
}

COLORREF QtScreenSource::pixelAt(QPoint point)
{
    const std::vector<ScreenGrab> grabs = PlanScreenGrabs(CurrentScreenInfos(), point, {1, 1});
    if (grabs.empty())
        return UNREADABLE_PIXEL;
    const ScreenGrab &grab = grabs.front();
    const QImage image = Grab(QGuiApplication::screens().at(grab.screen), grab);
    if (!image.valid(grab.imageOffset))
        return UNREADABLE_PIXEL;
    const QRgb pixel = image.pixel(grab.imageOffset);
    return MakeColorRef(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

void QtScreenSource::copyRect(QPoint topLeft, QImage &target)
{
    if (target.format() != QImage::Format_RGB32)
        return;
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (const ScreenGrab &grab : PlanScreenGrabs(CurrentScreenInfos(), topLeft, target.size()))
        CopyGrab(Grab(screens.at(grab.screen), grab), grab, target);
}
