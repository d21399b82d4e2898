// zd7240-helper: the window that writes configuration scripts for the Zd7240. It keeps
// no settings; its options choose the look and write a picture or description of the
// window (see --help).

#include <QApplication>
#include <QTextStream>
#include <cstdio>

#include "applicationstyle.h"
#include "helpercommand.h"
#include "processguard.h"

int main(int argc, char* argv[]) {
    zd7240::GuardStandardDescriptors();
    // Output without a window needs no display: draw offscreen unless told otherwise.
    if (RunsWithoutWindow(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zd7240-helper"));
    // No display name: under X11 Qt would append it to every window title, and the task
    // bar is to show the window's caption exactly.
    InstallApplicationLook();
    int status = 0;
    {
        QTextStream out(stdout);
        QTextStream err(stderr);
        status = RunHelper(QApplication::arguments(), out, err);
    }
    // A description or help text that did not arrive is a failure (74), not a success.
    return zd7240::FinishStandardOutput("zd7240-helper", status);
}
