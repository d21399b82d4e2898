#pragma once
// Group box of the skinned control library; a QGroupBox underneath for now, drawn plainly:
// a one-pixel ring in BorderColor whose top runs through the middle of the caption, the
// caption at the top left on the box colour. Children are placed freely from the box's
// top-left corner. As a container it passes its style and theme on to its children.

#include <QColor>
#include <QGroupBox>

#include "tsuiskinned.h"

class TsuiGroupBox : public QGroupBox, public TsuiSkinned {
    Q_OBJECT
    TSUI_SKINNED_PROPERTIES
    Q_PROPERTY(QString Caption READ title WRITE setTitle)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)

public:
    explicit TsuiGroupBox(QWidget* owner = nullptr);

    QColor BorderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);
    QColor Color() const;
    void setColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor borderColor_;
};
