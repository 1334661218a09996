#include "sampling/sampling_session.h"

SamplingSession::SamplingSession(ScreenSource &screen, QRgb buttonFace, Hooks hooks)
    : Screen(screen), Sampler(screen, buttonFace), Callbacks(std::move(hooks))
{
}

bool SamplingSession::holdsPointer() const
{
    return CurrentState != State::Off && (CurrentState != State::Waiting || Next != State::Off);
}

void SamplingSession::press(QPointF pointer, bool inArea)
{
    if (gesture() == State::Click) {
        // The click that ends sampling keeps the colour under it, wherever
        // it lands (once the source is ready, if it is not yet).
        LastPointer = pointer;
        if (CurrentState == State::Click)
            sampleAt(Screen.sourcePixel(Callbacks.desktopPixel(pointer)));
        end();
        return;
    }
    if (!inArea)
        return;
    LastPointer = pointer;
    if (gesture() == State::Off)
        start();
}

void SamplingSession::start()
{
    Before = Sampler.shown();
    TextsBefore = Texts;
    LastPixel.reset();
    CurrentState = State::Waiting;
    Next = State::Drag;
    const quint64 request = ++Request;
    Preparing = true;
    Screen.prepare(&AnswerContext, [this, request](SourceReadiness readiness) {
        sourceAnswered(request, readiness);
    });
    Preparing = false;
    Callbacks.changed();
}

// A live source is ready at once, and the first sample comes with the first
// move; a desktop's screenshot may take a while, and then the pointer's place
// is sampled at once, also where sampling ended meanwhile.
void SamplingSession::sourceAnswered(quint64 request, SourceReadiness readiness)
{
    if (request != Request || CurrentState != State::Waiting)
        return;
    CurrentState = Next;
    if (readiness != SourceReadiness::Ready) {
        CurrentState = State::Off;
        Problem = readiness;
    } else if (!Preparing) {
        sampleAt(Screen.sourcePixel(Callbacks.desktopPixel(LastPointer)));
    }
    if (!Preparing)
        Callbacks.changed();
}

void SamplingSession::move(QPointF pointer)
{
    if (!holdsPointer())
        return;
    LastPointer = pointer;
    if (CurrentState != State::Waiting)
        sampleAt(Screen.sourcePixel(Callbacks.desktopPixel(pointer)));
}

void SamplingSession::release(bool clickInArea)
{
    State &gesture = CurrentState == State::Waiting ? Next : CurrentState;
    if (gesture != State::Drag)
        return;
    if (clickInArea) {
        gesture = State::Click;
        Callbacks.changed();
    } else {
        end();
    }
}

void SamplingSession::keep()
{
    end();
}

void SamplingSession::undo()
{
    if (CurrentState == State::Off)
        return;
    // The answer still out would sample once more; nobody waits for it now.
    ++Request;
    CurrentState = State::Off;
    Sampler.restore(Before);
    Texts = TextsBefore;
    ++ShownCount;
    Callbacks.changed();
}

void SamplingSession::end()
{
    if (CurrentState == State::Waiting)
        Next = State::Off;
    else
        CurrentState = State::Off;
    Callbacks.changed();
}

// By whole pixels of the source, from the one last sampled: physical pixels
// on a live screen, so that a scaled one reaches pixels no logical pointer
// position lands on. A picture's pointer may lie on windows the X server
// cannot warp it over, so there only the sample point moves.
bool SamplingSession::nudge(QPoint step)
{
    if (CurrentState == State::Waiting)
        return true;
    std::optional<QPoint> from = LastPixel;
    if (!from)
        if (const std::optional<QPoint> pointer = Callbacks.pointer())
            from = Screen.sourcePixel(*pointer);
    if (!from || !(Screen.isPicture() || Callbacks.warpPointer(*from + step)))
        return false;
    sampleAt(*from + step);
    return true;
}

void SamplingSession::sampleAt(QPoint sourcePixel)
{
    LastPixel = sourcePixel;
    Texts = FormatColorTexts(Sampler.sample(sourcePixel, Callbacks.captureRadius()));
    ++ShownCount;
    Callbacks.changed();
}
