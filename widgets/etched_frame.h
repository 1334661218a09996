#pragma once

#include <QFrame>

// A box with a sunken two-pixel edge around an inside it never paints: the
// window draws the swatch and the magnifier there, and redraws them on every
// pointer move of a drag. A repaint that stays inside costs the frame nothing,
// and the edge is drawn with a few fills rather than through the style.
class EtchedFrame : public QFrame
{
public:
    explicit EtchedFrame(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
