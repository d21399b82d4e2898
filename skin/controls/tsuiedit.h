#pragma once
// Single-line edit box of the skinned control library. All editing is QLineEdit's
// (selection, undo, input methods, the context menu, read-only and password modes); the
// control only replaces the frame: the platform frame is off and two one-pixel rings are
// painted in the two-pixel margin around the text, BorderColor outside and the edit's own
// Color inside.

#include <QColor>
#include <QLineEdit>

#include "look/tsuiskinned.h"

class TsuiEdit : public QLineEdit, public TsuiSkinned {
    Q_OBJECT
    TSUI_SKINNED_PROPERTIES
    Q_PROPERTY(QString Text READ Text WRITE setText)
    Q_PROPERTY(bool ReadOnly READ isReadOnly WRITE setReadOnly)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)

public:
    explicit TsuiEdit(QWidget* owner = nullptr);

    QString Text() const { return text(); }
    // The outer ring; the look's control border colour until set by hand.
    QColor BorderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);
    // The fill behind the text and the inner ring.
    QColor Color() const;
    void setColor(const QColor& color);

protected:
    void styleUpdated(const SkinLook& look) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QColor borderColor_;
};
