#include "about/about_window.h"

#include "about/link_label.h"
#include "platform/hand_cursor.h"
#include "resources/dialog_template.h"
#include "resources/pictures.h"
#include "resources/resource_ids.h"
#include "sampling/colorref.h"

#include <QCursor>

#include <algorithm>

namespace
{

constexpr COLORREF LINK_COLOR = 0x00FF0000; // pure blue
// The group boxes' distance from the window's right edge, in dialog units.
constexpr int RIGHT_MARGIN = 7;

DialogControls BuildControls(QDialog &window)
{
    const auto makeLink = [](QWidget *parent) -> QWidget * { return new LinkLabel(parent); };
    return DialogBuilder(AboutWindowTemplate())
        .makeControlWith(IDC_MAILLINK, makeLink)
        .makeControlWith(IDC_WEBLINK, makeLink)
        .build(window);
}

// The desktop's own hand where it has one, so links look as they do in every
// other program; the program's picture elsewhere.
QCursor LinkCursor()
{
    return SystemHasHandCursor() ? QCursor(Qt::PointingHandCursor) : LinkHandCursor();
}

// The links keep the desktop's interface font, which is often larger than the
// window's own. An address is one line, never broken at its slashes, and each
// link gets the room it needs, up to the window's right margin, so that no
// link shows cut off.
void MakeRoomForAddress(QLabel &link, int rightLimit)
{
    link.setWordWrap(false);
    const QSize needed = link.sizeHint();
    QRect area = link.geometry();
    area.setWidth(std::max(area.width(), std::min(needed.width(), rightLimit - area.left())));
    area.setHeight(std::max(area.height(), needed.height()));
    link.setGeometry(area);
}

} // namespace

AboutWindow::AboutWindow(QWidget *parent)
    : QDialog(parent), Controls(BuildControls(*this)),
      MailLink(Controls.control<LinkLabel>(IDC_MAILLINK)),
      WebLink(Controls.control<LinkLabel>(IDC_WEBLINK))
{
    const QCursor cursor = LinkCursor();
    MailLink->SetLinkEnabled(true).SetColor(LINK_COLOR).SetUnderline(true).SetLinkCursor(cursor);
    WebLink->SetLinkEnabled(true).SetColor(LINK_COLOR).SetUnderline(true).SetLinkCursor(cursor);

    const int rightLimit = width() - MulDivRound(RIGHT_MARGIN, DialogBaseUnitsOf(font()).x, 4);
    MakeRoomForAddress(*MailLink, rightLimit);
    MakeRoomForAddress(*WebLink, rightLimit);
}
