#pragma once
// One page of a TsuiPageControl. Its Caption is the text of its tab.

#include <QColor>
#include <QWidget>

#include "tsuiskinned.h"

class TsuiPageControl;

class TsuiTabSheet : public QWidget, public TsuiSkinned {
    Q_OBJECT
    TSUI_SKINNED_PROPERTIES
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(int PageIndex READ PageIndex)

public:
    explicit TsuiTabSheet(QWidget* owner = nullptr);

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    QColor Color() const;
    void setColor(const QColor& color);

    // The page control holding this sheet, or nullptr.
    TsuiPageControl* PageControl() const;
    // Position among the page control's sheets; -1 when not on one.
    int PageIndex() const;

private:
    QString caption_;
};
