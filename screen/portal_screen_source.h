#pragma once

#include "screen/picture_source.h"
#include "screen/qt_screens.h"

#include <QDBusConnection>
#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QVariantMap>

// A picture source whose picture the desktop's screenshot portal takes at
// each drag's start, without asking the user where the desktop allows that.
// The request runs alongside the event loop; the window stays responsive.
class PortalScreenSource final : public QObject, public PictureSource
{
    Q_OBJECT

public:
    explicit PortalScreenSource(const QDBusConnection &bus, int timeoutMs = 5000);
    ~PortalScreenSource() override;

    // A press while a request is still out waits for that same answer.
    void prepare(QObject *context, std::function<void(SourceReadiness)> done) override;

private Q_SLOTS:
    void response(uint code, const QVariantMap &results);

private:
    void listen(bool on);
    void finish(SourceReadiness readiness);

    QDBusConnection Bus;
    QTimer Timer;
    // The request whose answer is awaited, awaited on after a timeout too,
    // so that its picture's file does not stay behind.
    QString Request;
    // When it was made, to the second below, as file times may be.
    QDateTime Asked;
    int Requests = 0;
    QPointer<QObject> Context;
    std::function<void(SourceReadiness)> Done;
    ScreenList Screens;
};
