#include "resources/pictures.h"

#include "resources/resource_ids.h"

#include <QImageReader>

// A static library's resources are kept only when something registers them;
// registering on first use makes them always present. The registration macro
// must stand outside any namespace.
static QPixmap pictureNamed(const QString &name)
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    (void)registered;
    // Naming the format spares asking every image plugin whether it reads it.
    QImageReader reader(QStringLiteral(":/pictures/") + name, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

// The window's own icon, for title bars and task bars. Launchers and
// switchers that want it larger find the 128 and 256 pixel pictures in the
// icon theme through the desktop entry; decoding those two here cost a tenth
// of the start-up.
QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(pictureNamed(QStringLiteral("app-%1.png").arg(size)));
    return icon;
}

QCursor samplerCursor()
{
    return QCursor(pictureNamed(QStringLiteral("app-32.png")), 15, 15);
}

QCursor linkHandCursor()
{
    return QCursor(pictureNamed(QStringLiteral("linkhand.png")), 0, 0);
}

QPixmap iconPicture(int id)
{
    if (id == IDI_APP)
        return pictureNamed(QStringLiteral("app-32.png"));
    if (id == IDI_ABOUTPIC)
        return pictureNamed(QStringLiteral("aboutpic.png"));
    return {};
}
