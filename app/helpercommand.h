#pragma once
// zd7240-helper's run: reads the command line (helperoptions.h), then opens the window,
// runs its frame self-test, or writes the pictures and the description asked for.

#include <QStringList>

class QTextStream;

// Runs the program with `arguments` (the first is the program name) inside an existing
// QApplication: options, then the window. With a --grab option or --describe it writes its output
// and returns without showing anything; otherwise it shows the window and runs the event
// loop. Messages go to `out` and `err`; the result is the exit status. Several pictures
// can be asked for in one run. `noDisplay` says that the program found no display to show
// the window on and runs on the offscreen platform: it then does everything that needs
// no window and ends with status 69 and a hint where the window would be shown.
int RunHelper(const QStringList& arguments, QTextStream& out, QTextStream& err,
              bool noDisplay = false);
