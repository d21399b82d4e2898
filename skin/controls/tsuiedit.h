#pragma once
// Single-line edit box of the skinned control library; a QLineEdit underneath for now.

#include <QColor>
#include <QLineEdit>

#include "tsuiskinned.h"

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
    QColor BorderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);
    // The fill behind the text.
    QColor Color() const;
    void setColor(const QColor& color);

private:
    QColor borderColor_;
};
