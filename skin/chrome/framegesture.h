#pragma once
// What a skinned window does with the left mouse button on its own chrome, as one state
// machine of plain values: the frame's controller feeds it each press, double click,
// motion and release together with what the ordered hit test found under the pointer,
// and carries out the action it answers.
//
//   Idle ──press on the band──────────► PreparingToResize ──motion──► Resizing
//   Idle ──press on the caption───────► PreparingToMove ────motion──► Moving
//   Idle ──press on a title button────► WaitingForRelease (the title bar has the button)
//   Preparing.../Moving/Resizing ──hand-over taken──► HandedOver
//   any  ──release─────────────────────► Idle
//   any  ──the window hidden───────────► Idle
//
// The window system is asked to move or resize the window as early as it can be done
// safely, so that it counts the drag from the press and the pointer keeps its grip:
//
// - at the press, when the display server says that the button is still down as the
//   press is read. A press read late on a loaded machine may belong to a click whose
//   release has already happened; handing that over would start a move with the button
//   up, the window manager would hold the pointer until the next click, and the second
//   click of a double click would never reach the window. Such a press (the server says
//   the button is up) arms the drag like a press on a platform that cannot be asked;
// - otherwise at the first motion after the press, the window system still being told
//   the press position where it takes one.
//
// The controller answers the hand-over with the HandOver input: taken, the widgets are
// told the button is up (the window system has the pointer) and the machine waits in
// HandedOver; refused, it stays armed and the first motion goes on by hand, counted from
// the press. A release the window system delivers in HandedOver is one the window
// manager never saw (the button came up before it took the pointer): the hand-over is
// called off so that the next click is the window's again.
//
// A click without motion moves nothing. The second press of a double click on the
// caption arms nothing: the double click that follows maximizes or restores, on the
// control box it closes. A maximized window is not moved by its caption (the hit test
// finds no band on it either).

#include "chrome/chromegeometry.h"

namespace chrome {

enum class FrameState {
    Idle,
    WaitingForRelease, // pressed where the controller has nothing to do until the release
    PreparingToMove,   // pressed on the caption, no motion yet
    PreparingToResize, // pressed on the band, no motion yet
    Moving,            // the window follows the pointer by hand
    Resizing,          // the window's edges follow the pointer by hand
    HandedOver,        // the window system moves or resizes the window until the release
};

enum class FrameInput {
    Press,
    DoubleClick,
    Motion,
    Release,
    HandOver, // the controller's answer to StartDrag: `taken` says whether it was
    Hide,     // the window was hidden: whatever gesture was under way ends
};

// What the display server says of the left button as a press is read.
enum class ButtonNow {
    Unknown, // not asked, or no answer (no such question on this platform)
    Held,    // still down: the drag can go to the window system at once
    Up,      // already released: a click read late
};

struct FrameEvent {
    FrameInput input;
    ChromeArea area = ChromeArea::Client;     // under the pointer, for presses and double clicks
    bool movable = true;                      // the caption may move the window now (not maximized)
    bool startsDoubleClick = false;           // a press that the double click event follows
    ButtonNow buttonNow = ButtonNow::Unknown; // presses on the caption or the band
    bool moved = false;                       // a motion that left the press position
    bool buttonHeld = true;                   // the left button still down during a motion (else a
                                              // release the window never received)
    bool fromWindowSystem = true;             // a release the window system delivered (not one the
                                              // controller posted after a hand-over)
    bool taken = false;                       // HandOver: the window system took the drag
};

enum class FrameAction {
    PassOn,          // the event goes on to the widget under the pointer
    Swallow,         // the controller took the event; nothing else to do
    StartDrag,       // hand the move or resize to the window system, counted from the
                     // press, and answer with HandOver
    LetGo,           // the window system has the pointer: tell the widgets the button is up
    FollowPointer,   // by hand: place the window for the pointer's distance from the press
    CancelDrag,      // call off the hand-over; the window manager never saw the button down
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
