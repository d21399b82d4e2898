#pragma once
// Single-line edit box of the skinned control library; a QLineEdit underneath for now.

#include <QColor>
#include <QLineEdit>

#include "tsuifiletheme.h"
#include "tsuistylebinding.h"

class TsuiEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(tsui::TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(QString Text READ Text WRITE setText)
    Q_PROPERTY(bool ReadOnly READ isReadOnly WRITE setReadOnly)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)

public:
    explicit TsuiEdit(QWidget* owner = nullptr);

    TsuiUIStyle UIStyle() const { return binding_.uiStyle(); }
    void setUIStyle(TsuiUIStyle style) { binding_.setUIStyle(style); }
    TsuiFileTheme* FileTheme() const { return binding_.fileTheme(); }
    void setFileTheme(TsuiFileTheme* theme) { binding_.setFileTheme(theme); }

    QString Text() const { return text(); }
    QColor BorderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);
    // The fill behind the text.
    QColor Color() const;
    void setColor(const QColor& color);

private:
    TsuiStyleBinding binding_;
    QColor borderColor_;
};
