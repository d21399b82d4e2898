#pragma once
// The main menu of a skinned window. For now a QMenuBar underneath, which the window's
// TsuiForm places in its menu bar band; the owner-drawn look comes with the skinned
// menus. The colour and size properties are stored for that drawing.

#include <QColor>
#include <QMenuBar>

#include "tsuiskinned.h"

class TsuiMainMenu : public QMenuBar, public TsuiSkinned {
    Q_OBJECT
    TSUI_SKINNED_PROPERTIES
    Q_PROPERTY(int MenuItemHeight MEMBER menuItemHeight_)
    Q_PROPERTY(int SeparatorHeight MEMBER separatorHeight_)
    Q_PROPERTY(int BarWidth MEMBER barWidth_)
    Q_PROPERTY(QColor BarColor MEMBER barColor_)
    Q_PROPERTY(QColor Color MEMBER color_)
    Q_PROPERTY(QColor SeparatorColor MEMBER separatorColor_)
    Q_PROPERTY(QColor BorderColor MEMBER borderColor_)
    Q_PROPERTY(QColor SelectedColor MEMBER selectedColor_)
    Q_PROPERTY(QColor SelectedBorderColor MEMBER selectedBorderColor_)
    Q_PROPERTY(QColor SelectedFontColor MEMBER selectedFontColor_)
    Q_PROPERTY(QColor FontColor MEMBER fontColor_)
    Q_PROPERTY(bool FlatMenu MEMBER flatMenu_)
    Q_PROPERTY(QString FontName MEMBER fontName_)
    Q_PROPERTY(int FontSize MEMBER fontSize_)
    Q_PROPERTY(bool UseSystemFont MEMBER useSystemFont_)

public:
    explicit TsuiMainMenu(QWidget* owner = nullptr);

private:
    int menuItemHeight_ = 20;
    int separatorHeight_ = 12;
    int barWidth_ = 26;
    QColor barColor_{Qt::black};
    QColor color_{Qt::black};
    QColor separatorColor_{Qt::black};
    QColor borderColor_{Qt::black};
    QColor selectedColor_{Qt::darkBlue};
    QColor selectedBorderColor_{Qt::darkBlue};
    QColor selectedFontColor_{Qt::white};
    QColor fontColor_{Qt::black};
    bool flatMenu_ = false;
    QString fontName_;
    int fontSize_ = 8;
    bool useSystemFont_ = true;
};
