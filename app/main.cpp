// zd7240-helper: the window that writes configuration scripts for the Zd7240. It keeps
// one setting, the look chosen from its title bar's "Look" menu (looksettings.h); its
// options choose the look for one start and write a picture or description of the
// window (see --help).

#include <QApplication>
#include <QTextStream>
#include <cstdio>

#include "applicationstyle.h"
#include "helpercommand.h"
#include "helperoptions.h"
#include "processguard.h"

namespace {

// Without a window Qt's own notes (a missing runtime folder, a platform plugin's
// limits) are no business of the user's: only its critical messages are shown.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char* argv[]) {
    zd7240::GuardStandardDescriptors();
    // Output without a window needs no display: draw offscreen unless told otherwise.
    // Without any display the options are still read and answered (help, version, bad
    // usage) on the offscreen platform, and the window itself is refused with a hint.
    const bool choosesPlatform = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    const bool noDisplay = choosesPlatform && qEnvironmentVariableIsEmpty("DISPLAY") &&
                           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    const bool withoutWindow = RunsWithoutWindow(argc, argv);
    if (choosesPlatform && (withoutWindow || noDisplay))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if ((withoutWindow || noDisplay) && qEnvironmentVariableIsEmpty("ZD7240_QT_MESSAGES"))
        qInstallMessageHandler(QuietMessages);
    if (withoutWindow) {
        // A picture may wait for a FIFO's reader or a stalled pipe: Ctrl+C ends it there,
        // leaving no temporary file.
        zd7240::ExitOnInterrupt("zd7240-helper");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zd7240-helper"));
    // No display name: under X11 Qt would append it to every window title, and the task
    // bar is to show the window's caption exactly.
    InstallApplicationLook();
    int status = 0;
    {
        QTextStream out(stdout);
        QTextStream err(stderr);
        status = RunHelper(QApplication::arguments(), out, err, noDisplay && !withoutWindow);
    }
    // A description or help text that did not arrive is a failure (74), not a success.
    return zd7240::FinishStandardOutput("zd7240-helper", status);
}
