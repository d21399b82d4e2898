#pragma once
// Tab control holding TsuiTabSheets: a row of tabs at the top, starting LeftMargin pixels
// from the left, and the active sheet below it. Sheets sit at a fixed place (3 pixels in
// from the sides and the bottom, 37 from the top), so a 525 x 513 control holds
// 519 x 473 sheets.

#include <QColor>
#include <QList>
#include <QWidget>

#include "tsuiskinned.h"

class QTabBar;
class TsuiTabSheet;

class TsuiPageControl : public QWidget, public TsuiSkinned {
    Q_OBJECT
    Q_MOC_INCLUDE("tsuitabsheet.h")
    TSUI_SKINNED_PROPERTIES
    Q_PROPERTY(int LeftMargin READ LeftMargin WRITE setLeftMargin)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(
        int ActivePageIndex READ ActivePageIndex WRITE setActivePageIndex NOTIFY activePageChanged)
    Q_PROPERTY(
        TsuiTabSheet* ActivePage READ ActivePage WRITE setActivePage NOTIFY activePageChanged)
    Q_PROPERTY(int PageCount READ PageCount)

public:
    // Offsets of a sheet inside the control.
    static constexpr int kSheetLeft = 3;
    static constexpr int kSheetTop = 37;
    static constexpr int kSheetRight = 3;
    static constexpr int kSheetBottom = 3;

    explicit TsuiPageControl(QWidget* owner = nullptr);

    int LeftMargin() const { return leftMargin_; }
    void setLeftMargin(int margin);
    QColor BorderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);
    QColor Color() const;
    void setColor(const QColor& color);

    // Makes the sheet a child of this control and gives it the next tab.
    void AddSheet(TsuiTabSheet* sheet);
    int PageCount() const { return static_cast<int>(sheets_.size()); }
    TsuiTabSheet* Page(int index) const;
    int IndexOf(const TsuiTabSheet* sheet) const;

    int ActivePageIndex() const;
    void setActivePageIndex(int index);
    TsuiTabSheet* ActivePage() const { return Page(ActivePageIndex()); }
    void setActivePage(TsuiTabSheet* sheet) { setActivePageIndex(IndexOf(sheet)); }

    QTabBar* TabBar() const { return tabs_; }

    // Called by a sheet whose caption changed.
    void SheetCaptionChanged(TsuiTabSheet* sheet);

Q_SIGNALS:
    void activePageChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showActive();
    void placeChildren();

    QTabBar* tabs_;
    QList<TsuiTabSheet*> sheets_;
    int leftMargin_ = 0;
    QColor borderColor_{Qt::gray};
};
