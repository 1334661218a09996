#include "widgets/link_label.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QStyleOptionFocusRect>
#include <QUrl>

LinkLabel::LinkLabel(QWidget *parent) : QLabel(parent)
{
    QPalette own = palette();
    own.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    own.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    setPalette(own);
    setAutoFillBackground(true);
    // The desktop's interface font, not the window's.
    setFont(QApplication::font());
    SetLinkEnabled(false);
}

LinkLabel &LinkLabel::SetLinkEnabled(bool enabled)
{
    setAttribute(Qt::WA_TransparentForMouseEvents, !enabled);
    // Tab passes over controls that take no click focus (unless the desktop
    // says to tab to all), so a link takes the focus from both.
    setFocusPolicy(enabled ? Qt::StrongFocus : Qt::NoFocus);
    // A screen reader says what the label is for, not only its text.
    setAccessibleName(enabled ? tr("Link: %1").arg(text()) : QString());
    return *this;
}

LinkLabel &LinkLabel::SetColor(const QColor &color)
{
    QPalette own = palette();
    own.setColor(QPalette::WindowText, color);
    setPalette(own);
    repaint();
    return *this;
}

LinkLabel &LinkLabel::SetUnderline(bool underline)
{
    QFont underlined = font();
    underlined.setUnderline(underline);
    setFont(underlined);
    repaint();
    return *this;
}

LinkLabel &LinkLabel::SetLinkCursor(const QCursor &cursor)
{
    setCursor(cursor);
    return *this;
}

LinkLabel &LinkLabel::whenNotOpened(std::function<void(const QString &link)> notOpened)
{
    NotOpened = std::move(notOpened);
    return *this;
}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QLabel::mousePressEvent(event);
    open();
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
        return open();
    QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
}

void LinkLabel::open()
{
    // A text without a scheme (www.example.org) opens as a typed address.
    const QString link = text();
    const QUrl url = QUrl::fromUserInput(link);
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // xdg-open tells of a link it finds no program for only by its exit
    // status, after QDesktopServices has already reported success. It runs
    // under a shell: closing the window ends the shell, not the opener and
    // whatever it started.
    auto *opener = new QProcess(this);
    connect(opener, &QProcess::finished, this,
            [this, opener, link](int status, QProcess::ExitStatus how) {
                if (how != QProcess::NormalExit || status != 0)
                    NotOpened(link);
                opener->deleteLater();
            });
    connect(opener, &QProcess::errorOccurred, this, [this, opener, link](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) {
            NotOpened(link);
            opener->deleteLater();
        }
    });
    opener->start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), QStringLiteral("xdg-open \"$1\"; exit"),
                   QStringLiteral("sh"), url.toString(QUrl::FullyEncoded)});
#else
    if (!QDesktopServices::openUrl(url))
        NotOpened(link);
#endif
}
