#include "screen/qt_screens.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstring>

namespace
{

// A grab with a negative size runs to the screen's edge, so grabbing from the
// last logical column and row shows exactly where the physical pixels end.
QSize measureNativeSize(QScreen *screen, const ScreenInfo &info)
{
    const qreal ratio = info.devicePixelRatio;
    const QRect &g = info.logicalGeometry;
    if (qFuzzyCompare(ratio, 1.0) || g.isEmpty())
        return nativeGeometry(info).size();
    const QImage right = screen->grabWindow(0, g.width() - 1, 0, -1, 1).toImage();
    const QImage bottom = screen->grabWindow(0, 0, g.height() - 1, 1, -1).toImage();
    if (right.isNull() || bottom.isNull())
        return nativeGeometry(info).size();
    return QSize(qRound((g.width() - 1) * ratio) + right.width(),
                 qRound((g.height() - 1) * ratio) + bottom.height());
}

} // namespace

const std::vector<ScreenInfo> &ScreenList::infos()
{
    const QList<QScreen *> current = QGuiApplication::screens();
    bool same = std::size_t(current.size()) == Screens.size();
    for (std::size_t i = 0; same && i < Screens.size(); ++i) {
        same = current[qsizetype(i)] == Screens[i] &&
               Screens[i]->geometry() == Infos[i].logicalGeometry &&
               Screens[i]->devicePixelRatio() == Infos[i].devicePixelRatio;
    }
    if (same)
        return Infos;
    Screens.assign(current.begin(), current.end());
    Infos.clear();
    for (QScreen *screen : Screens) {
        ScreenInfo info{screen->geometry(), screen->devicePixelRatio(), {}};
        info.nativeSize = measureNativeSize(screen, info);
        Infos.push_back(info);
    }
    return Infos;
}

int ScreenList::indexOf(const QScreen *screen) const
{
    const auto found = std::find(Screens.begin(), Screens.end(), screen);
    return found == Screens.end() ? -1 : int(found - Screens.begin());
}

bool QtScreenSource::copyRect(QPoint topLeft, QImage &target)
{
    const QPoint centre(target.width() / 2, target.height() / 2);
    bool centreSupplied = false;
    for (const ScreenGrab &grab : planScreenGrabs(Screens.infos(), topLeft, target.size())) {
        const QRect &r = grab.logicalRect;
        const QImage image = Screens.screen(std::size_t(grab.screen))
                                 ->grabWindow(0, r.x(), r.y(), r.width(), r.height())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        // Never more than the grab holds: a screen may have gone meanwhile.
        const int width = std::min(grab.targetRect.width(), image.width() - grab.imageOffset.x());
        const int height =
            std::min(grab.targetRect.height(), image.height() - grab.imageOffset.y());
        for (int row = 0; row < height; ++row)
            std::memcpy(target.scanLine(grab.targetRect.y() + row) + grab.targetRect.x() * 4,
                        image.constScanLine(grab.imageOffset.y() + row) + grab.imageOffset.x() * 4,
                        std::size_t(std::max(width, 0)) * 4);
        centreSupplied = centreSupplied ||
                         (width > 0 && height > 0 &&
                          QRect(grab.targetRect.topLeft(), QSize(width, height)).contains(centre));
    }
    return centreSupplied;
}
