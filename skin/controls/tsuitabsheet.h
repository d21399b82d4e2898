#pragma once
// One page of a TsuiPageControl. Its Caption is the text of its tab; TabVisible hides the
// tab (hiding the tab of the page shown shows a neighbour); PageIndex is its position
// among the pages and moves it when written.

#include <QColor>
#include <QWidget>

#include "look/tsuiskinned.h"

class TsuiPageControl;

class TsuiTabSheet : public QWidget, public TsuiSkinned {
    Q_OBJECT
    TSUI_SKINNED_PROPERTIES
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(int PageIndex READ PageIndex WRITE setPageIndex)
    Q_PROPERTY(bool TabVisible READ TabVisible WRITE setTabVisible)

public:
    // On a TsuiPageControl the sheet becomes its last page.
    explicit TsuiTabSheet(QWidget* owner = nullptr);
    ~TsuiTabSheet() override;

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    QColor Color() const;
    void setColor(const QColor& color);
    bool TabVisible() const { return tabVisible_; }
    void setTabVisible(bool visible);

    // The page control holding this sheet, or nullptr.
    TsuiPageControl* PageControl() const { return pageControl_; }
    // Position among the page control's pages; -1 when not on one.
    int PageIndex() const { return pageIndex_; }
    void setPageIndex(int index);

Q_SIGNALS:
    void OnShow();
    void OnHide();

private:
    friend class TsuiPageControl;

    QString caption_;
    bool tabVisible_ = true;
    TsuiPageControl* pageControl_ = nullptr;
    int pageIndex_ = -1;
};
