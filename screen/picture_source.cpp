#include "screen/picture_source.h"

#include <QtMath>

#include <algorithm>
#include <cmath>
#include <cstring>

std::optional<PictureMap> mapPicture(QSize picture, std::span<const ScreenInfo> screens)
{
    QRect box;
    for (const ScreenInfo &screen : screens)
        box |= nativeGeometry(screen);
    if (box.isEmpty() || picture.isEmpty())
        return std::nullopt;
    // Scaled by the other direction's factor, the picture's width or height
    // would miss by this many pixels times the box's height or width.
    const qint64 miss =
        std::abs(qint64(picture.height()) * box.width() - qint64(picture.width()) * box.height());
    if (miss >= std::min(box.width(), box.height()))
        return std::nullopt;
    PictureMap map{box.topLeft(),
                   qreal(picture.width()) / box.width(),
                   qreal(picture.height()) / box.height(),
                   {}};
    for (const ScreenInfo &screen : screens) {
        const QRect r = nativeGeometry(screen).translated(-box.topLeft());
        map.shown.push_back(
            QRect(QPoint(qFloor(r.left() * map.xFactor), qFloor(r.top() * map.yFactor)),
                  QPoint(qFloor((r.right() + 1) * map.xFactor) - 1,
                         qFloor((r.bottom() + 1) * map.yFactor) - 1)));
    }
    return map;
}

bool PictureSource::setPicture(const QImage &picture, std::span<const ScreenInfo> screens)
{
    std::optional<PictureMap> map = mapPicture(picture.size(), screens);
    if (!map)
        return false;
    Picture = picture.convertToFormat(QImage::Format_RGB32);
    Map = std::move(*map);
    return true;
}

bool PictureSource::copyRect(QPoint topLeft, QImage &target)
{
    const QPoint centre(target.width() / 2, target.height() / 2);
    return copySourceRect(sourcePixel(topLeft + centre) - centre, target);
}

QPoint PictureSource::sourcePixel(QPoint desktopPixel) const
{
    // Kept where rectangles around it cannot overflow, however far the point.
    const auto scale = [](int from, qreal factor) {
        return qFloor(std::clamp(from * factor, -1e9, 1e9));
    };
    return QPoint(scale(desktopPixel.x() - Map.origin.x(), Map.xFactor),
                  scale(desktopPixel.y() - Map.origin.y(), Map.yFactor));
}

bool PictureSource::copySourceRect(QPoint topLeft, QImage &target)
{
    const QRect wanted(topLeft, target.size());
    const QPoint centre = topLeft + QPoint(target.width() / 2, target.height() / 2);
    bool centreSupplied = false;
    for (const QRect &shown : Map.shown) {
        const QRect part = shown & wanted & Picture.rect();
        for (int y = part.top(); y <= part.bottom(); ++y)
            std::memcpy(target.scanLine(y - topLeft.y()) + (part.left() - topLeft.x()) * 4,
                        Picture.constScanLine(y) + part.left() * 4, std::size_t(part.width()) * 4);
        centreSupplied = centreSupplied || part.contains(centre);
    }
    return centreSupplied;
}
