#pragma once
// Group box of the skinned control library, a container: a QGroupBox underneath (its
// caption mnemonic moves the focus inside, and it is a group to accessibility tools),
// painted from the skin (GroupBoxFace): the box's Color, or what the parent shows beneath
// it when Transparent, then one BorderColor line round the box with a gap for the caption,
// and the caption at (5, 0), grey while disabled.
//
// A layout set on the box places the children inside GroupBoxChildRect. Enabling or
// disabling the box sets every direct child to the same state, so re-enabling it also
// enables children that were disabled on their own before. As a container it passes its
// style and theme on to its children; its look sets BorderColor and the caption colour
// (the palette's WindowText, which children without their own inherit).

#include <QColor>
#include <QGroupBox>

#include "look/tsuiskinned.h"

class TsuiGroupBox : public QGroupBox, public TsuiSkinned {
    Q_OBJECT
    TSUI_SKINNED_PROPERTIES
    Q_PROPERTY(QString Caption READ title WRITE setTitle)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)

public:
    explicit TsuiGroupBox(QWidget* owner = nullptr);

    QColor BorderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);
    // The fill of the box; the parent's until set (the palette's Window).
    QColor Color() const;
    void setColor(const QColor& color);
    // Shows what the parent draws beneath the box instead of Color.
    bool Transparent() const { return transparent_; }
    void setTransparent(bool transparent);

protected:
    void styleUpdated(const SkinLook& look) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int fontHeight() const;
    void keepChildMargins();

    QColor borderColor_;
    bool transparent_ = false;
    bool disabledItself_ = false; // setEnabled(false) on the box itself, as last seen
};
