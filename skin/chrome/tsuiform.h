#pragma once
// The frame of a skinned window. Created on a top-level widget (its host), it removes
// the host's system caption and border, covers the host with itself but for a border it
// paints around itself, carries the skinned title bar at its top and, with a menu
// attached, the menu below it. A host that is sizeable can be resized by a 5-pixel band
// along every edge. All other controls of the window are placed on the frame.
//
// Whether the host is sizeable is read at creation from the host's "BorderStyle"
// property ("bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow",
// "bsSizeToolWin"); a host that does not say is sizeable, as a window is by default.

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QWidget>

#include "chrome/tsuititlebar.h"
#include "look/tsuiskinned.h"

#include "chrome/tsuimainmenu.h"

class FrameController;
class QKeyEvent;
class FrameMenuBar;

class TsuiForm : public QWidget, public TsuiSkinned {
    Q_OBJECT
    Q_MOC_INCLUDE("chrome/tsuimainmenu.h")
    TSUI_SKINNED_PROPERTIES
    Q_PROPERTY(bool TitleBarCustom READ TitleBarCustom WRITE setTitleBarCustom)
    Q_PROPERTY(bool UIStyleAutoUpdateSub MEMBER autoUpdateSub_)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth)
    Q_PROPERTY(bool TitleBarVisible READ TitleBarVisible WRITE setTitleBarVisible)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QWidget* FormPanel READ FormPanel WRITE setFormPanel)
    Q_PROPERTY(bool TitleBarDrawAppIcon READ TitleBarDrawAppIcon WRITE setTitleBarDrawAppIcon)
    Q_PROPERTY(QFont Font READ TitleBarFont WRITE setTitleBarFont)
    Q_PROPERTY(TsuiMainMenu* Menu READ Menu WRITE setMenu)
    Q_PROPERTY(QColor MenuBarColor READ MenuBarColor WRITE setMenuBarColor)
    Q_PROPERTY(int MenuBarHeight READ MenuBarHeight WRITE setMenuBarHeight)
    Q_PROPERTY(int Height READ Height WRITE setHeight)
    Q_PROPERTY(int Width READ Width WRITE setWidth)
    Q_PROPERTY(int RoundCorner READ RoundCorner WRITE setRoundCorner)
    Q_PROPERTY(QString Version READ Version WRITE setVersion)

