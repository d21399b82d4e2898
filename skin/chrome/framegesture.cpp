#include "chrome/framegesture.h"

namespace chrome {

namespace {

// A press, or the double click event after the second press of a double click.
FrameStep Pressed(const FrameEvent& event) {
    const bool doubleClick = event.input == FrameInput::DoubleClick;
    // Handed over at the press only while the button is known to be down; otherwise
    // armed, and the first motion hands it over.
    const FrameAction arm = event.buttonNow == ButtonNow::Held && !doubleClick
                                ? FrameAction::StartDrag
                                : FrameAction::Swallow;
    switch (event.area) {
    case ChromeArea::Edge:
        return {FrameState::PreparingToResize, arm};
    case ChromeArea::Caption:
        if (doubleClick)
            return {FrameState::WaitingForRelease, FrameAction::ToggleMaximized};
        if (!event.movable || event.startsDoubleClick)
            return {FrameState::WaitingForRelease, FrameAction::Swallow};
        return {FrameState::PreparingToMove, arm};
    case ChromeArea::ControlBox:
        if (doubleClick)
            return {FrameState::WaitingForRelease, FrameAction::Close};
        return {FrameState::WaitingForRelease, FrameAction::PassOn};
    case ChromeArea::TitleButton:
        return {FrameState::WaitingForRelease, FrameAction::PassOn};
    case ChromeArea::Client:
        break;
    }
    return {FrameState::Idle, FrameAction::PassOn};
}

// The controller's answer to StartDrag.
FrameStep HandOverAnswered(FrameState state, const FrameEvent& event) {
    if (event.taken)
        return {FrameState::HandedOver, FrameAction::LetGo};
    // Refused: a drag already under way goes on by hand; one armed at the press waits
    // for its first motion.
    const bool byHand = state == FrameState::Moving || state == FrameState::Resizing;
    return {state, byHand ? FrameAction::FollowPointer : FrameAction::Swallow};
}

} // namespace

FrameStep NextFrameStep(FrameState state, const FrameEvent& event) {
    switch (event.input) {
    case FrameInput::Press:
    case FrameInput::DoubleClick:
        return Pressed(event);
    case FrameInput::HandOver:
        return HandOverAnswered(state, event);
    case FrameInput::Hide:
        // No release follows for a hidden window; a drag the window system had ends
        // with the window.
        return {FrameState::Idle, FrameAction::PassOn};
    case FrameInput::Motion:
        switch (state) {
        case FrameState::HandedOver:
            // Motion with the button up: the window system has ended the drag.
            if (!event.buttonHeld)
                return {FrameState::Idle, FrameAction::PassOn};
            return {state, FrameAction::Swallow};
        case FrameState::Idle:
        case FrameState::WaitingForRelease:
            return {state, FrameAction::PassOn};
        case FrameState::PreparingToMove:
        case FrameState::PreparingToResize:
            if (!event.buttonHeld)
                return {FrameState::Idle, FrameAction::Swallow};
            if (!event.moved)
                return {state, FrameAction::Swallow};
            return {state == FrameState::PreparingToMove ? FrameState::Moving
                                                         : FrameState::Resizing,
                    FrameAction::StartDrag};
        case FrameState::Moving:
        case FrameState::Resizing:
            if (!event.buttonHeld)
                return {FrameState::Idle, FrameAction::Swallow};
            return {state, FrameAction::FollowPointer};
        }
        break;
    case FrameInput::Release:
        switch (state) {
        case FrameState::HandedOver:
            // The release the controller posted goes on to the widgets; one from the
            // window system came before the window manager took the pointer.
            if (!event.fromWindowSystem)
                return {state, FrameAction::PassOn};
            return {FrameState::Idle, FrameAction::CancelDrag};
        case FrameState::Idle:
        case FrameState::WaitingForRelease:
            return {FrameState::Idle, FrameAction::PassOn};
        case FrameState::PreparingToMove:
        case FrameState::PreparingToResize:
        case FrameState::Moving:
        case FrameState::Resizing:
            return {FrameState::Idle, FrameAction::Swallow};
        }
        break;
    }
    return {FrameState::Idle, FrameAction::PassOn};
}

} // namespace chrome
