#pragma once
// Push button of the skinned control library. For now a plain QPushButton underneath;
// it already publishes the names window descriptions use, so pages keep working when
// the skinned drawing arrives.

#include <QPushButton>

#include "tsuifiletheme.h"
#include "tsuistylebinding.h"

class TsuiButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(tsui::TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)

public:
    explicit TsuiButton(QWidget* owner = nullptr);

    TsuiUIStyle UIStyle() const { return binding_.uiStyle(); }
    void setUIStyle(TsuiUIStyle style) { binding_.setUIStyle(style); }
    TsuiFileTheme* FileTheme() const { return binding_.fileTheme(); }
    void setFileTheme(TsuiFileTheme* theme) { binding_.setFileTheme(theme); }

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }

private:
    TsuiStyleBinding binding_;
};