public:
    enum BorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
    Q_ENUM(BorderStyle)

    // Refusal of a second frame on the same host, raised by the constructor.
    static constexpr const char* kOnlyOneFormText =
        "Sorry, You can create only one TsuiForm component in one form!";

    // `owner` is the host. Throws std::logic_error with kOnlyOneFormText when the host
    // already has a TsuiForm.
    explicit TsuiForm(QWidget* owner = nullptr);
    ~TsuiForm() override;

    bool TitleBarCustom() const { return titleBar_->Custom(); }
    void setTitleBarCustom(bool custom) { titleBar_->setCustom(custom); }
    QColor BorderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);
    int BorderWidth() const { return borderWidth_; }
    void setBorderWidth(int width);
    bool TitleBarVisible() const { return titleBarVisible_; }
    void setTitleBarVisible(bool visible);
    QColor Color() const { return color_; }
    void setColor(const QColor& color);
    QString Caption() const { return titleBar_->Caption(); }
    // Also the host window's title, exactly.
    void setCaption(const QString& caption);
    QWidget* FormPanel() const { return formPanel_; }
    // Refused with a message when it is the frame itself.
    void setFormPanel(QWidget* panel);
    bool TitleBarDrawAppIcon() const { return titleBar_->DrawAppIcon(); }
    void setTitleBarDrawAppIcon(bool draw) { titleBar_->setDrawAppIcon(draw); }
    // The caption's font: the title bar's, not the panel's own (the controls on the
    // panel keep the window's font). Its colour is the title bar's FontColor, which the
    // next style change sets again.
    QFont TitleBarFont() const { return titleBar_->font(); }
    void setTitleBarFont(const QFont& font) { titleBar_->setFont(font); }
    QColor TitleBarFontColor() const { return titleBar_->FontColor(); }
    void setTitleBarFontColor(const QColor& color) { titleBar_->setFontColor(color); }
    TsuiMainMenu* Menu() const { return menu_; }
    // Places the menu below the title bar; nullptr removes it from the frame.
    void setMenu(TsuiMainMenu* menu);
    QColor MenuBarColor() const { return menuBarColor_; }
    void setMenuBarColor(const QColor& color);
    int MenuBarHeight() const { return menuBarHeight_; }
    void setMenuBarHeight(int height);
    // The panel's own size; writing resizes the host around it.
    int Height() const { return height(); }
    void setHeight(int height);
    int Width() const { return width(); }
    void setWidth(int width);
    int RoundCorner() const { return titleBar_->RoundCorner(); }
    void setRoundCorner(int diameter) { titleBar_->setRoundCorner(diameter); }
    QString Version() const { return QStringLiteral("4.30"); }
    void setVersion(const QString&) {}

    TsuiTitleBar* TitleBar() const { return titleBar_; }
    TsuiTitleBarButtons& TitleBarButtons() { return titleBar_->Buttons(); }
    void setTitleBarButtons(const TsuiTitleBarButtons& buttons) { titleBar_->setButtons(buttons); }
    TsuiTitleBarSections& TitleBarSections() { return titleBar_->Sections(); }
    void setTitleBarSections(const TsuiTitleBarSections& sections) {
        titleBar_->setSections(sections);
    }

    // The host's border style when the frame was created.
    BorderStyle InitialBorderStyle() const { return initialBorderStyle_; }
    bool HostSizeable() const;
    // A sizeable host is fitted to the screen's available area when maximized; a host
    // without a border covers the whole screen.
    bool MaximizesToWorkArea() const { return initialBorderStyle_ != bsNone; }

    // Puts the frame in the host: left BorderWidth, top 0 below a visible title bar.
    void PlaceFrame();
    // Paints the border strips on the host's canvas.
    void PaintHostBorder(QPainter& painter) const;
    // Offers a key to the attached menu's shortcuts (TsuiMainMenu::IsShortCut): only while
    // the host is the active window and the title bar counts it active, and a menu is
    // attached. Answers whether an item took the key. The host's key presses that no
    // control on it took come here.
    bool HandleMenuShortCut(const QKeyEvent& key);
    // The band the menu occupies, in frame coordinates.
    QRect MenuBarRect() const;
    // The bar that shows the menu's items; nullptr without a menu.
    FrameMenuBar* MenuBar() const { return menuBar_; }
    // The host window was resized, or its state (maximized, minimized, full screen)
    // changed: the frame is placed again, the maximize buttons show the state, and the
    // window's shape follows. Told by the frame's controller.
    void HostResized();
    void HostStateChanged();

Q_SIGNALS:
    void OnTitleBarCustomBtnsClick(TsuiTitleBar* sender, int index);
    void OnTitleBarHelpBtnClick(TsuiTitleBar* sender, int index);

protected:
    // Writing the theme the frame already has leaves it as it is; a new file read into
    // that theme does not.
    bool takesLookWrite(const TsuiFileTheme* theme, LookChange change) const override;
    void styleUpdated(const SkinLook& look) override;
    bool passesLookToChildren() const override { return autoUpdateSub_; }
    bool isWindowFrame() const override { return true; }
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeMenu();
    // Gives the host window this size, unless the window system owns its size (maximized,
    // full screen), and places the frame in it.
    void resizeHost(QWidget* hostWindow, QSize size);
    void layoutContents();
    void repaintHostBorder();
    // Gives the host window its shape: top corners rounded by RoundCorner.
    void applyWindowShape();
    QWidget* host() const { return parentWidget(); }

    TsuiTitleBar* titleBar_ = nullptr;
    FrameController* controller_ = nullptr;
    QColor borderColor_{Qt::black};
    int borderWidth_ = 1;
    bool titleBarVisible_ = true;
    QColor color_{0xE8, 0xE8, 0xE8};
    QColor menuBarColor_{0xE8, 0xE8, 0xE8};
    int menuBarHeight_ = 22;
    bool autoUpdateSub_ = false;
    BorderStyle initialBorderStyle_ = bsSizeable;
    QPointer<TsuiMainMenu> menu_;
    FrameMenuBar* menuBar_ = nullptr;
    QPointer<QWidget> formPanel_;
    QImage backgroundTile_;
    bool ownsAppFilter_ = false;
};
