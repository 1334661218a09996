#include "platform/qt_screen_source.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstring>

namespace
{

// Copies what one grab supplies into target and returns the part of target
// it filled. The grab's image may be a pixel larger than the wanted part on
// each side; only the wanted part is taken, and never more than the image
// holds.
QRect CopyGrab(const QImage &grabbed, const ScreenGrab &grab, QImage &target)
{
    QImage image = grabbed.format() == QImage::Format_RGB32
                       ? grabbed
                       : grabbed.convertToFormat(QImage::Format_RGB32);
    const int width = std::min(grab.targetRect.width(), image.width() - grab.imageOffset.x());
    const int height = std::min(grab.targetRect.height(), image.height() - grab.imageOffset.y());
    if (width <= 0 || height <= 0)
        return {};
    for (int row = 0; row < height; ++row) {
        const auto *source =
            reinterpret_cast<const QRgb *>(image.constScanLine(grab.imageOffset.y() + row)) +
            grab.imageOffset.x();
        auto *destination = reinterpret_cast<QRgb *>(target.scanLine(grab.targetRect.y() + row)) +
                            grab.targetRect.x();
        std::memcpy(destination, source, std::size_t(width) * sizeof(QRgb));
    }
    return QRect(grab.targetRect.topLeft(), QSize(width, height));
}

QImage Grab(QScreen *screen, const ScreenGrab &grab)
{
    const QRect &r = grab.logicalRect;
    return screen->grabWindow(0, r.x(), r.y(), r.width(), r.height()).toImage();
}

// The screen's physical size. A grab with a negative size runs to the
// screen's right or bottom edge, so grabbing from the last logical column and
// row shows exactly where the physical pixels end.
QSize MeasureNativeSize(QScreen *screen, const ScreenInfo &info)
{
    const QRect native = NativeGeometry(info);
    const qreal ratio = info.devicePixelRatio;
    if (qFuzzyCompare(ratio, 1.0) || info.logicalGeometry.isEmpty())
        return native.size();
    const int lastColumn = info.logicalGeometry.width() - 1;
    const int lastRow = info.logicalGeometry.height() - 1;
    const QImage right = screen->grabWindow(0, lastColumn, 0, -1, 1).toImage();
    const QImage bottom = screen->grabWindow(0, 0, lastRow, 1, -1).toImage();
    if (right.isNull() || bottom.isNull())
        return native.size();
    return QSize(qRound(lastColumn * ratio) + right.width(),
                 qRound(lastRow * ratio) + bottom.height());
}

} // namespace

const std::vector<QtScreenSource::KnownScreen> &QtScreenSource::screens()
{
    const QList<QScreen *> current = QGuiApplication::screens();
    bool same = std::size_t(current.size()) == known_.size();
    for (std::size_t i = 0; same && i < known_.size(); ++i) {
        const QScreen *screen = current[qsizetype(i)];
        same = known_[i].screen == screen && known_[i].info.logicalGeometry == screen->geometry() &&
               known_[i].info.devicePixelRatio == screen->devicePixelRatio();
    }
    if (same)
        return known_;
    known_.clear();
    infos_.clear();
    for (QScreen *screen : current) {
        ScreenInfo info{screen->geometry(), screen->devicePixelRatio(), {}};
        info.nativeSize = MeasureNativeSize(screen, info);
        known_.push_back({screen, info});
        infos_.push_back(info);
    }
    return known_;
}

std::vector<ScreenInfo> MeasuredScreenInfos()
{
    std::vector<ScreenInfo> infos = CurrentScreenInfos();
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (std::size_t i = 0; i < infos.size() && i < std::size_t(screens.size()); ++i)
        infos[i].nativeSize = MeasureNativeSize(screens[qsizetype(i)], infos[i]);
    return infos;
}

std::vector<ScreenInfo> CurrentScreenInfos()
{
    std::vector<ScreenInfo> infos;
    const QList<QScreen *> screens = QGuiApplication::screens();
    infos.reserve(std::size_t(screens.size()));
    for (const QScreen *screen : screens)
        infos.push_back({screen->geometry(), screen->devicePixelRatio(), {}});
    return infos;
}

QPoint PhysicalScreenPoint(QPointF globalPosition, const QScreen *windowScreen)
{
    return PhysicalFromLogical(CurrentScreenInfos(), globalPosition,
                               int(QGuiApplication::screens().indexOf(windowScreen)));
}

COLORREF QtScreenSource::pixelAt(QPoint point)
{
    const std::vector<KnownScreen> &known = screens();
    const std::vector<ScreenGrab> grabs = PlanScreenGrabs(infos_, point, {1, 1});
    if (grabs.empty())
        return UNREADABLE_PIXEL;
    const ScreenGrab &grab = grabs.front();
    const QImage image = Grab(known[std::size_t(grab.screen)].screen, grab);
    if (!image.valid(grab.imageOffset))
        return UNREADABLE_PIXEL;
    const QRgb pixel = image.pixel(grab.imageOffset);
    return MakeColorRef(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

bool QtScreenSource::copyRect(QPoint topLeft, QImage &target)
{
    if (target.format() != QImage::Format_RGB32)
        return false;
    const QPoint centre(target.width() / 2, target.height() / 2);
    bool centreSupplied = false;
    const std::vector<KnownScreen> &known = screens();
    for (const ScreenGrab &grab : PlanScreenGrabs(infos_, topLeft, target.size())) {
        const QRect filled =
            CopyGrab(Grab(known[std::size_t(grab.screen)].screen, grab), grab, target);
        centreSupplied = centreSupplied || filled.contains(centre);
    }
    return centreSupplied;
}
