#include "mainwindow/unreadable_screen_notice.h"

#include <QMessageBox>

QString UnreadableScreenMessage(ScreenAccess access)
{
    switch (access) {
    case ScreenAccess::Readable:
        break;
    case ScreenAccess::NoGrab:
        return QStringLiteral(
            "Tintgrabber cannot read the screen on this desktop, so it cannot show the colour "
            "under the pointer.\n\nIt reads the screen on X11 desktops. In a Wayland session, "
            "choose an X11 (Xorg) session when you log in.");
    case ScreenAccess::OnlyX11Windows:
        return QStringLiteral(
            "Tintgrabber runs through XWayland here, which lets it read only the windows of "
            "other X11 programs. Everywhere else on the screen it would read black, not the "
            "colour you see.\n\nTo read the whole screen, choose an X11 (Xorg) session when you "
            "log in.");
    }
    return QString();
}

UnreadableScreenNotice::UnreadableScreenNotice(ScreenAccess access) : m_access(access) {}

bool UnreadableScreenNotice::allowSampling(QWidget &parent)
{
    if (m_access == ScreenAccess::Readable)
        return true;
    if (!m_told) {
        m_told = true;
        auto *box = new QMessageBox(QMessageBox::Information, QStringLiteral("Tintgrabber"),
                                    UnreadableScreenMessage(m_access), QMessageBox::Ok, &parent);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return false;
    }
    return m_access == ScreenAccess::OnlyX11Windows;
}
