#pragma once
// What TsuiMainMenu and TsuiPopupMenu share: a skinned control (TsuiSkinned) whose items
// are drawn from its look, the item properties, and the Qt style (skinnedmenustyle.h)
// that their QMenus are drawn with.
//
// A menu class derives from its Qt base and this, puts TSUI_MENU_PROPERTIES after
// TSUI_SKINNED_PROPERTIES and runs AttachMenuDrawHandlers on the QMenus it shows. Every
// re-read of the look sets the heights, bar, separator colour and colours again.

#include <QColor>
#include <QList>
#include <QPointer>
#include <QString>

#include "chrome/menuitempainter.h"
#include "look/tsuiskinned.h"

class QAction;
class QMenu;
class QObject;
class SkinnedMenuStyle;

#define TSUI_MENU_PROPERTIES                                                                       \
    Q_PROPERTY(bool OwnerDraw READ OwnerDraw WRITE setOwnerDraw)                                   \
    Q_PROPERTY(int MenuItemHeight READ MenuItemHeight WRITE setMenuItemHeight)                     \
    Q_PROPERTY(int SeparatorHeight READ SeparatorHeight WRITE setSeparatorHeight)                  \
    Q_PROPERTY(int BarWidth READ BarWidth WRITE setBarWidth)                                       \
    Q_PROPERTY(QColor BarColor READ BarColor WRITE setBarColor)                                    \
    Q_PROPERTY(QColor Color READ Color WRITE setColor)                                             \
    Q_PROPERTY(QColor SeparatorColor READ SeparatorColor WRITE setSeparatorColor)                  \
    Q_PROPERTY(QColor SelectedBorderColor READ SelectedBorderColor WRITE setSelectedBorderColor)   \
    Q_PROPERTY(QColor SelectedColor READ SelectedColor WRITE setSelectedColor)                     \
    Q_PROPERTY(QColor SelectedFontColor READ SelectedFontColor WRITE setSelectedFontColor)         \
    Q_PROPERTY(QColor FontColor READ FontColor WRITE setFontColor)                                 \
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)                           \
    Q_PROPERTY(bool FlatMenu READ FlatMenu WRITE setFlatMenu)                                      \
    Q_PROPERTY(QString FontName READ FontName WRITE setFontName)                                   \
    Q_PROPERTY(int FontSize READ FontSize WRITE setFontSize)                                       \
    Q_PROPERTY(int FontCharset READ FontCharset WRITE setFontCharset)                              \
    Q_PROPERTY(bool UseSystemFont READ UseSystemFont WRITE setUseSystemFont)

class TsuiSkinnedMenu : public TsuiSkinned {
public:
    TsuiSkinnedMenu(const TsuiSkinnedMenu&) = delete;
    TsuiSkinnedMenu& operator=(const TsuiSkinnedMenu&) = delete;

    // Always true; writing is ignored.
    bool OwnerDraw() const { return true; }
    void setOwnerDraw(bool) {}
    // Both heights are fixed in a look of textured menus (MacOS): writing them is ignored
    // then.
    int MenuItemHeight() const { return items_.itemHeight; }
    void setMenuItemHeight(int height);
    int SeparatorHeight() const { return items_.separatorHeight; }
    void setSeparatorHeight(int height);
    int BarWidth() const { return items_.barWidth; }
    void setBarWidth(int width);
    QColor BarColor() const { return items_.barColor; }
    void setBarColor(const QColor& color);
    QColor Color() const { return items_.color; }
    void setColor(const QColor& color);
    QColor SeparatorColor() const { return items_.separatorColor; }
    void setSeparatorColor(const QColor& color);
    QColor SelectedBorderColor() const { return items_.selectedBorderColor; }
    void setSelectedBorderColor(const QColor& color);
    QColor SelectedColor() const { return items_.selectedColor; }
    void setSelectedColor(const QColor& color);
    QColor SelectedFontColor() const { return items_.selectedFontColor; }
    void setSelectedFontColor(const QColor& color);
    QColor FontColor() const { return items_.fontColor; }
    void setFontColor(const QColor& color);
    // Stored only.
    QColor BorderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color) { borderColor_ = color; }
    bool FlatMenu() const { return items_.flatMenu; }
    void setFlatMenu(bool flat);
    QString FontName() const { return fontName_; }
    void setFontName(const QString& name);
    int FontSize() const { return fontSize_; }
    void setFontSize(int points);
    // Stored only: Qt picks the script from the text.
    int FontCharset() const { return fontCharset_; }
    void setFontCharset(int charset) { fontCharset_ = qBound(0, charset, 255); }
    bool UseSystemFont() const { return useSystemFont_; }
    void setUseSystemFont(bool use);

    // The font items are written in: the system menu font, or FontName at FontSize.
    QFont ItemFont() const { return items_.font; }
    const MenuItemLook& ItemLook() const { return items_; }
    // The style the menu's QMenus are drawn with.
    SkinnedMenuStyle* MenuStyle() const { return menuStyle_; }

    // Gives the menu and, recursively, every sub-menu of its items this menu's drawing,
    // and makes items captioned exactly "-" separators. Sub-menus added later to a menu
    // handled here are handled as they arrive.
    void AttachMenuDrawHandlers(QMenu* menu);
    // The same for the sub-menu of one item, if it has one.
    void AttachMenuDrawHandlers(QAction* item);

protected:
    // `self` is the menu object, parent of the Qt style; `owner` the window it is created
    // on.
    TsuiSkinnedMenu(QObject* self, QObject* owner);
    ~TsuiSkinnedMenu() override;

    void styleUpdated(const SkinLook& look) override;
    // Called when something the items are drawn with has changed.
    virtual void menuLookChanged() {}

private:
    // The look's values: heights, bar, separator colour, then the colours.
    void takeLook(const SkinLook& look);
    void updateFont();
    void changed();

    SkinnedMenuStyle* menuStyle_;
    QObject* watcher_;
    MenuItemLook items_;
    QColor borderColor_{Qt::black};
    QString fontName_ = QStringLiteral("MS Sans Serif");
    int fontSize_ = 8;
    int fontCharset_ = 1;
    bool useSystemFont_ = true;
    QList<QPointer<QMenu>> attached_;
};
