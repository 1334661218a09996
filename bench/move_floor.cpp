// move_floor [BOXES]
//
// The least a Qt Widgets program does for a pointer move of a drag: the press
// grabs the mouse, and each move repaints BOXES opaque child widgets (default
// 8, as many as a sampling move repaints, at about their sizes) in a colour
// taken from the pointer's position. No screen read, no text, no settings.
// program_bench.sh measures it beside the sampler: the cost of Qt's event
// delivery, repaint and flush, and of the kernel and X round trips under
// them, below which no program built this way gets.
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace
{

class Box : public QWidget
{
public:
    explicit Box(QWidget *parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

    void setColor(QRgb color)
    {
        Color = color;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).fillRect(rect(), QColor::fromRgb(Color));
    }

private:
    QRgb Color = 0;
};

class FloorWindow : public QWidget
{
public:
    explicit FloorWindow(int boxes)
    {
        setWindowTitle(QStringLiteral("move_floor"));
        resize(480, 200);
        // Six text-sized boxes, then one the size of a swatch and one of a
        // magnifier.
        const QRect places[] = {{10, 10, 40, 14},   {60, 10, 40, 14},  {110, 10, 40, 14},
                                {10, 40, 60, 14},   {80, 40, 60, 14},  {10, 70, 200, 14},
                                {250, 10, 100, 50}, {250, 70, 100, 90}};
        for (int i = 0; i < boxes; ++i) {
            auto *box = new Box(this);
            box->setGeometry(places[i % 8].translated(0, (i / 8) * 100));
            Boxes.push_back(box);
        }
    }

protected:
    void mousePressEvent(QMouseEvent *) override { grabMouse(); }
    void mouseReleaseEvent(QMouseEvent *) override { releaseMouse(); }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        const QPoint at = event->globalPosition().toPoint();
        for (std::size_t i = 0; i < Boxes.size(); ++i)
            Boxes[i]->setColor(qRgb(at.x() + int(i), at.y(), int(i) * 30));
    }

private:
    std::vector<Box *> Boxes;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    FloorWindow window(argc > 1 ? std::max(1, std::atoi(argv[1])) : 8);
    window.show();
    return app.exec();
}
