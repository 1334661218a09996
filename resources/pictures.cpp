#include "resources/pictures.h"

#include "resources/resource_ids.h"

#include <QImageReader>
#include <QResource>
#include <QString>

#include <cstring>

// The pictures live in a static library, whose resource initialiser no linker
// keeps on its own; registering on first use makes them always present. Kept
// outside any namespace, which the registration macro requires.
static void RegisterPictures()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    (void)registered;
}

namespace
{

constexpr int APP_ICON_SIZES[] = {16, 32, 48, 64, 128, 256};

// The icon is on screen before anything else is, at every size: it is stored
// raw (premultiplied RGBA bytes, rows top to bottom, uncompressed) so that
// loading it is one copy instead of a PNG decode per size. A null image when
// the stored picture is not of that size.
QImage AppIconImage(int size)
{
    RegisterPictures();
    const QResource raw(QStringLiteral(":/pictures/app-%1.rgba").arg(size));
    const qint64 bytes = qint64(size) * size * 4;
    if (!raw.isValid() || raw.compressionAlgorithm() != QResource::NoCompression ||
        raw.size() != bytes)
        return {};
    // A copy rather than an image over the resource: rcc aligns nothing.
    QImage image(size, size, QImage::Format_RGBA8888_Premultiplied);
    for (int y = 0; y < size; ++y)
        std::memcpy(image.scanLine(y), raw.data() + qint64(y) * size * 4, std::size_t(size) * 4);
    return image;
}

// The other pictures are PNG. Naming the format, and not letting the reader
// guess it, spares loading every installed image plugin to ask each whether
// it reads the file.
QPixmap Picture(const char *name)
{
    RegisterPictures();
    QImageReader reader(QStringLiteral(":/pictures/") + QLatin1String(name), "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

QIcon AppIcon()
{
    QIcon icon;
    for (int size : APP_ICON_SIZES)
        icon.addPixmap(QPixmap::fromImage(AppIconImage(size)));
    return icon;
}

QCursor SamplerCursor()
{
    return QCursor(QPixmap::fromImage(AppIconImage(32)), 15, 15);
}

QCursor LinkHandCursor()
{
    return QCursor(Picture("linkhand.png"), 0, 0);
}

QPixmap AboutPicture()
{
    return Picture("aboutpic.png");
}

QPixmap IconPicture(int id)
{
    switch (id) {
    case IDI_APP:
        return QPixmap::fromImage(AppIconImage(32));
    case IDI_ABOUTPIC:
        return AboutPicture();
    default:
        return {};
    }
}
