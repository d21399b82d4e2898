#pragma once
// Pictures of the window drawn without reaching the screen, for --grab, --grab-dialog and
// --grab-menu.

#include <QImage>

class QWidget;
class TForm1;

// Shows the widget laid out and polished as on the screen, without reaching it.
void ShowOffScreen(QWidget& widget);

// The message window the window shows when "Make file" is pressed on page `page` with its
// first field empty; the field keeps its text.
QImage GrabWarning(TForm1& form, int page);

// The window with the first item of its menu bar open, the menu drawn over the window;
// the picture grows where the menu reaches past the window.
QImage GrabWithMenuOpen(TForm1& form);
