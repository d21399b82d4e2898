#pragma once
// The skinned notebook: a TsuiTab whose tabs are its TsuiTabSheet pages, one page shown
// at a time in the page area (3 pixels in from its sides, so a 525 x 513 MacOS control
// holds 519 x 473 pages at (3, 37)).
//
// A sheet created on the control, or made its child later, is appended as the last page
// and shown. The page order can be given as a list of sheet names (Pages). A sheet that is
// deleted or taken away leaves the control consistent: its tab goes, the pages after it
// move up, and when it was the page shown, its neighbour is shown (the previous page, or
// the next one when it was the first).

#include <QList>
#include <QPointer>
#include <QStringList>

#include "controls/tsuitab.h"

class TsuiTabSheet;

class TsuiPageControl : public TsuiTab {
    Q_OBJECT
    Q_MOC_INCLUDE("controls/tsuitabsheet.h")
    Q_PROPERTY(
        TsuiTabSheet* ActivePage READ ActivePage WRITE setActivePage NOTIFY activePageChanged)
    Q_PROPERTY(
        int ActivePageIndex READ ActivePageIndex WRITE setActivePageIndex NOTIFY activePageChanged)
    Q_PROPERTY(int PageCount READ PageCount)
    Q_PROPERTY(QStringList Pages READ Pages WRITE setPages)

public:
    explicit TsuiPageControl(QWidget* owner = nullptr);
    ~TsuiPageControl() override;

    // Makes the sheet a child of this control (if it is not yet) and its last page.
    void AddSheet(TsuiTabSheet* sheet);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TsuiTabSheet* Page(int index) const;
    int IndexOf(const TsuiTabSheet* sheet) const;

    TsuiTabSheet* ActivePage() const;
    // Shows the sheet (none: no page); a change by program code, not asked of OnChanging.
    void setActivePage(TsuiTabSheet* sheet);
    int ActivePageIndex() const;
    void setActivePageIndex(int index);
    // Shows the page at the index; an index outside the pages shows none.
    void SelectPage(int index);

    // The sheets' object names in page order. Setting it orders the pages by the position
    // of their names in the list; a sheet whose name is not listed goes first.
    QStringList Pages() const;
    void setPages(const QStringList& names);
    // Moves the sheet to the index (0 to PageCount - 1; otherwise nothing) and shows it.
    void MovePage(TsuiTabSheet* sheet, int index);

    void TabActive(int index) override;

    // Called by the sheets.
    void SheetCaptionChanged(TsuiTabSheet* sheet);
    void SheetTabVisibleChanged(TsuiTabSheet* sheet);
    void RemoveSheet(TsuiTabSheet* sheet);

Q_SIGNALS:
    void activePageChanged();

protected:
    bool event(QEvent* event) override;
    void layOutPages(const QRect& client) override;
    void colorChanged() override;

private:
    void attach(TsuiTabSheet* sheet);
    void renumber();
    void rebuildTabs();
    // Shows the page (none: hides the present one) with its OnHide/OnShow; the focus goes
    // to the page's first control. False when it was shown already.
    void showPage(TsuiTabSheet* page);
    QWidget* focusTarget(TsuiTabSheet* page, TsuiTabSheet* previous) const;
    // The nearest page with a visible tab at or before `before`, else at or after `after`;
    // -1 for none.
    int visibleNeighbour(int before, int after) const;

    QList<TsuiTabSheet*> pages_;
    QPointer<TsuiTabSheet> active_;
};
