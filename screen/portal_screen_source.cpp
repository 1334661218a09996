#include "screen/portal_screen_source.h"

#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

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

PortalScreenSource::PortalScreenSource(const QDBusConnection &bus, int timeoutMs) : Bus(bus)
{
    Timer.setSingleShot(true);
    Timer.setInterval(timeoutMs);
    connect(&Timer, &QTimer::timeout, this, [this] { finish(SourceReadiness::TimedOut); });
}

PortalScreenSource::~PortalScreenSource()
{
    listen(false);
}

void PortalScreenSource::prepare(QObject *context, std::function<void(SourceReadiness)> done)
{
    Context = context;
    Done = std::move(done);
    if (Timer.isActive())
        return;
    listen(false);
    if (!Bus.isConnected())
        return finish(SourceReadiness::NoPortal);
    // The portal answers on a path made from our name and a token; listening
    // there before asking cannot miss an answer that comes at once.
    const QString token = QStringLiteral("tintgrabber%1").arg(++Requests);
    Request = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                  .arg(Bus.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_')), token);
    listen(true);
    const QDateTime now = QDateTime::currentDateTime();
    Asked = now.addMSecs(-now.time().msec());
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
            [this, token](QDBusPendingCallWatcher *watcher) {
                watcher->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
                if (!Request.endsWith(QLatin1Char('/') + token))
                    return;
                if (reply.isError()) {
                    listen(false);
                    Request.clear();
                    finish(SourceReadiness::NoPortal);
                } else if (reply.value().path() != Request) {
                    // Portals before the path was made predictable answer
                    // where they say.
                    listen(false);
                    Request = reply.value().path();
                    listen(true);
                }
            });
}

void PortalScreenSource::response(uint code, const QVariantMap &results)
{
    listen(false);
    Request.clear();
    const QUrl uri(results.value(QStringLiteral("uri")).toString());
    const QImage picture =
        code == 0 && uri.isLocalFile() ? takePicture(uri.toLocalFile(), Asked) : QImage();
    if (!Timer.isActive())
        return; // answered after the drag gave up on it
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

void PortalScreenSource::listen(bool on)
{
    if (Request.isEmpty())
        return;
    if (on)
        Bus.connect(PORTAL_SERVICE, Request, REQUEST_INTERFACE, QStringLiteral("Response"), this,
                    SLOT(response(uint, QVariantMap)));
    else
        Bus.disconnect(PORTAL_SERVICE, Request, REQUEST_INTERFACE, QStringLiteral("Response"), this,
                       SLOT(response(uint, QVariantMap)));
}

void PortalScreenSource::finish(SourceReadiness readiness)
{
    Timer.stop();
    // The callback may start the next request.
    const std::function<void(SourceReadiness)> done = std::exchange(Done, {});
    if (Context && done)
        done(readiness);
}
