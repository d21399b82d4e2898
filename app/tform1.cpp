#include "tform1.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QMenu>
#include <QScreen>
#include <QUrl>

#include "appfonts.h"
#include "chrome/tsuiform.h"
#include "chrome/tsuimainmenu.h"
#include "chrome/tsuimessagedialog.h"
#include "chrome/tsuititlebar.h"
#include "chrome/tsuititlebarpopupmenu.h"
#include "controls/tsuipagecontrol.h"
#include "controls/tsuitabsheet.h"
#include "drawing/skinbitmaps.h"
#include "linkpage.h"
#include "look/styleselection.h"
#include "look/systemcolors.h"
#include "looksettings.h"
#include "pagebuilder.h"
#include "processguard.h"
#include "savedialog.h"
#include "theme/tsuifiletheme.h"
#include "themefiledialog.h"
#include "userguidewindow.h"
#include "windowdescription.h"
#include "windowseams.h"

namespace wd = window_description;

namespace {

// Assistive technology takes the window for a frame, as it takes any application's main
// window; a plain widget would be read as a pane ("filler").
QAccessibleInterface* MainWindowAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("TForm1") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

// The program's icon in every size the desktop entry ships; the window manager picks
// the one it needs. Without them (a build that left them out), the title bar's icon.
QIcon WindowIcon() {
    QIcon icon;
    const QDir icons(QStringLiteral(":/icons"));
    for (const QString& name : icons.entryList({QStringLiteral("zd7240-helper-*.png")}))
        icon.addFile(icons.filePath(name));
    if (icon.isNull() && HasSkinBitmap(QStringLiteral("MAINICON")))
        icon.addPixmap(QPixmap::fromImage(LoadSkinBitmap(QStringLiteral("MAINICON"))));
    return icon;
}

} // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent), progressDelayMs_(ProgressFeedback::kDefaultDelayMs) {
    static const bool accessibleAsWindow = [] {
        QAccessible::installFactory(&MainWindowAccessible);
        return true;
    }();
    static_cast<void>(accessibleAsWindow);
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(wd::kCaption);
    resize(wd::kClientWidth, wd::kClientHeight);
    setMinimumWidth(wd::kMinimumWidth);
    setFont(DescriptionFont(wd::kFontName, wd::kFontPoints));
    QPalette p = palette();
    p.setColor(QPalette::Window, SystemColorValue(SystemColor::ButtonFace));
    p.setColor(QPalette::WindowText, SystemColorValue(SystemColor::WindowText));
    setPalette(p);
    setAutoFillBackground(true);
    setWindowIcon(WindowIcon());

    // The window is laid out without a border: the frame gives it no resize band.
    setProperty("BorderStyle", QStringLiteral("bsNone"));
    // The frame first: the skinned controls created after it take its style.
    suiForm1 = new TsuiForm(this);
    suiForm1->setObjectName(QStringLiteral("suiForm1"));
    suiForm1->setUIStyle(TsuiUIStyle::MacOS);
    suiForm1->setProperty("UIStyleAutoUpdateSub", false);
    suiForm1->setGeometry(1, 0, 534, 574);
    suiForm1->setCaption(wd::kCaption);
    suiForm1->setBorderColor(wd::DescriptionColor(wd::kBorderColor));
    suiForm1->setBorderWidth(1);
    suiForm1->setColor(wd::DescriptionColor(wd::kPageColor));
    suiForm1->setTitleBarFont(DescriptionFont(wd::kCaptionFontName, wd::kFontPoints, true));
    suiForm1->setTitleBarFontColor(Qt::black);
    suiForm1->setMenuBarColor(wd::DescriptionColor(wd::kPageColor));
    suiForm1->setMenuBarHeight(22);

    BuildMenu();
    BuildPages();
    BuildMessageDialog();
    saveDialog_ = std::make_unique<SaveDialog>(this);
    dialogMessenger_ = std::make_unique<DialogMessenger>(*suiMessageDialog1);
    errorReport_ = std::make_unique<MessageBoxErrorReport>(this);
    themeDialog_ = std::make_unique<ThemeFileDialog>(this);

    TsuiTitleBarPopupMenu* systemMenu = suiForm1->TitleBar()->SystemMenu();
    systemMenu->ShowLookMenu(true);
    systemMenu->SetLookMark(look_);
    connect(systemMenu, &TsuiTitleBarPopupMenu::lookChosen, this, &TForm1::ChooseLook);
    connect(systemMenu, &TsuiTitleBarPopupMenu::themeFileAsked, this, &TForm1::ChooseThemeFile);
}

