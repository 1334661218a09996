#include "window/picture_overlay.h"

#include "resources/pictures.h"
#include "screen/picture_source.h"

#include <QPaintEvent>
#include <QPainter>

std::optional<OverlayPlan> planOverlay(QSize picture, std::span<const ScreenInfo> screens)
{
    const std::optional<PictureMap> map = mapPicture(picture, screens);
    if (!map)
        return std::nullopt;
    OverlayPlan plan;
    for (const ScreenInfo &screen : screens)
        plan.geometry |= screen.logicalGeometry;
    for (std::size_t i = 0; i < screens.size(); ++i)
        plan.parts.push_back(
            {map->shown[i], screens[i].logicalGeometry.translated(-plan.geometry.topLeft())});
    return plan;
}

// A tool window takes no keyboard focus from the desktop when it appears, so
// the keys stay with the owner; bypassing the window manager puts it exactly
// where it asks to be, over every other window.
PictureOverlay::PictureOverlay(QWidget *owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
                         Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(samplerCursor());
}

void PictureOverlay::showPicture(const QImage &picture, std::span<const ScreenInfo> screens)
{
    std::optional<OverlayPlan> plan = planOverlay(picture.size(), screens);
    if (!plan)
        return;
    Picture = picture;
    Plan = std::move(*plan);
    setGeometry(Plan.geometry);
    show();
    update();
}

void PictureOverlay::ownerChanged()
{
    if (isVisible())
        update(ownerRect());
}

QRect PictureOverlay::ownerRect() const
{
    const QWidget *owner = parentWidget();
    return QRect(mapFromGlobal(owner->mapToGlobal(QPoint(0, 0))), owner->size());
}

// Unscaled, each picture pixel lands on one device pixel; on a scaled screen
// the painter's device pixel ratio keeps the picture's pixels as they are.
void PictureOverlay::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    for (const OverlayPlan::Part &part : Plan.parts)
        painter.drawImage(part.target, Picture, part.source);
    if (event->region().intersects(ownerRect()))
        parentWidget()->render(&painter, ownerRect().topLeft());
}
