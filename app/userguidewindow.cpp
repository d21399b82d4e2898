#include "userguidewindow.h"

#include <QEvent>
#include <QFile>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextTable>

#include "appfonts.h"
#include "chrome/tsuiform.h"
#include "chrome/tsuititlebar.h"
#include "windowdescription.h"

namespace wd = window_description;

namespace {
// Room between the frame's edges (below the title bar) and the text.
constexpr int kMargin = 6;

// Qt sizes Markdown headings relative to a point size, and the window's font is sized in
// pixels and drawn from bitmap strikes: the headings would read as body text, and the
// paragraphs run into each other. Headings are set here bold, larger by level, with room
// above them; paragraphs and list items get room below.
void SetOutHeadings(QTextDocument& document, const QFont& body) {
    static constexpr int kLarger[] = {0, 8, 5, 3, 2, 1, 0};
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (QTextCursor(block).currentTable())
            continue;
        QTextBlockFormat layout = block.blockFormat();
        const int level = qBound(0, layout.headingLevel(), 6);
        if (level > 0) {
            // DejaVu Sans Bold (the package depends on it): the program's bold face is made
            // for its 11-pixel captions, and fonts-wine's Tahoma Bold reads as regular at
            // heading sizes.
            QFont bold(QStringLiteral("DejaVu Sans"));
            bold.setPixelSize(body.pixelSize() + kLarger[level]);
            bold.setBold(true);
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                QTextCharFormat format = fragment.charFormat();
                format.clearProperty(QTextFormat::FontSizeAdjustment);
                format.clearProperty(QTextFormat::FontPointSize);
                format.setFontFamilies({bold.family()});
                format.setProperty(QTextFormat::FontPixelSize, bold.pixelSize());
                format.setFontWeight(bold.weight());
                format.setFontStretch(bold.stretch());
                format.setFontStyleStrategy(bold.styleStrategy());
                QTextCursor part(&document);
                part.setPosition(fragment.position());
                part.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
                part.setCharFormat(format);
            }
            layout.setTopMargin(level <= 2 ? 12 : 8);
            layout.setBottomMargin(4);
        } else {
            // Items of a list keep close together; the last one is followed by room.
            const bool listGoesOn = block.textList() && block.next().isValid() &&
                                    block.next().textList() == block.textList();
            layout.setBottomMargin(listGoesOn ? 2 : 6);
        }
        QTextCursor(block).setBlockFormat(layout);
    }
}
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
    SetOutHeadings(*browser_->document(), font());

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
