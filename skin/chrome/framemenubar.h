#pragma once
// The menu bar of a skinned frame: below the title bar, one button per top-level item of
// the attached main menu, in order, drawn in the menu's look. A button opens its item's
// sub-menu below itself.
//
// Keys, as on any menu bar: Alt with an item's access key opens that item; Alt pressed
// and released alone highlights the first button, after which Left and Right walk the
// bar, Down, Up, Return or Space (or an access key without Alt) open the highlighted
// item and Esc or Alt leaves. In an open menu Left and Right go on to the neighbouring
// item's menu, and moving the mouse onto another button opens that one.

#include <QColor>
#include <QList>
#include <QPointer>
#include <QToolBar>

#include "chrome/menubarpainter.h"
#include "chrome/tsuimainmenu.h"

class QMenu;
class FrameMenuBarButton;

class FrameMenuBar : public QToolBar {
    Q_OBJECT

public:
    explicit FrameMenuBar(QWidget* frame);
    ~FrameMenuBar() override;

    TsuiMainMenu* Menu() const { return menu_; }
    // Shows this menu's items; nullptr leaves the bar empty.
    void setMenu(TsuiMainMenu* menu);

    // Makes the buttons again from the menu's top-level items.
    void RebuildMenuBar();
    // Every button takes its item's caption and enabled state.
    void RefreshMenuBar();
    // The bar's font becomes the menu's item font; the bar repaints.
    void ApplyMenuBarFont();

    QColor BarColor() const { return barColor_; }
    void setBarColor(const QColor& color);
    int BarHeight() const { return barHeight_; }
    // The bar and each of its buttons take this height.
    void setBarHeight(int height);

    const QList<FrameMenuBarButton*>& Buttons() const { return buttons_; }
    // The button highlighted from the keyboard, or -1.
    int HotIndex() const { return hotIndex_; }
    // The button whose menu is open, or -1.
    int OpenIndex() const { return openIndex_; }
    // Opens the menu of a button; from the keyboard its first item is selected.
    void OpenMenu(int index, bool fromKeyboard);

    // How a button looks now (everything but its rectangle).
    MenuBarButtonFace ButtonFace(const FrameMenuBarButton* button) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layoutButtons();
    void menuHidden();
    void setHot(int index);
    void leaveKeyboardMode();
    bool inThisWindow(const QObject* object) const;
    int nextEnabled(int from, int step) const;
    int buttonAt(QPoint globalPos) const;
    bool barKey(QKeyEvent* key);
    bool menuKey(QKeyEvent* key);

    QPointer<TsuiMainMenu> menu_;
    QList<FrameMenuBarButton*> buttons_;
    QColor barColor_{0xE8, 0xE8, 0xE8};
    int barHeight_ = 22;
    // Keyboard and open-menu state.
    bool altPressed_ = false;
    int hotIndex_ = -1;
    int openIndex_ = -1;
    QPointer<QMenu> openMenu_;
    int switchTo_ = -1;
    bool switchFromKeyboard_ = false;
    bool returnToBar_ = false;
    bool openedFromKeyboard_ = false; // the open menu was opened with a key
};
