#pragma once

#include "platform/screen_access.h"

#include <QString>

class QWidget;

// What the user is told, in plain words, when the screen cannot be read as it
// is; empty where it can.
QString UnreadableScreenMessage(ScreenAccess access);

// Tells the user once that the screen cannot be read, instead of letting a
// drag show colours that were never read. The rest of the window works as
// ever: the fields, the copy buttons, the zoom list.
class UnreadableScreenNotice
{
public:
    explicit UnreadableScreenNotice(ScreenAccess access = ScreenAccess::Readable);

    // Asked as a drag starts: whether it may sample. The first time on a
    // screen that cannot be read it opens the message over parent, without
    // waiting for it to be closed, and refuses. After that it refuses without
    // a word where nothing can be read, and lets drags go on through XWayland,
    // where other X11 programs' windows read true.
    bool allowSampling(QWidget &parent);

private:
    ScreenAccess m_access;
    bool m_told = false;
};
