#pragma once
// Drop-down list of the skinned control library. The operator picks one of the items and
// cannot type free text; keyboard, wheel, the list and accessibility are QComboBox's, and
// currentIndexChanged is the change event. The control paints itself flat (ComboBoxFace):
// a BorderColor ring with a Color ring inside, the arrow button from the look's button
// picture (MacOS, WinXP) or filled with ButtonColor behind a BorderColor separator, the
// ArrowColor arrow (except on WinXP's picture, which has its own). While the list is open
// it carries a one-pixel BorderColor frame; the list itself is drawn by the application
// style.

#include <QColor>
#include <QComboBox>
#include <QPointer>

#include "look/tsuiskinned.h"

class TsuiComboBox : public QComboBox, public TsuiSkinned {
    Q_OBJECT
    TSUI_SKINNED_PROPERTIES
    Q_PROPERTY(int ItemIndex READ currentIndex WRITE setCurrentIndex)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(QColor ButtonColor READ ButtonColor WRITE setButtonColor)
    Q_PROPERTY(QColor ArrowColor READ ArrowColor WRITE setArrowColor)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)

public:
    explicit TsuiComboBox(QWidget* owner = nullptr);

    // Outer ring, button separator and the frame of the open list.
    QColor BorderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);
    // Fill of the arrow button in looks without a button picture.
    QColor ButtonColor() const { return buttonColor_; }
    void setButtonColor(const QColor& color);
    QColor ArrowColor() const { return arrowColor_; }
    void setArrowColor(const QColor& color);
    // The item area and the inner ring.
    QColor Color() const;
    void setColor(const QColor& color);

    void showPopup() override;
    void hidePopup() override;

protected:
    void styleUpdated(const SkinLook& look) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QColor borderColor_;
    QColor buttonColor_;
    QColor arrowColor_;
    QPointer<QWidget> list_; // the window of the drop-down list, once it was shown
};
