#include "window/notices.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace
{

// The notices are translated in the context of that name.
struct Notices {
    Q_DECLARE_TR_FUNCTIONS(Notices)
};

} // namespace

void showNotice(QWidget *parent, const QString &text, const NoticeButton &button)
{
    auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Tintgrabber"), text,
                                QMessageBox::Ok, parent);
    if (!button.caption.isEmpty())
        QObject::connect(box->addButton(button.caption, QMessageBox::AcceptRole),
                         &QPushButton::clicked, button.clicked);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

QString unreadableScreenNotice(ScreenAccess access)
{
    if (access == ScreenAccess::NoGrab)
        return Notices::tr(
            "Tintgrabber cannot read the screen on this desktop, so it cannot show the colour "
            "under the pointer.\n\nIt reads the screen on X11 desktops. In a Wayland session, "
            "choose an X11 (Xorg) session when you log in.");
    return Notices::tr(
        "Tintgrabber runs through XWayland here, which lets it read only the windows of other "
        "X11 programs. Everywhere else on the screen it would read black, not the colour you "
        "see.\n\nTo read the whole screen, choose an X11 (Xorg) session when you log in.");
}

QString sourceProblemNotice(SourceReadiness readiness)
{
    switch (readiness) {
    case SourceReadiness::Refused:
        return Notices::tr(
            "The desktop refused Tintgrabber a screenshot, so it cannot show the colour under "
            "the pointer.\n\nThe desktop keeps one answer to \"Allow Applications to Take "
            "Screenshots?\" for all programs that run outside a sandbox, and no settings page "
            "holds it. To be asked again at your next press, choose Ask Again.");
    case SourceReadiness::Cancelled:
        return Notices::tr(
                   "The desktop cancelled the screenshot without asking you, so Tintgrabber "
                   "cannot show the colour under the pointer.\n\nOn KDE Plasma this happens "
                   "when your Pictures folder (the one \"xdg-user-dir PICTURES\" names, "
                   "here %1) does not exist: the desktop saves each screenshot there first. "
                   "Create the folder, then press again.")
            .arg(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
    case SourceReadiness::NoPortal:
        return unreadableScreenNotice(ScreenAccess::OnlyX11Windows);
    case SourceReadiness::TimedOut:
        return Notices::tr(
                   "The desktop did not hand over a screenshot within %1 seconds, so Tintgrabber "
                   "cannot show the colour under the pointer. Press again to try once more.")
            .arg(PORTAL_PATIENCE_MS / 1000);
    case SourceReadiness::Unreadable:
        return Notices::tr(
            "The desktop's screenshot could not be read, so Tintgrabber cannot show the colour "
            "under the pointer. Press again to try once more.");
    case SourceReadiness::ScaleMismatch:
        return Notices::tr(
            "The desktop's screenshot is scaled differently across than down, so Tintgrabber "
            "cannot tell which of its pixels lies under the pointer. This happens where the "
            "desktop arranges its screens other than X11 programs see them.");
    case SourceReadiness::Ready:
        break;
    }
    return {};
}

NoticeButton sourceProblemButton(SourceReadiness readiness, ScreenSource &source)
{
    if (readiness != SourceReadiness::Refused)
        return {};
    return {Notices::tr("&Ask Again"), [&source] { source.forgetAnswer(); }};
}

QString settingsNotStoredNotice(const QString &location, const QString &reason)
{
    return Notices::tr("Tintgrabber cannot store your settings in\n%1\nbecause %2.\n\n"
                       "The file is left as it is. Until it can be stored, the zoom and "
                       "always on top you choose last until Tintgrabber closes.")
        .arg(location, reason);
}

QString linkNotOpenedNotice(const QString &link)
{
    return Notices::tr("No program on this desktop opened the link\n\n%1\n\nYou can select it "
                       "here, copy it and open it yourself.")
        .arg(link);
}

WaitingNote::WaitingNote(QWidget *window)
    : Label(new QLabel(Notices::tr("Asking the desktop for a screenshot. It may be asking you "
                                   "whether to allow that."),
                       window))
{
    Label->hide();
    Label->setWordWrap(true);
    Label->setAlignment(Qt::AlignCenter);
    Label->setFrameShape(QFrame::Box);
    Label->setAutoFillBackground(true);
    Delay.setSingleShot(true);
    Delay.setInterval(1000);
    QObject::connect(&Delay, &QTimer::timeout, Label, [label = Label] {
        label->show();
        label->raise();
    });
}

void WaitingNote::place(const QRect &over)
{
    Label->setGeometry(over);
}

void WaitingNote::setWaiting(bool waiting)
{
    if (!waiting) {
        Delay.stop();
        Label->hide();
    } else if (!Delay.isActive() && Label->isHidden()) {
        Delay.start();
    }
}
