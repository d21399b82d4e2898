#pragma once
// The main menu of a skinned window. For now a QMenuBar underneath, which the window's
// TsuiForm places in its menu bar band; the owner-drawn look comes with the skinned
// menus. The colour and size properties are stored for that drawing.

#include <QColor>
#include <QMenuBar>

#include "tsuifiletheme.h"
#include "tsuistylebinding.h"

class TsuiMainMenu : public QMenuBar {
    Q_OBJECT
    Q_PROPERTY(tsui::TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE setFileTheme)
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

    TsuiUIStyle UIStyle() const { return binding_.uiStyle(); }
    void setUIStyle(TsuiUIStyle style) { binding_.setUIStyle(style); }
    TsuiFileTheme* FileTheme() const { return binding_.fileTheme(); }
    void setFileTheme(TsuiFileTheme* theme) { binding_.setFileTheme(theme); }

private:
    TsuiStyleBinding binding_;
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
