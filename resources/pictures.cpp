#include "resources/pictures.h"

#include "resources/resource_ids.h"

#include <QString>

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

QPixmap Picture(const char *name)
{
    RegisterPictures();
    return QPixmap(QStringLiteral(":/pictures/") + QLatin1String(name));
}

} // namespace

QIcon AppIcon()
{
    RegisterPictures();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/pictures/app-%1.png").arg(size), QSize(size, size));
    return icon;
}

QCursor SamplerCursor()
{
    return QCursor(Picture("app-32.png"), 15, 15);
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
        return Picture("app-32.png");
    case IDI_ABOUTPIC:
        return AboutPicture();
    default:
        return {};
    }
}
