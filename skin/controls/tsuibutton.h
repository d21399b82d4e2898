#pragma once
// Push button of the skinned control library. For now a plain QPushButton underneath;
// it already publishes the names window descriptions use, so pages keep working when
// the skinned drawing arrives.

#include <QPushButton>

#include "tsuiskinned.h"

class TsuiButton : public QPushButton, public TsuiSkinned {
    Q_OBJECT
    TSUI_SKINNED_PROPERTIES
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)

public:
    explicit TsuiButton(QWidget* owner = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }

private:
};
