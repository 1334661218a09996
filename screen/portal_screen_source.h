#pragma once

#include "screen/picture_source.h"
#include "screen/qt_screens.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QVariantMap>

#include <vector>

// A picture source whose picture the desktop's screenshot portal takes at
// each drag's start, without asking the user where the desktop allows that.
// The request runs alongside the event loop; the window stays responsive.
class PortalScreenSource final : public QObject, public PictureSource
{
    Q_OBJECT

public:
    explicit PortalScreenSource(const QDBusConnection &bus, int patienceMs = PORTAL_PATIENCE_MS);
    ~PortalScreenSource() override;

    // A press while a request is still out waits for that same answer.
    void prepare(QObject *context, std::function<void(SourceReadiness)> done) override;
    void forgetAnswer() override;

private Q_SLOTS:
    void response(uint code, const QVariantMap &results, const QDBusMessage &message);

private:
    struct Request {
        QString path;
        // When it was made, to the second below, as file times may be.
        QDateTime asked;
    };
    void ask();
    void listen(const QString &path, bool on);
    void finish(SourceReadiness readiness);

    QDBusConnection Bus;
    QTimer Timer;
    // Every request not yet answered, also those given up on, so that their
    // pictures' files do not stay behind. Each is answered once, on its own
    // path; any other answer changes nothing.
    std::vector<Request> Out;
    // The path of the request whose answer the press waits for; empty once
    // the press gave up.
    QString Awaited;
    int Requests = 0;
    QPointer<QObject> Context;
    std::function<void(SourceReadiness)> Done;
    ScreenList Screens;
};
