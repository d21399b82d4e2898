#pragma once
// The command line of zd7240-helper. Without options it opens the window; the options
// choose its look, and --grab, --grab-dialog, --grab-menu and --describe lay the window
// out without showing it, write pictures of it, of its message window or of it with its
// menu open, or a description of every widget, and end.

#include <QJsonArray>
#include <QString>
#include <QStringList>
#include <optional>

#include "catalogue/tsuiuistyle.h"
#include "exitstatus.h"

class QTextStream;
class QWidget;

// The exit statuses every program shares: 64 an unknown option or look or a page out of
// range, 65 a --theme file that is not a theme, 66 one that does not exist, 70 a
// --selftest-frame step that did not happen, 73 a picture that cannot be created, 74 one
// that could not be written.
namespace helper_exit = zd7240::exit_status;

struct HelperOptions {
    TsuiUIStyle look = TsuiUIStyle::MacOS;
    QString themeFile; // when set, the look comes from this theme file
    QString grabFile;
    QString grabDialogFile; // the message window as "Make file" shows it for an empty field
    QString grabMenuFile;   // the window with its first menu ("&Help") open
    bool describe = false;
    bool selfTestFrame = false; // run the frame through show, maximize, restore and close
    int page = 0;

    // Whether a picture or the description is asked for (rather than the window).
    bool WritesOutput() const {
        return describe || !grabFile.isEmpty() || !grabDialogFile.isEmpty() ||
               !grabMenuFile.isEmpty();
    }
};

// Whether the arguments ask for output without a window (--grab, --grab-dialog,
// --grab-menu, --describe, --help, --version), so that the program can run without a display. Looks
// at argv before the QApplication exists.
bool RunsWithoutWindow(int argc, char** argv);

// The look named by `name`, in any case (MacOS, WinXP, DeepBlue, Protein, BlueGlass).
std::optional<TsuiUIStyle> LookByName(const QString& name);

// One object per widget of `window` and its descendants (windows of their own, such as
// dialogs and popup lists, left out): class, name, x, y, width, height in the window's
// coordinates, visible, enabled, text (text or caption), and UIStyle for skinned controls.
QJsonArray DescribeWidgets(QWidget* window);

// Runs the program with `arguments` (the first is the program name) inside an existing
// QApplication: options, then the window. With a --grab option or --describe it writes its output
// and returns without showing anything; otherwise it shows the window and runs the event
// loop. Messages go to `out` and `err`; the result is the exit status. Several pictures
// can be asked for in one run. `noDisplay` says that the program found no display to show
// the window on and runs on the offscreen platform: it then does everything that needs
// no window and ends with status 69 and a hint where the window would be shown.
int RunHelper(const QStringList& arguments, QTextStream& out, QTextStream& err,
              bool noDisplay = false);
