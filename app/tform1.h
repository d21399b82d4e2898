#pragma once
// TForm1, the program's one window: the skinned frame with its menu, the eight link-type
// pages built from their tables, the save dialog and the message dialog they share. The
// event handlers carry the names of the window description; each is one call into the
// page code they share.

#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "catalogue/tsuiuistyle.h"
#include "frame.h"
#include "theme/tsuifiletheme.h"

class Confirmer;
class LinkPage;
class MessageBoxErrorReport;
class DialogMessenger;
class SaveDialog;
class ThemeFileDialog;
class QAction;
class QMenu;
class TsuiForm;
class TsuiMainMenu;
class TsuiMessageDialog;
class TsuiPageControl;
class UserGuideWindow;

class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The components of the description, under their names.
    TsuiForm* suiForm1;
    TsuiMainMenu* suiMainMenu1;
    QMenu* Help1;
    QAction* Helpdocuments1;
    QAction* Onlinehelp1;
    QAction* N1;
    QAction* Quit1;
    TsuiPageControl* suiPageControl1;
    TsuiMessageDialog* suiMessageDialog1;
    SaveDialog& SaveDialog1() { return *saveDialog_; }

    // Puts the whole window in another look: the frame, every skinned control on it (passed
    // on from container to child) and the message dialog take the style and theme. The
    // window opens in MacOS. `theme` is not owned; with FromThemeFile it supplies the look.
    void SetLook(TsuiUIStyle style, TsuiFileTheme* theme = nullptr);
    // Puts the window in the look of the theme file at path, when it is a sound theme
    // (judged as `zd7240-theme dump` judges it). A file that is not a theme or is damaged
    // leaves the window in its look, and the message dialog says why; the result is false.
    bool UseThemeFile(const QString& path);

    // The window's look, and the theme it comes from with FromThemeFile.
    TsuiUIStyle Look() const { return look_; }
    TsuiFileTheme* LookTheme() const { return lookTheme_; }

    // The title bar's "Look" sub-menu: a built-in look, or a theme file asked of the theme
    // chooser, goes to the whole window at once and is saved as the look of the next
    // start (look_settings). A theme file that does not load, or a look that cannot be
    // saved, is reported through the error report and the window keeps its look.
    void ChooseLook(TsuiUIStyle style);
    void ChooseThemeFile();

    // The eight pages in tab order.
    const std::vector<LinkPage*>& Pages() const { return pages_; }

    // Replacements for the dialogs the pages use (tests, automation); nullptr restores
    // the window's own. Not owned.
    void setFileChooser(zd7240::FileChooser* chooser) { chooser_ = chooser; }
    void setMessenger(zd7240::Messenger* messenger) { messenger_ = messenger; }
    void setErrorReport(zd7240::ErrorReport* errors) { errors_ = errors; }
    // Asks for the file of "Theme file…" (by default Qt's open-file dialog).
    void setThemeChooser(zd7240::FileChooser* chooser) { themeChooser_ = chooser; }
    // Asks about the sanity hints of a press (by default suiMessageDialog1 with "OK" and
    // "Cancel").
    void setConfirmer(Confirmer* confirmer) { confirmer_ = confirmer; }
    // How long a job runs before its progress dialog appears.
    void setProgressDelay(int milliseconds) { progressDelayMs_ = milliseconds; }

    // The last "Make file" press.
    const zd7240::FrameResult& LastResult() const { return lastResult_; }

    // The user guide window "Help documents" shows when there is no help file to open;
    // nullptr before the first time.
    UserGuideWindow* UserGuide() const;

public Q_SLOTS:
    void Quit1Click();
    void Helpdocuments1Click();
    void Onlinehelp1Click();

    // Adsl--Mmx
    void suiButton1Click();
    void suiButton2Click();
    void suiComboBox1Change();
    // Adsl--Ces
    void suiButton201Click();
    void suiButton202Click();
    void suiComboBox2Change();
    // Adsl--Lan
    void suiButton301Click();
    void suiButton302Click();
    // Lan--Mmx
    void suiButton401Click();
    void suiButton402Click();
    void suiComboBox401Change();
    // Lan--Ces
    void suiButton601Click();
    void suiButton602Click();
    void suiComboBox601Change();
    // Adsl--Aiu
    void suiButton3Click();
    void suiButton4Click();
    void suiComboBox3Change();
    // Lan--Aiu
    void suiButton5Click();
    void suiButton6Click();
    void suiComboBox4Change();
    // Aiu-Mmx
    void suiButton7Click();
    void suiButton8Click();
    void suiComboBox5Change();
    void suiComboBox6Change();

protected:
    void closeEvent(QCloseEvent* event) override;
    void setVisible(bool visible) override;

private:
    void FormClose();
    void BuildMenu();
    void BuildPages();
    void BuildMessageDialog();

    LinkPage& PageOfSheet(const char* sheet) const;
    // The shared handlers.
    void ResetPage(const char* sheet);
    void MakeFile(const char* sheet);
    void CardTypeChanged(const char* selector);
    // Saves the window's look for the next start; reports a failure.
    void SaveLookChoice();

    std::vector<LinkPage*> pages_;
    std::unique_ptr<SaveDialog> saveDialog_;
    std::unique_ptr<DialogMessenger> dialogMessenger_;
    std::unique_ptr<MessageBoxErrorReport> errorReport_;
    zd7240::FileChooser* chooser_ = nullptr;
    std::unique_ptr<ThemeFileDialog> themeDialog_;
    zd7240::FileChooser* themeChooser_ = nullptr;
    TsuiUIStyle look_ = TsuiUIStyle::MacOS;
    QPointer<TsuiFileTheme> lookTheme_;
    zd7240::Messenger* messenger_ = nullptr;
    zd7240::ErrorReport* errors_ = nullptr;
    Confirmer* confirmer_ = nullptr;
    QPointer<UserGuideWindow> userGuide_;
    int progressDelayMs_;
    bool centred_ = false;
    zd7240::FrameResult lastResult_;
};
