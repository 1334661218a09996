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
QImage TakePicture(const QString &file, const QDateTime &asked)
{
    QImage picture(file);
    const QFileInfo info(file);
    if (info.isFile() && !info.isSymLink() && info.lastModified() >= asked)
        QFile::remove(file);
    return picture;
}

} // namespace

PortalScreenSource::PortalScreenSource(const QDBusConnection &bus, int timeoutMs) : bus_(bus)
{
    timer_.setSingleShot(true);
    timer_.setInterval(timeoutMs);
    connect(&timer_, &QTimer::timeout, this, [this] { finish(SourceReadiness::TimedOut); });
}

PortalScreenSource::~PortalScreenSource()
{
    listen(false);
}

void PortalScreenSource::prepare(QObject *context, std::function<void(SourceReadiness)> done)
{
    context_ = context;
    done_ = std::move(done);
    if (timer_.isActive())
        return;
    listen(false);
    if (!bus_.isConnected())
        return finish(SourceReadiness::NoPortal);
    // The portal answers on a path made from our name and a token; listening
    // there before asking cannot miss an answer that comes at once.
    const QString token = QStringLiteral("tintgrabber%1").arg(++requests_);
    request_ =
        QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
            .arg(bus_.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_')), token);
    listen(true);
    const QDateTime now = QDateTime::currentDateTime();
    asked_ = now.addMSecs(-now.time().msec());
    QDBusMessage call = QDBusMessage::createMethodCall(
        PORTAL_SERVICE, QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("Screenshot"));
    call << QString()
         << QVariantMap{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("interactive"), false},
                        {QStringLiteral("modal"), false}};
    timer_.start();
    auto *watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, timer_.interval()), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, token](QDBusPendingCallWatcher *watcher) {
                watcher->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
                if (!request_.endsWith(QLatin1Char('/') + token))
                    return;
                if (reply.isError()) {
                    listen(false);
                    request_.clear();
                    finish(SourceReadiness::NoPortal);
                } else if (reply.value().path() != request_) {
                    // Portals before the path was made predictable answer
                    // where they say.
                    listen(false);
                    request_ = reply.value().path();
                    listen(true);
                }
            });
}

void PortalScreenSource::response(uint code, const QVariantMap &results)
{
    listen(false);
    request_.clear();
    const QUrl uri(results.value(QStringLiteral("uri")).toString());
    const QImage picture =
        code == 0 && uri.isLocalFile() ? TakePicture(uri.toLocalFile(), asked_) : QImage();
    if (!timer_.isActive())
        return; // answered after the drag gave up on it
    if (code == 1)
        finish(SourceReadiness::Cancelled);
    else if (code != 0)
        finish(SourceReadiness::Refused);
    else if (picture.isNull())
        finish(SourceReadiness::Unreadable);
    else if (!setPicture(picture, screens_.infos()))
        finish(SourceReadiness::ScaleMismatch);
    else
        finish(SourceReadiness::Ready);
}

void PortalScreenSource::listen(bool on)
{
    if (request_.isEmpty())
        return;
    if (on)
        bus_.connect(PORTAL_SERVICE, request_, REQUEST_INTERFACE, QStringLiteral("Response"), this,
                     SLOT(response(uint, QVariantMap)));
    else
        bus_.disconnect(PORTAL_SERVICE, request_, REQUEST_INTERFACE, QStringLiteral("Response"),
                        this, SLOT(response(uint, QVariantMap)));
}

void PortalScreenSource::finish(SourceReadiness readiness)
{
    timer_.stop();
    // The callback may start the next request.
    const std::function<void(SourceReadiness)> done = std::exchange(done_, {});
    if (context_ && done)
        done(readiness);
}
