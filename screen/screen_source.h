#pragma once

#include <QImage>
#include <QPoint>

#include <functional>
#include <memory>

class QObject;

// How long a press waits for a desktop's screenshot before it gives up:
// longer than a desktop waits for the user to answer its question whether to
// allow it (GNOME about 25 s), so that the desktop's own answer comes first.
inline constexpr int PORTAL_PATIENCE_MS = 40000;

// How making a source ready for a drag ended.
enum class SourceReadiness {
    Ready,
    // The desktop cancelled: never the user's choice, since the program never
    // asks the desktop to show a dialog (KDE Plasma cancels when its Pictures
    // folder is missing).
    Cancelled,
    // The desktop refused to show its screen, or the user refused it.
    Refused,
    NoPortal,      // no desktop service takes screenshots
    TimedOut,      // no answer in time
    Unreadable,    // the desktop's picture could not be read
    ScaleMismatch, // the picture's width and height scale the screens differently
};

// Reads the pixels of the whole desktop. Points are physical pixels of the
// virtual desktop, so that a sample is one real pixel even where the desktop
// is scaled.
class ScreenSource
{
public:
    virtual ~ScreenSource() = default;

    // Copies the desktop rectangle of target's size at topLeft into target
    // (Format_RGB32), one pixel for one pixel. Pixels that no screen shows
    // keep what target held. Returns whether target's centre pixel,
    // (width / 2, height / 2), was supplied.
    virtual bool copyRect(QPoint topLeft, QImage &target) = 0;

    // The source's own pixel grid: a live source reads desktop pixels, a
    // picture of the desktop its own, which may be finer on scaled screens.
    virtual QPoint sourcePixel(QPoint desktopPixel) const { return desktopPixel; }
    // As copyRect, with topLeft in the source's own pixels.
    virtual bool copySourceRect(QPoint topLeft, QImage &target)
    {
        return copyRect(topLeft, target);
    }
    // A picture taken at the press rather than the screen as it is now.
    virtual bool isPicture() const { return false; }

    // Called at each press that starts a drag. A live source is ready at once;
    // a source that reads a picture taken for the drag asks for it and calls
    // done once the answer is in, unless context has gone by then.
    virtual void prepare(QObject *context, std::function<void(SourceReadiness)> done)
    {
        (void)context;
        done(SourceReadiness::Ready);
    }
    // After a refusal: makes the desktop forget the answer it stored, so that
    // the next request asks the user again. Nothing where nothing is stored.
    virtual void forgetAnswer() {}
};

// The one place that decides how the screen is read: straight from the X
// server through shared memory where the application runs on X11, through
// Qt's screen grabs everywhere else.
std::unique_ptr<ScreenSource> createScreenSource();

// A source over one screenshot that the desktop takes at each drag's start,
// for where no live read shows the whole screen (X11 through XWayland).
// Null where the program cannot ask the desktop (built without D-Bus, or no
// session bus).
std::unique_ptr<ScreenSource> createPictureScreenSource();
