#include "frameselftest.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTextStream>
#include <QTimer>
#include <QWindow>
#include <functional>

#include "chrome/tsuiform.h"
#include "chrome/tsuititlebar.h"
#include "chrome/windowfitting.h"
#include "helperoptions.h"
#include "tform1.h"

namespace {

// How long the window system gets for each step; generous, for a loaded machine.
constexpr int kStepTimeoutMs = 10000;

// Runs the event loop until `done` holds or the time is up. Each round also waits for the
// window system to have handled everything sent so far, so that a request it refuses is
// answered (on Wayland with the end of the connection) before the step counts as done.
bool WaitUntil(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(kStepTimeoutMs);
    for (;;) {
        QGuiApplication::sync();
        if (done())
            return true;
        if (deadline.hasExpired())
            return false;
        QEventLoop pause;
        QTimer::singleShot(20, &pause, &QEventLoop::quit);
        pause.exec();
    }
}

QString SizeText(QSize size) {
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

} // namespace

int RunFrameSelfTest(TForm1& form, TsuiUIStyle look, TsuiFileTheme* theme, QTextStream& out,
                     QTextStream& err) {
    auto step = [&out](const QString& text) {
        out << text << "\n";
        out.flush();
    };
    auto failed = [&err](const QString& text) {
        err << "zd7240-helper: frame self-test: " << text << "\n";
        err.flush();
        return helper_exit::kSoftware;
    };

    TsuiTitleBar& bar = *form.suiForm1->TitleBar();
    const int maxButton = bar.Buttons().IndexOfType(TsuiTitleBarBtnType::suiMax);
    const int closeButton = bar.Buttons().IndexOfType(TsuiTitleBarBtnType::suiClose);
    if (maxButton < 0 || closeButton < 0)
        return failed(QStringLiteral("the title bar has no maximize or close button"));
    step(QStringLiteral("platform: %1").arg(QGuiApplication::platformName()));

    form.show();
    if (!WaitUntil([&] { return form.windowHandle() && form.windowHandle()->isExposed(); }))
        return failed(QStringLiteral("the window was not shown"));
    const QSize normal = form.size();
    step(QStringLiteral("shown: %1").arg(SizeText(normal)));

    bar.RunButtonAction(maxButton);
    if (!WaitUntil([&] { return chrome::IsMaximized(&form) && form.size() != normal; }))
        return failed(
            QStringLiteral("the window was not maximized (%1)").arg(SizeText(form.size())));
    const QSize maximized = form.size();
    step(QStringLiteral("maximized: %1").arg(SizeText(maximized)));

    // A look with another border width would resize a normal window around its panel; a
    // maximized one keeps the size the window system gave it.
    const TsuiUIStyle other = look == TsuiUIStyle::WinXP ? TsuiUIStyle::MacOS : TsuiUIStyle::WinXP;
    const int borderBefore = form.suiForm1->BorderWidth();
    form.SetLook(other);
    const int borderOther = form.suiForm1->BorderWidth();
    QGuiApplication::sync();
    form.SetLook(look, theme);
    QGuiApplication::sync();
    if (form.size() != maximized || !chrome::IsMaximized(&form))
        return failed(QStringLiteral("a new look resized the maximized window to %1")
                          .arg(SizeText(form.size())));
    step(QStringLiteral("new look while maximized (border %1 to %2 and back): size kept")
             .arg(borderBefore)
             .arg(borderOther));

    bar.RunButtonAction(maxButton);
    if (!WaitUntil([&] { return !chrome::IsMaximized(&form) && form.size() == normal; }))
        return failed(
            QStringLiteral("the window was not restored (%1)").arg(SizeText(form.size())));
    step(QStringLiteral("restored: %1").arg(SizeText(form.size())));

    bar.RunButtonAction(closeButton);
    if (!WaitUntil([&] { return !form.isVisible(); }))
        return failed(QStringLiteral("the close button did not close the window"));
    step(QStringLiteral("closed"));
    return 0;
}
