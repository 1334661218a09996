// Draws the program's pictures into a folder: the four-arrow icon at every size a
// desktop asks for, as PNG for installing and raw for the program to load (the
// sampling cursor uses its 32-pixel form), the two-colour
// link hand, the About picture and a Windows icon file. Built only on demand
// (target "pictures"); its output is committed, so a build never runs it.

#include <QBuffer>
#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>

#include <array>
#include <cstdio>

namespace
{

struct ArrowColors {
    QColor light;
    QColor dark;
    QColor outline;
};

// One arrow pointing down at the centre from above, in a 32-unit design grid;
// the caller rotates it into place. The tip stops short of the centre so the
// sampled pixel under the cursor's hot spot stays visible.
QPainterPath arrowFromAbove()
{
    constexpr double gap = 3;   // centre to tip
    constexpr double head = 5;  // length of the head
    constexpr double shaft = 6; // length of the shaft
    constexpr double headHalf = 4.5;
    constexpr double shaftHalf = 1.5;
    QPainterPath path;
    path.moveTo(0, -gap);
    path.lineTo(headHalf, -gap - head);
    path.lineTo(shaftHalf, -gap - head);
    path.lineTo(shaftHalf, -gap - head - shaft);
    path.lineTo(-shaftHalf, -gap - head - shaft);
    path.lineTo(-shaftHalf, -gap - head);
    path.lineTo(-headHalf, -gap - head);
    path.closeSubpath();
    return path;
}

// Four arrows meeting at pixel (size / 2 - 1, size / 2 - 1): at 32 pixels that is
// (15, 15), the sampling cursor's hot spot.
QImage fourArrows(int size)
{
    const std::array<std::pair<double, ArrowColors>, 4> arrows = {{
        {0, {QColor(0xb0, 0xff, 0xff), QColor(0x00, 0xb8, 0xc8), QColor(0x00, 0x50, 0x60)}},
        {90, {QColor(0xff, 0xb0, 0xff), QColor(0xc8, 0x00, 0xc0), QColor(0x58, 0x00, 0x50)}},
        {180, {QColor(0xff, 0xff, 0xb0), QColor(0xe0, 0xc0, 0x00), QColor(0x60, 0x50, 0x00)}},
        {270, {QColor(0xf0, 0xf0, 0xf0), QColor(0x90, 0x90, 0x90), QColor(0x40, 0x40, 0x40)}},
    }};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double scale = size / 32.0;
    const double centre = size / 2.0 - 0.5;
    const QPainterPath arrow = arrowFromAbove();
    for (const auto &[angle, colors] : arrows) {
        painter.save();
        painter.translate(centre, centre);
        painter.rotate(angle);
        painter.scale(scale, scale);
        QLinearGradient shade(0, -14, 0, -3);
        shade.setColorAt(0, colors.light);
        shade.setColorAt(1, colors.dark);
        painter.setBrush(shade);
        painter.setPen(QPen(colors.outline, std::max(1.0, scale) / scale, Qt::SolidLine,
                            Qt::SquareCap, Qt::MiterJoin));
        painter.drawPath(arrow);
        painter.restore();
    }
    return image;
}

// A pointing hand in black and white; the top-left corner of the fingertip is
// pixel (0, 0), the hot spot.
QImage linkHand()
{
    static const char *const rows[] = {
        "XXXX",          "X..X",          "X..X",          "X..X",          "X..X",
        "X..XXXX",       "X..X..XXXX",    "X..X..X..XXX",  "X..X..X..X..X", "X..X..X..X..X",
        "X..X..X..X..X", "X...........X", "X...........X", "X...........X", "X...........X",
        "X..........X",  "X..........X",  " X.........X",  " X........X",   "  X.......X",
        "  X.......X",   "  XXXXXXXXX",
    };
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    int y = 0;
    for (const char *row : rows) {
        for (int x = 0; row[x] != '\0'; ++x) {
            if (row[x] == 'X')
                image.setPixel(x, y, qRgba(0, 0, 0, 255));
            else if (row[x] == '.')
                image.setPixel(x, y, qRgba(255, 255, 255, 255));
        }
        ++y;
    }
    return image;
}

// The About window's picture: four colour chips under a magnifying glass.
QImage aboutPicture()
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const std::array<std::pair<QRect, QColor>, 4> chips = {{
        {QRect(1, 1, 12, 12), QColor(0xe0, 0x20, 0x20)},
        {QRect(14, 1, 12, 12), QColor(0x20, 0xb0, 0x20)},
        {QRect(1, 14, 12, 12), QColor(0x20, 0x40, 0xe0)},
        {QRect(14, 14, 12, 12), QColor(0xf0, 0xd0, 0x00)},
    }};
    painter.setPen(QColor(0x30, 0x30, 0x30));
    for (const auto &[rect, color] : chips) {
        painter.setBrush(color);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x50, 0x38, 0x20), 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(24, 24), QPointF(30, 30));
    painter.setPen(QPen(QColor(0x20, 0x20, 0x20), 2));
    painter.setBrush(QColor(255, 255, 255, 110));
    painter.drawEllipse(QPointF(17.5, 17.5), 7, 7);
    return image;
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A Windows icon file whose images are stored as PNG, which every Windows since
// Vista reads.
QByteArray icoBytes(const std::vector<QImage> &images)
{
    QByteArray header(6, '\0');
    qToLittleEndian<quint16>(1, header.data() + 2);
    qToLittleEndian<quint16>(quint16(images.size()), header.data() + 4);
    QByteArray directory;
    QByteArray data;
    quint32 offset = quint32(6 + 16 * images.size());
    for (const QImage &image : images) {
        const QByteArray png = pngBytes(image);
        QByteArray entry(16, '\0');
        entry[0] = char(image.width() >= 256 ? 0 : image.width());
        entry[1] = char(image.height() >= 256 ? 0 : image.height());
        qToLittleEndian<quint16>(1, entry.data() + 4);  // planes
        qToLittleEndian<quint16>(32, entry.data() + 6); // bits per pixel
        qToLittleEndian<quint32>(quint32(png.size()), entry.data() + 8);
        qToLittleEndian<quint32>(offset, entry.data() + 12);
        offset += quint32(png.size());
        directory += entry;
        data += png;
    }
    return header + directory + data;
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "make_pictures: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: make_pictures OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    std::vector<QImage> icoImages;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QImage icon = fourArrows(size);
        ok &= WriteFile(out.filePath(QStringLiteral("app-%1.png").arg(size)), pngBytes(icon));
        if (size != 64 && size != 128)
            icoImages.push_back(icon);
    }
    ok &= WriteFile(out.filePath(QStringLiteral("tintgrabber.ico")), icoBytes(icoImages));
    ok &= WriteFile(out.filePath(QStringLiteral("linkhand.png")), pngBytes(linkHand()));
    ok &= WriteFile(out.filePath(QStringLiteral("aboutpic.png")), pngBytes(aboutPicture()));
    return ok ? 0 : 1;
}
