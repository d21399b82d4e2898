// zd7240-helper: the window that writes configuration scripts for the Zd7240. It keeps
// no settings; its options choose the look and write a picture or description of the
// window (see --help).

#include <QApplication>
#include <QTextStream>
#include <cstdio>

#include "applicationstyle.h"
#include "helpercommand.h"

int main(int argc, char* argv[]) {
    // Output without a window needs no display: draw offscreen unless told otherwise.
    if (RunsWithoutWindow(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zd7240-helper"));
    // No display name: under X11 Qt would append it to every window title, and the task
    // bar is to show the window's caption exactly.
    InstallApplicationLook();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunHelper(QApplication::arguments(), out, err);
}