TForm1::~TForm1() = default;

void TForm1::BuildMenu() {
    // Created on the window, the menu shows in the frame's menu bar.
    suiMainMenu1 = new TsuiMainMenu(this);
    suiMainMenu1->setObjectName(QStringLiteral("suiMainMenu1"));
    suiMainMenu1->setUIStyle(TsuiUIStyle::MacOS);
    suiMainMenu1->setSelectedColor(wd::DescriptionColor(wd::kMenuSelected));
    suiMainMenu1->setSelectedBorderColor(wd::DescriptionColor(wd::kMenuSelected));
    suiMainMenu1->setFontName(wd::kFontName);
    suiMainMenu1->setFontSize(wd::kFontPoints);
    suiMainMenu1->setUseSystemFont(true);

    Help1 = suiMainMenu1->addMenu(QStringLiteral("&Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    Helpdocuments1 = Help1->addAction(QStringLiteral("Help documents"));
    Helpdocuments1->setObjectName(QStringLiteral("Helpdocuments1"));
    Onlinehelp1 = Help1->addAction(QStringLiteral("Online help"));
    Onlinehelp1->setObjectName(QStringLiteral("Onlinehelp1"));
    // An ordinary item that does nothing, not a separator: only "-" would be one.
    N1 = Help1->addAction(QStringLiteral("-------------------"));
    N1->setObjectName(QStringLiteral("N1"));
    Quit1 = Help1->addAction(QStringLiteral("Quit"));
    Quit1->setObjectName(QStringLiteral("Quit1"));
    connect(Helpdocuments1, &QAction::triggered, this, &TForm1::Helpdocuments1Click);
    connect(Onlinehelp1, &QAction::triggered, this, &TForm1::Onlinehelp1Click);
    connect(Quit1, &QAction::triggered, this, &TForm1::Quit1Click);

    suiForm1->setMenu(suiMainMenu1);
}

void TForm1::BuildPages() {
    suiPageControl1 = new TsuiPageControl(suiForm1);
    suiPageControl1->setObjectName(QStringLiteral("suiPageControl1"));
    suiPageControl1->setUIStyle(TsuiUIStyle::MacOS);
    suiPageControl1->setGeometry(4, 56, 525, 513);
    suiPageControl1->setLeftMargin(10);
    suiPageControl1->setBorderColor(wd::DescriptionColor(wd::kBorderColor));
    suiPageControl1->setColor(wd::DescriptionColor(wd::kPageColor));
    suiPageControl1->setFont(DescriptionFont(wd::kFontName, wd::kFontPoints));
    for (const zd7240::PageTable& row : zd7240::Pages()) {
        auto* sheet = new TsuiTabSheet(suiPageControl1);
        suiPageControl1->AddSheet(sheet);
        pages_.push_back(BuildLinkPage(row, sheet, this));
    }
    suiPageControl1->setActivePageIndex(0);
}

void TForm1::BuildMessageDialog() {
    suiMessageDialog1 = new TsuiMessageDialog(this);
    suiMessageDialog1->setObjectName(QStringLiteral("suiMessageDialog1"));
    suiMessageDialog1->setPosition(TsuiMessageDialog::poScreenCenter);
    suiMessageDialog1->setUIStyle(TsuiUIStyle::MacOS);
    suiMessageDialog1->setCaption(QStringLiteral("Warning"));
    suiMessageDialog1->setFont(DescriptionFont(wd::kFontName, wd::kFontPoints));
    suiMessageDialog1->setCaptionFont(DescriptionFont(wd::kCaptionFontName, wd::kFontPoints, true));
    suiMessageDialog1->setCaptionFontColor(Qt::black);
    suiMessageDialog1->setButtonCursor(Qt::PointingHandCursor);
    suiMessageDialog1->setButtonCount(1);
    suiMessageDialog1->setIconType(TsuiMessageDialog::suiWarning);
}

void TForm1::SetLook(TsuiUIStyle style, TsuiFileTheme* theme) {
    {
        // The frame does not pass its look on by itself (UIStyleAutoUpdateSub is off), so
        // the window hands it to the frame's children, which pass it on to theirs; one
        // change, so that each control reads the look once.
        const LookChangeScope change;
        suiForm1->setLook(style, theme);
        ApplyThemeToChildren(suiForm1, style, theme);
    }
    suiMessageDialog1->setLook(style, theme);
    // The dialog's black caption belongs to the MacOS title bar it is set up for; in a look
    // chosen here it takes that look's own caption colour, which the frame's title bar has
    // just taken, so that it stands out on the look's title bar (white on dark blue).
    suiMessageDialog1->setCaptionFontColor(suiForm1->TitleBarFontColor());
    // The user guide window, when open, is a window of the program like this one.
    if (userGuide_) {
        const LookChangeScope change;
        userGuide_->Frame()->setLook(style, theme);
        ApplyThemeToChildren(userGuide_->Frame(), style, theme);
    }
    look_ = style;
    lookTheme_ = style == TsuiUIStyle::FromThemeFile ? theme : nullptr;
    suiForm1->TitleBar()->SystemMenu()->SetLookMark(style);
}

void TForm1::ChooseLook(TsuiUIStyle style) {
    TsuiFileTheme* const previous = lookTheme_;
    SetLook(style, nullptr);
    // A theme the window loaded is let go once nothing shows it.
    if (previous && previous->parent() == this)
        previous->deleteLater();
    SaveLookChoice();
}

void TForm1::ChooseThemeFile() {
    zd7240::FileChooser& chooser = themeChooser_ ? *themeChooser_ : *themeDialog_;
    const std::optional<std::string> chosen = chooser.ChooseFile();
    if (!chosen) {
        // The mark back on the look the window has.
        suiForm1->TitleBar()->SystemMenu()->SetLookMark(look_);
        return;
    }
    const QString path =
        QFileInfo(QFile::decodeName(QByteArray::fromStdString(*chosen))).absoluteFilePath();
    // Loaded into a theme of its own first, so that a file that is no theme leaves the
    // window's look as it was; then the window and everything on it take it at once.
    auto theme = std::make_unique<TsuiFileTheme>(this);
    if (const auto problem = look_settings::LoadThemeFile(path, *theme)) {
        suiForm1->TitleBar()->SystemMenu()->SetLookMark(look_);
        zd7240::ErrorReport& errors = errors_ ? *errors_ : *errorReport_;
        errors.ReportError(problem->message.toStdString());
        return;
    }
    TsuiFileTheme* const previous = lookTheme_;
    SetLook(TsuiUIStyle::FromThemeFile, theme.release());
    if (previous && previous->parent() == this)
        previous->deleteLater();
    SaveLookChoice();
}

void TForm1::SaveLookChoice() {
    look_settings::SavedLook saved{look_, {}};
    if (look_ == TsuiUIStyle::FromThemeFile && lookTheme_)
        saved.themeFile = QFileInfo(lookTheme_->ThemeFile()).absoluteFilePath();
    if (const std::optional<QString> why = look_settings::SaveLook(saved)) {
        zd7240::ErrorReport& errors = errors_ ? *errors_ : *errorReport_;
        errors.ReportError(QStringLiteral("cannot save the look: %1").arg(*why).toStdString());
    }
}

bool TForm1::UseThemeFile(const QString& path) {
    // The window's own theme takes the file; a window without one gets a theme of its own
    // only once a file has been loaded into it.
    TsuiFileTheme* theme = suiForm1->FileTheme();
    std::unique_ptr<TsuiFileTheme> fresh;
    if (!theme) {
        fresh = std::make_unique<TsuiFileTheme>();
        theme = fresh.get();
    }
    QString why;
    if (!theme->LoadSoundThemeFile(path, &why)) {
        const QString text =
            QStringLiteral("The theme file \"%1\" cannot be used: %2")
                .arg(QString::fromStdString(
                         zd7240::EscapeText(QFileInfo(path).fileName().toStdString())),
                     QString::fromStdString(zd7240::EscapeText(why.toStdString())));
        const QByteArray utf8 = text.toUtf8();
        (messenger_ ? *messenger_ : static_cast<zd7240::Messenger&>(*dialogMessenger_))
            .ShowMessage("Warning", std::string_view(utf8.constData(), std::size_t(utf8.size())));
        return false;
    }
    if (fresh)
        fresh.release()->setParent(this);
    SetLook(TsuiUIStyle::FromThemeFile, theme);
    return true;
}

void TForm1::setVisible(bool visible) {
    // Centred on its screen once, before the window is first mapped: moved after that,
    // the window manager's placement and Qt's idea of where the window is can disagree,
    // and pop-ups (menus, lists, dialogs) open counted from the screen's corner.
    if (visible && !centred_ && !isVisible()) {
        centred_ = true;
        if (const QScreen* screen = this->screen()) {
            QRect frame = geometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QWidget::setVisible(visible);
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TForm1::FormClose() {
    QCoreApplication::quit();
}

void TForm1::Quit1Click() {
    close();
}

// A help file in the current folder goes to the shell, and whatever the shell answers the
// program says nothing itself. Without one, the program's own user guide is shown.
void TForm1::Helpdocuments1Click() {
    const QString helpFile = QDir::current().absoluteFilePath(wd::kHelpFile);
    if (QFileInfo::exists(helpFile)) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile));
        return;
    }
    if (!userGuide_) {
        userGuide_ = new UserGuideWindow(suiForm1->UIStyle(), suiForm1->FileTheme(), this);
        // Opened centred over the window, kept on its screen.
        QRect place(QPoint(), userGuide_->size());
        place.moveCenter(geometry().center());
        if (const QScreen* screen = this->screen()) {
            const QRect available = screen->availableGeometry();
            place.moveRight(qMin(place.right(), available.right()));
            place.moveBottom(qMin(place.bottom(), available.bottom()));
            place.moveLeft(qMax(place.left(), available.left()));
            place.moveTop(qMax(place.top(), available.top()));
        }
        userGuide_->move(place.topLeft());
    }
    userGuide_->show();
    userGuide_->raise();
    userGuide_->activateWindow();
}

UserGuideWindow* TForm1::UserGuide() const {
    return userGuide_;
}

void TForm1::Onlinehelp1Click() {
    QDesktopServices::openUrl(QUrl(wd::kOnlineHelpUrl));
}

LinkPage& TForm1::PageOfSheet(const char* sheet) const {
    for (LinkPage* page : pages_) {
        if (page->Table().sheet == sheet)
            return *page;
    }
    qFatal("no page %s", sheet);
}

void TForm1::ResetPage(const char* sheet) {
    PageOfSheet(sheet).Default();
}

void TForm1::MakeFile(const char* sheet) {
    ProgressFeedback progress(this, progressDelayMs_);
    lastResult_ = PageOfSheet(sheet).MakeFile(
        chooser_ ? *chooser_ : *saveDialog_, messenger_ ? *messenger_ : *dialogMessenger_,
        errors_ ? *errors_ : *errorReport_, &progress,
        confirmer_ ? confirmer_ : static_cast<Confirmer*>(dialogMessenger_.get()));
}

void TForm1::CardTypeChanged(const char* selector) {
    for (LinkPage* page : pages_) {
        if (zd7240::FindSelector(page->Table(), selector)) {
            page->CardTypeChanged(selector);
            return;
        }
    }
}

// clang-format off
void TForm1::suiButton1Click() { ResetPage("suiTabSheet1"); }
void TForm1::suiButton2Click() { MakeFile("suiTabSheet1"); }
void TForm1::suiComboBox1Change() { CardTypeChanged("suiComboBox1"); }
void TForm1::suiButton201Click() { ResetPage("suiTabSheet3"); }
void TForm1::suiButton202Click() { MakeFile("suiTabSheet3"); }
void TForm1::suiComboBox2Change() { CardTypeChanged("suiComboBox2"); }
void TForm1::suiButton301Click() { ResetPage("suiTabSheet4"); }
void TForm1::suiButton302Click() { MakeFile("suiTabSheet4"); }
void TForm1::suiButton401Click() { ResetPage("suiTabSheet5"); }
void TForm1::suiButton402Click() { MakeFile("suiTabSheet5"); }
void TForm1::suiComboBox401Change() { CardTypeChanged("suiComboBox401"); }
void TForm1::suiButton601Click() { ResetPage("suiTabSheet7"); }
void TForm1::suiButton602Click() { MakeFile("suiTabSheet7"); }
void TForm1::suiComboBox601Change() { CardTypeChanged("suiComboBox601"); }
void TForm1::suiButton3Click() { ResetPage("suiTabSheet2"); }
void TForm1::suiButton4Click() { MakeFile("suiTabSheet2"); }
void TForm1::suiComboBox3Change() { CardTypeChanged("suiComboBox3"); }
void TForm1::suiButton5Click() { ResetPage("suiTabSheet6"); }
void TForm1::suiButton6Click() { MakeFile("suiTabSheet6"); }
void TForm1::suiComboBox4Change() { CardTypeChanged("suiComboBox4"); }
void TForm1::suiButton7Click() { ResetPage("suiTabSheet8"); }
void TForm1::suiButton8Click() { MakeFile("suiTabSheet8"); }
void TForm1::suiComboBox5Change() { CardTypeChanged("suiComboBox5"); }
void TForm1::suiComboBox6Change() { CardTypeChanged("suiComboBox6"); }
// clang-format on
