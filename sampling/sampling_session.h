#pragma once

#include "sampling/color_formats.h"
#include "sampling/drag_sampler.h"
#include "screen/screen_source.h"

#include <QObject>
#include <QPointF>

#include <functional>
#include <optional>

// One sampling, from the press in an area to the release or click that keeps
// the colour, or the Escape that undoes it: what it shows, what it keeps for
// the undo, and the source's answer when the source needs time to get ready
// (a desktop's screenshot). Pointer positions come in the window's global
// logical coordinates; the window maps them to the desktop's physical pixels.
class SamplingSession
{
public:
    enum class State {
        Off,
        Waiting, // the source is getting ready; what follows is Next
        Drag,    // following the pointer while the button is held
        Click,   // following the pointer, no button held, until the next click
    };

    // What the session needs of the window and the desktop.
    struct Hooks {
        // The desktop's physical pixel under a pointer position.
        std::function<QPoint(QPointF pointer)> desktopPixel;
        // How far around the sampled pixel the magnifier shows the capture.
        std::function<int()> captureRadius;
        // Where the desktop has the pointer, in physical pixels, if it tells.
        std::function<std::optional<QPoint>()> pointer;
        // Puts the pointer on a physical pixel; false where it cannot.
        std::function<bool(QPoint physical)> warpPointer;
        // The state, the colour shown or a problem changed.
        std::function<void()> changed;
    };

    SamplingSession(ScreenSource &screen, QRgb buttonFace, Hooks hooks);

    State state() const { return CurrentState; }
    // Drag or Click as the pointer goes, also while the source gets ready.
    State gesture() const { return CurrentState == State::Waiting ? Next : CurrentState; }
    // Whether the pointer belongs to sampling: from the press until the
    // release or click that ends it, also while the source is getting ready.
    bool holdsPointer() const;
    const DragSampler &sampler() const { return Sampler; }
    // The texts of the colour shown; empty before the first sample.
    const ColorTexts &texts() const { return Texts; }
    // Counts the samples shown, so that a watcher sees a new one.
    quint64 shownCount() const { return ShownCount; }
    ScreenSource &source() const { return Screen; }
    // Why the source could not get ready, once.
    std::optional<SourceReadiness> takeProblem() { return std::exchange(Problem, std::nullopt); }

    // A left press: in an area it starts sampling (or goes on with a drag);
    // while click-sampling, anywhere, it samples there and ends.
    void press(QPointF pointer, bool inArea);
    void move(QPointF pointer);
    // A release where the press went down, without the pointer having left
    // its area, makes the press a click; elsewhere it ends a drag.
    void release(bool clickInArea);
    // Enter: ends, keeping the colour.
    void keep();
    // Escape: ends, showing again what was shown before it began.
    void undo();
    // Steps the sample point by whole pixels of the source. False where the
    // pointer must be moved another way, and the move that follows samples.
    bool nudge(QPoint step);

private:
    void start();
    void end();
    void sourceAnswered(quint64 request, SourceReadiness readiness);
    void sampleAt(QPoint sourcePixel);

    ScreenSource &Screen;
    DragSampler Sampler;
    const Hooks Callbacks;
    State CurrentState = State::Off;
    // While Waiting: Drag or Click as the pointer goes, Off once sampling
    // ended meanwhile, which still samples where it ended.
    State Next = State::Off;
    ColorTexts Texts;
    quint64 ShownCount = 0;
    // What was shown before sampling began, for the undo.
    DragSampler::Shown Before;
    ColorTexts TextsBefore;
    // Where a nudge starts: the source pixel last sampled.
    std::optional<QPoint> LastPixel;
    // The pointer's last place, sampled once the source is ready.
    QPointF LastPointer;
    // The request whose answer counts; an older answer changes nothing.
    quint64 Request = 0;
    // A live source answers inside the press, which takes no sample.
    bool Preparing = false;
    std::optional<SourceReadiness> Problem;
    // Gone with the session, so a late answer finds nobody.
    QObject AnswerContext;
};
