#pragma once
// How the skin refuses a design choice that would break a window (a second client
// section, a second control box, the frame as its own panel): an error message box with
// an OK button, and nothing changes. Programs without a user at the screen (tests,
// tools) route the messages elsewhere.

#include <QString>
#include <functional>

class QWidget;

using RefusalHandler = std::function<void(const QString& text)>;

// Shows the refusal: through the installed handler when there is one, else as a modal
// error message box over `parent`.
void ReportRefusal(QWidget* parent, const QString& text);

// Installs a handler (an empty one restores the message box) and returns the previous.
RefusalHandler SetRefusalHandler(RefusalHandler handler);
