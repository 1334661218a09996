// gnome_keys KEYSYM...
// Types the keys (X keysyms, as 0xff0d for Return) on a GNOME desktop through
// mutter's remote-desktop service on the session bus, as a person at the
// keyboard would: into the shell's own dialogs too, which no X11 tool reaches.
// The service ends the session when its creator leaves the bus, so one
// program does it all on one connection.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QThread>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString service = QStringLiteral("org.gnome.Mutter.RemoteDesktop");
    QDBusConnection bus = QDBusConnection::sessionBus();
    const auto call = [&](const QString &path, const QString &interface, const QString &method,
                          const QVariantList &args = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(args);
        const QDBusMessage reply = bus.call(message);
        if (reply.type() == QDBusMessage::ErrorMessage)
            qFatal("%s: %s", qPrintable(method), qPrintable(reply.errorMessage()));
        return reply.arguments().value(0);
    };
    const QString session = call(QStringLiteral("/org/gnome/Mutter/RemoteDesktop"), service,
                                 QStringLiteral("CreateSession"))
                                .value<QDBusObjectPath>()
                                .path();
    const QString interface = service + QStringLiteral(".Session");
    call(session, interface, QStringLiteral("Start"));
    for (const QString &key : app.arguments().mid(1)) {
        for (const bool pressed : {true, false})
            call(session, interface, QStringLiteral("NotifyKeyboardKeysym"),
                 {key.toUInt(nullptr, 0), pressed});
        QThread::msleep(100); // a hand's pause: the dialog moves its focus
    }
    call(session, interface, QStringLiteral("Stop"));
}
