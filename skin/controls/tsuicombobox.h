#pragma once
// Drop-down list of the skinned control library; a QComboBox underneath for now. The
// operator picks one of the items and cannot type free text. currentIndexChanged is the
// change event.

#include <QColor>
#include <QComboBox>

#include "tsuiskinned.h"

class TsuiComboBox : public QComboBox, public TsuiSkinned {
    Q_OBJECT
    TSUI_SKINNED_PROPERTIES
    Q_PROPERTY(int ItemIndex READ currentIndex WRITE setCurrentIndex)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)

public:
    explicit TsuiComboBox(QWidget* owner = nullptr);

    QColor BorderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);

private:
    QColor borderColor_;
};
