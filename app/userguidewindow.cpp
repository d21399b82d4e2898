#include "userguidewindow.h"

#include <QEvent>
#include <QFile>
#include <QTextBrowser>

#include "appfonts.h"
#include "chrome/tsuiform.h"
#include "chrome/tsuititlebar.h"
#include "windowdescription.h"

namespace wd = window_description;

namespace {
// Room between the frame's edges (below the title bar) and the text.
constexpr int kMargin = 6;
} // namespace

UserGuideWindow::UserGuideWindow(TsuiUIStyle style, TsuiFileTheme* theme, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("userGuide"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFont(DescriptionFont(wd::kFontName, wd::kFontPoints));
    resize(640, 600);

    frame_ = new TsuiForm(this);
    frame_->setObjectName(QStringLiteral("userGuideForm"));
    frame_->setCaption(wd::kProgramName + QStringLiteral(" - User guide"));
    frame_->setTitleBarFont(DescriptionFont(wd::kCaptionFontName, wd::kFontPoints, true));
    frame_->setLook(style, theme);

    browser_ = new QTextBrowser(frame_);
    browser_->setObjectName(QStringLiteral("userGuideText"));
    browser_->setOpenExternalLinks(true);
    browser_->setMarkdown(GuideText());

    frame_->installEventFilter(this);
    frame_->TitleBar()->installEventFilter(this);
    placeBrowser();
}

QString UserGuideWindow::GuideText() {
    QFile file(kResource);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

bool UserGuideWindow::eventFilter(QObject* watched, QEvent* event) {
    // The text fills the frame below its title bar, whatever size the frame and a look's
    // title bar take.
    if (event->type() == QEvent::Resize)
        placeBrowser();
    return QWidget::eventFilter(watched, event);
}

void UserGuideWindow::placeBrowser() {
    const int top = frame_->TitleBarVisible() ? frame_->TitleBar()->height() : 0;
    browser_->setGeometry(frame_->rect().adjusted(kMargin, top + kMargin, -kMargin, -kMargin));
}
