#include "screen/portal_screen_source.h"

#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

namespace
{

const QString PORTAL_SERVICE = QStringLiteral("org.freedesktop.portal.Desktop");
const QString REQUEST_INTERFACE = QStringLiteral("org.freedesktop.portal.Request");

// Reads the picture once, then removes its file where it is surely the one
// taken for this request: a folder of screenshots must not gain one per drag,
// and a file that was there before the request is the user's.
QImage takePicture(const QString &file, const QDateTime &asked)
{
    QImage picture(file);
    const QFileInfo info(file);
    if (info.isFile() && !info.isSymLink() && info.lastModified() >= asked)
        QFile::remove(file);
    return picture;
}

} // namespace

PortalScreenSource::PortalScreenSource(const QDBusConnection &bus, int patienceMs) : Bus(bus)
{
    Timer.setSingleShot(true);
    Timer.setInterval(patienceMs);
    connect(&Timer, &QTimer::timeout, this, [this] {
        Awaited.clear();
        finish(SourceReadiness::TimedOut);
    });
}

PortalScreenSource::~PortalScreenSource()
{
    for (const Request &request : Out)
        listen(request.path, false);
}

void PortalScreenSource::prepare(QObject *context, std::function<void(SourceReadiness)> done)
{
    Context = context;
    Done = std::move(done);
    if (Awaited.isEmpty())
        ask();
}

void PortalScreenSource::ask()
{
    if (!Bus.isConnected())
        return finish(SourceReadiness::NoPortal);
    // The portal answers on a path made from our name and a token; listening
    // there before asking cannot miss an answer that comes at once.
    const QString token = QStringLiteral("tintgrabber%1").arg(++Requests);
    Awaited = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                  .arg(Bus.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_')), token);
    listen(Awaited, true);
    const QDateTime now = QDateTime::currentDateTime();
    Out.push_back({Awaited, now.addMSecs(-now.time().msec())});
    QDBusMessage call = QDBusMessage::createMethodCall(
        PORTAL_SERVICE, QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("Screenshot"));
    call << QString()
         << QVariantMap{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("interactive"), false},
                        {QStringLiteral("modal"), false}};
    Timer.start();
    auto *watcher = new QDBusPendingCallWatcher(Bus.asyncCall(call, Timer.interval()), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, path = Awaited](QDBusPendingCallWatcher *watcher) {
                watcher->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
                const auto request = std::find_if(Out.begin(), Out.end(),
                                                  [&](const Request &r) { return r.path == path; });
                if (request == Out.end() || (!reply.isError() && reply.value().path() == path))
                    return;
                listen(path, false);
                if (reply.isError()) {
                    Out.erase(request);
                    if (Awaited == path) {
                        Awaited.clear();
                        finish(SourceReadiness::NoPortal);
                    }
                    return;
                }
                // Portals before the path was made predictable answer where
                // they say.
                request->path = reply.value().path();
                listen(request->path, true);
                if (Awaited == path)
                    Awaited = request->path;
            });
}

void PortalScreenSource::response(uint code, const QVariantMap &results,
                                  const QDBusMessage &message)
{
    const auto request = std::find_if(Out.begin(), Out.end(),
                                      [&](const Request &r) { return r.path == message.path(); });
    if (request == Out.end())
        return;
    const QDateTime asked = request->asked;
    listen(request->path, false);
    Out.erase(request);
    const QUrl uri(results.value(QStringLiteral("uri")).toString());
    const QImage picture =
        code == 0 && uri.isLocalFile() ? takePicture(uri.toLocalFile(), asked) : QImage();
    if (message.path() != Awaited)
        return; // answered after the press gave up on it
    Awaited.clear();
    if (code == 1)
        finish(SourceReadiness::Cancelled);
    else if (code != 0)
        finish(SourceReadiness::Refused);
    else if (picture.isNull())
        finish(SourceReadiness::Unreadable);
    else if (!setPicture(picture, Screens.infos()))
        finish(SourceReadiness::ScaleMismatch);
    else
        finish(SourceReadiness::Ready);
}

// The desktop keeps one answer for every program outside a sandbox, under
// the empty application id; removing the entry makes its next request ask.
void PortalScreenSource::forgetAnswer()
{
    const QString store = QStringLiteral("org.freedesktop.impl.portal.PermissionStore");
    Bus.send(QDBusMessage::createMethodCall(
                 store, QStringLiteral("/org/freedesktop/impl/portal/PermissionStore"), store,
                 QStringLiteral("Delete"))
             << QStringLiteral("screenshot") << QStringLiteral("screenshot"));
}

void PortalScreenSource::listen(const QString &path, bool on)
{
    if (on)
        Bus.connect(PORTAL_SERVICE, path, REQUEST_INTERFACE, QStringLiteral("Response"), this,
                    SLOT(response(uint, QVariantMap, QDBusMessage)));
    else
        Bus.disconnect(PORTAL_SERVICE, path, REQUEST_INTERFACE, QStringLiteral("Response"), this,
                       SLOT(response(uint, QVariantMap, QDBusMessage)));
}

void PortalScreenSource::finish(SourceReadiness readiness)
{
    Timer.stop();
    // The callback may start the next request.
    const std::function<void(SourceReadiness)> done = std::exchange(Done, {});
    if (Context && done)
        done(readiness);
}
