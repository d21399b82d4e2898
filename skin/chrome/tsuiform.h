#pragma once
// The frame of a skinned window: border, title band and menu bar band around the
// window's content. This first version keeps the host's own window decoration and only
// lays out and fills the frame (border ring, caption text in the title band, the
// attached TsuiMainMenu in the menu bar band); the skinned title bar, its buttons and
// the frameless window come with the skinned drawing.

#include <QColor>
#include <QPointer>
#include <QWidget>

#include "tsuifiletheme.h"
#include "tsuistylebinding.h"

#include "tsuimainmenu.h"

class TsuiForm : public QWidget {
    Q_OBJECT
    Q_MOC_INCLUDE("tsuimainmenu.h")
    Q_PROPERTY(tsui::TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(bool UIStyleAutoUpdateSub MEMBER autoUpdateSub_)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(QColor MenuBarColor READ MenuBarColor WRITE setMenuBarColor)
    Q_PROPERTY(int MenuBarHeight READ MenuBarHeight WRITE setMenuBarHeight)
    Q_PROPERTY(int RoundCorner MEMBER roundCorner_)
    Q_PROPERTY(bool TitleBarCustom MEMBER titleBarCustom_)
    Q_PROPERTY(bool TitleBarDrawAppIcon MEMBER titleBarDrawAppIcon_)
    Q_PROPERTY(TsuiMainMenu* Menu READ Menu WRITE setMenu)

public:
    // Height of the title band below the top border.
    static constexpr int kTitleBarHeight = 23;

    explicit TsuiForm(QWidget* owner = nullptr);

    TsuiUIStyle UIStyle() const { return binding_.uiStyle(); }
    void setUIStyle(TsuiUIStyle style) { binding_.setUIStyle(style); }
    TsuiFileTheme* FileTheme() const { return binding_.fileTheme(); }
    void setFileTheme(TsuiFileTheme* theme) { binding_.setFileTheme(theme); }

    QString Caption() const { return caption_; }
    // Also the host window's title.
    void setCaption(const QString& caption);
    QColor BorderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);
    int BorderWidth() const { return borderWidth_; }
    void setBorderWidth(int width);
    QColor Color() const { return color_; }
    void setColor(const QColor& color);
    QColor MenuBarColor() const { return menuBarColor_; }
    void setMenuBarColor(const QColor& color);
    int MenuBarHeight() const { return menuBarHeight_; }
    void setMenuBarHeight(int height);
    TsuiMainMenu* Menu() const { return menu_; }
    // Moves the menu into the menu bar band; nullptr removes it from the frame.
    void setMenu(TsuiMainMenu* menu);

    // The band the menu occupies, in frame coordinates.
    QRect MenuBarRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeMenu();

    TsuiStyleBinding binding_;
    QString caption_;
    QColor borderColor_{Qt::gray};
    int borderWidth_ = 1;
    QColor color_{Qt::lightGray};
    QColor menuBarColor_{Qt::lightGray};
    int menuBarHeight_ = 22;
    int roundCorner_ = 0;
    bool autoUpdateSub_ = false;
    bool titleBarCustom_ = false;
    bool titleBarDrawAppIcon_ = false;
    QPointer<TsuiMainMenu> menu_;
};
