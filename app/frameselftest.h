#pragma once
// The window's own frame run through what the window system has to carry out, for a
// session without a person at it (a compositor without input, a test desktop): shown,
// maximized and restored with the title bar's maximize button, given a look with another
// border width while maximized, closed with the title bar's close button. Each step waits
// for the window system to answer and is reported as one line.

#include "catalogue/tsuiuistyle.h"

class QTextStream;
class TForm1;
class TsuiFileTheme;

// Runs the steps on `form`, whose look is `look` (from `theme` when that is set), and
// answers 0 once the window closed, or 70 (a step the window system did not carry out in
// time, reported on `err`). The window must not be shown yet.
int RunFrameSelfTest(TForm1& form, TsuiUIStyle look, TsuiFileTheme* theme, QTextStream& out,
                     QTextStream& err);
