#include "platform/display_probe.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibrary>
#include <QLibraryInfo>
#include <QPluginLoader>
#include <QProcessEnvironment>

#include <algorithm>

#if defined(TINTGRABBER_HAVE_XCB)
#include <xcb/xcb.h>
#endif

namespace
{

QStringList PluginFolders(const QProcessEnvironment &env)
{
    QStringList folders;
    const QString platformPath = env.value(QStringLiteral("QT_QPA_PLATFORM_PLUGIN_PATH"));
    if (!platformPath.isEmpty())
        folders << platformPath;
    for (const QString &path : env.value(QStringLiteral("QT_PLUGIN_PATH"))
                                   .split(QDir::listSeparator(), Qt::SkipEmptyParts))
        folders << path + QStringLiteral("/platforms");
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
    return folders;
}

// Reads each plugin's key from its metadata without loading the library.
// With names, only the files whose names contain one of them are read.
QStringList InstalledPlatforms(const QProcessEnvironment &env, const QStringList &names)
{
    const auto named = [&names](const QString &fileName) {
        return names.isEmpty() || std::any_of(names.begin(), names.end(), [&](const QString &name) {
                   return fileName.contains(name, Qt::CaseInsensitive);
               });
    };
    QStringList keys;
    for (const QString &folder : PluginFolders(env)) {
        const QDir dir(folder);
        for (const QFileInfo &file : dir.entryInfoList(QDir::Files)) {
            if (!QLibrary::isLibrary(file.fileName()) || !named(file.fileName()))
                continue;
            const QPluginLoader loader(file.absoluteFilePath());
            const QJsonArray pluginKeys = loader.metaData()
                                              .value(QStringLiteral("MetaData"))
                                              .toObject()
                                              .value(QStringLiteral("Keys"))
                                              .toArray();
            for (const QJsonValue &key : pluginKeys) {
                if (!keys.contains(key.toString(), Qt::CaseInsensitive))
                    keys << key.toString();
            }
        }
    }
    keys.sort(Qt::CaseInsensitive);
    return keys;
}

// The names Qt tries in turn: the request, or on a Unix desktop the session's
// own platform and then X11 where nothing is requested.
QStringList PlatformsTried(const DisplayEnvironment &env)
{
    QStringList names;
    if (!env.platformRequest.isEmpty()) {
        for (const QString &entry : env.platformRequest.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            names << entry.section(QLatin1Char(':'), 0, 0); // drop the plugin's arguments
        return names;
    }
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    if (env.sessionType == QLatin1String("wayland"))
        names << QStringLiteral("wayland");
    names << QStringLiteral("xcb");
#endif
    // Elsewhere the system's own platform is always there.
    return names;
}

// Why one platform cannot open a window; empty when it can.
QString PlatformProblem(const QString &name, const DisplayEnvironment &env,
                        const DisplayOpener &canOpenX11, const DisplayOpener &canOpenWayland)
{
    if (!env.installedPlatforms.isEmpty() &&
        !env.installedPlatforms.contains(name, Qt::CaseInsensitive)) {
        return QStringLiteral("no platform \"%1\" (installed: %2)")
            .arg(name, env.installedPlatforms.join(QStringLiteral(", ")));
    }
    if (name.compare(QLatin1String("xcb"), Qt::CaseInsensitive) == 0) {
        if (env.x11Display.isEmpty())
            return QStringLiteral("DISPLAY is not set");
        if (!canOpenX11(env.x11Display))
            return QStringLiteral("no X server answers on \"%1\"").arg(env.x11Display);
    } else if (name.startsWith(QLatin1String("wayland"), Qt::CaseInsensitive)) {
        const QString server =
            env.waylandDisplay.isEmpty() ? QStringLiteral("wayland-0") : env.waylandDisplay;
        if (!canOpenWayland(server))
            return QStringLiteral("no Wayland compositor answers on \"%1\"").arg(server);
    }
    return {};
}

// The connection's set-up alone answers, with none of the requests that
// opening a display through Xlib adds.
bool CanOpenX11(const QString &name)
{
#if defined(TINTGRABBER_HAVE_XCB)
    xcb_connection_t *connection = xcb_connect(name.toLocal8Bit().constData(), nullptr);
    const bool opened = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return opened;
#else
    return !name.isEmpty();
#endif
}

// The variables the decision rests on, without the plugins.
DisplayEnvironment VariablesOf(const QProcessEnvironment &env)
{
    DisplayEnvironment result;
    result.platformRequest = env.value(QStringLiteral("QT_QPA_PLATFORM"));
    result.sessionType = env.value(QStringLiteral("XDG_SESSION_TYPE"));
    result.x11Display = env.value(QStringLiteral("DISPLAY"));
    result.waylandDisplay = env.value(QStringLiteral("WAYLAND_DISPLAY"));
    result.runtimeDir = env.value(QStringLiteral("XDG_RUNTIME_DIR"));
    return result;
}

} // namespace

DisplayEnvironment CurrentDisplayEnvironment()
{
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    DisplayEnvironment result = VariablesOf(env);
    result.installedPlatforms = InstalledPlatforms(env, {});
    return result;
}

QString DisplayProblem(const DisplayEnvironment &environment, const DisplayOpener &canOpenX11,
                       const DisplayOpener &canOpenWayland)
{
    QStringList problems;
    for (const QString &name : PlatformsTried(environment)) {
        const QString problem = PlatformProblem(name, environment, canOpenX11, canOpenWayland);
        if (problem.isEmpty())
            return {};
        problems << problem;
    }
    if (problems.isEmpty()) {
        if (environment.platformRequest.isEmpty())
            return {};
        problems << QStringLiteral("QT_QPA_PLATFORM names no platform");
    }
    return QStringLiteral("cannot open the display: ") + problems.join(QStringLiteral("; "));
}

QString CurrentDisplayProblem()
{
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    DisplayEnvironment environment = VariablesOf(env);
    // A compositor's socket is a path, or a name in the runtime folder.
    const auto canOpenWayland = [&environment](const QString &server) {
        if (QDir::isAbsolutePath(server))
            return QFileInfo::exists(server);
        return !environment.runtimeDir.isEmpty() &&
               QFileInfo::exists(environment.runtimeDir + QLatin1Char('/') + server);
    };
    // Every plugin's metadata, which Qt reads again itself, is the slow part:
    // first only the plugins named like the platforms tried. Plugins left out
    // can only make a platform look missing, so a problem found is decided
    // again over all of them; an empty list would mean "cannot tell".
    environment.installedPlatforms = InstalledPlatforms(env, PlatformsTried(environment));
    if (!environment.installedPlatforms.isEmpty() &&
        DisplayProblem(environment, CanOpenX11, canOpenWayland).isEmpty())
        return {};
    environment.installedPlatforms = InstalledPlatforms(env, {});
    return DisplayProblem(environment, CanOpenX11, canOpenWayland);
}
