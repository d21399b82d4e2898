#pragma once
// The program's own user guide, shown by "Help documents" when there is no help file to
// hand to the shell: a skinned window in the main window's look with the guide's Markdown
// in a rich-text browser. The guide is compiled into the program, so it is there wherever
// the program is started from.

#include <QString>
#include <QWidget>

#include "catalogue/tsuiuistyle.h"

class QTextBrowser;
class TsuiFileTheme;
class TsuiForm;

class UserGuideWindow : public QWidget {
    Q_OBJECT

public:
    // The guide's place among the program's resources.
    static inline const QString kResource = QStringLiteral(":/doc/user-guide.md");

    // A top-level window of its own (`parent` owns it); `theme` is not owned.
    UserGuideWindow(TsuiUIStyle style, TsuiFileTheme* theme, QWidget* parent = nullptr);

    TsuiForm* Frame() const { return frame_; }
    QTextBrowser* Browser() const { return browser_; }

    // The guide's Markdown as compiled in; empty if the resource is missing.
    static QString GuideText();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeBrowser();

    TsuiForm* frame_;
    QTextBrowser* browser_;
};
