#include "chrome/framegesture.h"

namespace chrome {

namespace {

// A press, or the double click event after the second press of a double click.
FrameStep Pressed(const FrameEvent& event) {
    const bool doubleClick = event.input == FrameInput::DoubleClick;
    switch (event.area) {
    case ChromeArea::Edge:
        return {FrameState::PreparingToResize, FrameAction::Swallow};
    case ChromeArea::Caption:
        if (doubleClick)
            return {FrameState::WaitingForRelease, FrameAction::ToggleMaximized};
        if (!event.movable || event.startsDoubleClick)
            return {FrameState::WaitingForRelease, FrameAction::Swallow};
        return {FrameState::PreparingToMove, FrameAction::Swallow};
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

} // namespace

FrameStep NextFrameStep(FrameState state, const FrameEvent& event) {
    switch (event.input) {
    case FrameInput::Press:
    case FrameInput::DoubleClick:
        return Pressed(event);
    case FrameInput::Motion:
        switch (state) {
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
