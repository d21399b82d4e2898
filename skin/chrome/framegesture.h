#pragma once
// What a skinned window does with the left mouse button on its own chrome, as one state
// machine of plain values: the frame's controller feeds it each press, double click,
// motion and release together with what the ordered hit test found under the pointer,
// and carries out the action it answers.
//
//   Idle ──press on the band──────────► PreparingToResize ──motion──► Resizing
//   Idle ──press on the caption───────► PreparingToMove ────motion──► Moving
//   Idle ──press on a title button────► WaitingForRelease (the title bar has the button)
//   any  ──release─────────────────────► Idle
//
// A press on the caption or the band arms a move or a resize and the first motion starts
// it, so that a click or a double click without motion never moves the window and never
// gives the pointer to the window system. The first motion hands the drag to the window
// system; where it refuses, the window follows the pointer by hand, counted from the
// press. The second press of a double click on the caption arms nothing: the double
// click that follows maximizes or restores, on the control box it closes. A maximized
// window is not moved by its caption (the hit test finds no band on it either).
//
// Handing over at the press instead would count a window system's move from the press,
// but a press that the program reads late (a loaded machine) would then start a move
// after the button is already up, and the window manager would take the second click of
// a double click.

#include "chrome/chromegeometry.h"

namespace chrome {

enum class FrameState {
    Idle,
    WaitingForRelease, // pressed where the controller has nothing to do until the release
    PreparingToMove,   // pressed on the caption, no motion yet
    PreparingToResize, // pressed on the band, no motion yet
    Moving,            // the window follows the pointer by hand
    Resizing,          // the window's edges follow the pointer by hand
};

enum class FrameInput { Press, DoubleClick, Motion, Release };

struct FrameEvent {
    FrameInput input;
    ChromeArea area = ChromeArea::Client; // under the pointer, for presses and double clicks
    bool movable = true;                  // the caption may move the window now (not maximized)
    bool startsDoubleClick = false;       // a press that the double click event follows
    bool moved = false;                   // a motion that left the press position
    bool buttonHeld = true;               // the left button still down during a motion (else a
                                          // release the window never received)
};

enum class FrameAction {
    PassOn,          // the event goes on to the widget under the pointer
    Swallow,         // the controller took the event; nothing else to do
    StartDrag,       // the first motion: hand the move or resize to the window system
                     // (then Idle); where it refuses, go on by hand
    FollowPointer,   // by hand: place the window for the pointer's distance from the press
    ToggleMaximized, // and swallow the event
    Close,           // and swallow the event
};

struct FrameStep {
    FrameState state;
    FrameAction action;
};

FrameStep NextFrameStep(FrameState state, const FrameEvent& event);

// The requests a title bar makes of its window through the frame: the buttons and the
// system menu ask, the frame's controller acts.
enum class WindowRequest { ToggleMaximized, Minimize, Close };

} // namespace chrome
