#pragma once
// The tab control: a tab row across the top (TsuiTabControlTopPanel) and a bordered page
// area below it, filled with Color and framed in BorderColor on the left, bottom and right.
// Applying a look sets Color from the control background (white in the built-in WinXP
// look), BorderColor from the control border colour, and passes the look on to the row
// and the other children.
//
// Keyboard users switch tabs with Ctrl+Tab / Ctrl+PgDn (next) and Ctrl+Shift+Tab /
// Ctrl+PgUp (previous) while the focus is inside the control; hidden tabs are skipped and
// the ends wrap round. Like a click, such a change is asked of OnChanging first: it is the
// user's, not the program's.

#include <QColor>
#include <QWidget>

#include "look/tsuiskinned.h"

class TsuiTabControlTopPanel;

class TsuiTab : public QWidget, public TsuiSkinned {
    Q_OBJECT
    TSUI_SKINNED_PROPERTIES
    Q_MOC_INCLUDE("controls/tsuitabcontroltoppanel.h")
    Q_PROPERTY(int LeftMargin READ LeftMargin WRITE setLeftMargin)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)

public:
    explicit TsuiTab(QWidget* owner = nullptr);

    TsuiTabControlTopPanel* TopPanel() const { return row_; }

    int LeftMargin() const;
    void setLeftMargin(int margin);
    QColor BorderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);
    QColor Color() const { return color_; }
    void setColor(const QColor& color);

    // The active tab; setting it is a change by program code (OnChanging is not asked).
    int TabIndex() const;
    void setTabIndex(int index);

    // Where pages and other children go: 3 pixels inside the page area.
    QRect ClientRect() const;

    // Called by the row when the active tab changed: OnTabActive, then OnChange.
    virtual void TabActive(int index);
    // Asks OnChanging whether the user may leave the active tab.
    bool AllowChange();
    // Places the row and the pages (after a resize or a change of the row's height).
    void LayOut();

Q_SIGNALS:
    void OnTabActive(int index);
    void OnChange();
    // A handler that sets *allowChange to false keeps the active tab.
    void OnChanging(bool* allowChange);

protected:
    void styleUpdated(const SkinLook& look) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

    // Places what the row does not cover; TsuiPageControl places its pages here.
    virtual void layOutPages(const QRect& client);
    // Color changed: TsuiPageControl passes it on to its pages.
    virtual void colorChanged();

private:
    void switchTab(int step);

    TsuiTabControlTopPanel* row_ = nullptr;
    QColor borderColor_;
    QColor color_;
};
