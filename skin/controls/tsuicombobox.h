#pragma once
// Drop-down list of the skinned control library; a QComboBox underneath for now. The
// operator picks one of the items and cannot type free text. currentIndexChanged is the
// change event.

#include <QColor>
#include <QComboBox>

#include "tsuifiletheme.h"
#include "tsuistylebinding.h"

class TsuiComboBox : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(tsui::TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(int ItemIndex READ currentIndex WRITE setCurrentIndex)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)

public:
    explicit TsuiComboBox(QWidget* owner = nullptr);

    TsuiUIStyle UIStyle() const { return binding_.uiStyle(); }
    void setUIStyle(TsuiUIStyle style) { binding_.setUIStyle(style); }
    TsuiFileTheme* FileTheme() const { return binding_.fileTheme(); }
    void setFileTheme(TsuiFileTheme* theme) { binding_.setFileTheme(theme); }

    QColor BorderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);

private:
    TsuiStyleBinding binding_;
    QColor borderColor_;
};
