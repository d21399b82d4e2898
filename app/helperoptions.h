#pragma once
// The command line of zd7240-helper: its options, their usage text, and the names of the
// looks an operator can give. Without options the program opens the window; the options
// choose its look, and --grab, --grab-dialog, --grab-menu and --describe lay the window
// out without showing it, write pictures of it, of its message window or of it with its
// menu open, or a description of every widget, and end.

#include <QString>
#include <QStringList>
#include <optional>

#include "catalogue/tsuiuistyle.h"
#include "exitstatus.h"

class QTextStream;

// The exit statuses every program shares: 64 an unknown option or look, a page out of
// range, an option given twice or two pictures into one file, 65 a --theme file that is
// not a theme, 66 one that does not exist, 70 a --selftest-frame step that did not
// happen, 73 a picture that cannot be created, 74 one that could not be written.
namespace helper_exit = zd7240::exit_status;

inline constexpr const char* kHelperProgram = "zd7240-helper";

struct HelperOptions {
    TsuiUIStyle look = TsuiUIStyle::MacOS;
    QString themeFile;      // when set, the look comes from this theme file
    bool lookGiven = false; // --look or --theme: the look for this start only (else the
                            // window opens in the look saved from its "Look" menu)
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

// What the command line asks for.
struct HelperCommandLine {
    HelperOptions options;
    bool help = false;
    bool version = false;
};

// Reads `arguments` (the first is the program name); on a usage error writes the message
// to `err` and returns the status.
std::optional<int> ParseHelperOptions(const QStringList& arguments, HelperCommandLine& parsed,
                                      QTextStream& err);

// The --help text.
void PrintHelperUsage(QTextStream& out);

// Whether the arguments ask for output without a window (--grab, --grab-dialog,
// --grab-menu, --describe, --help, --version), so that the program can run without a
// display. Looks at argv before the QApplication exists.
bool RunsWithoutWindow(int argc, char** argv);

// The look named by `name`, in any case (MacOS, WinXP, DeepBlue, Protein, BlueGlass).
std::optional<TsuiUIStyle> LookByName(const QString& name);
// The name of `style` as --look takes it.
QString LookName(TsuiUIStyle style);

// Text from outside (a name, an option) as a message shows it: control characters
// escaped, so that they cannot act on the terminal.
QString Shown(const QString& text);
