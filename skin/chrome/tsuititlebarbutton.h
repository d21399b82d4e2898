#pragma once
// One window button of a title bar: its role, its three pictures and where it sits.
// Every change repaints the bar that owns it. The pictures come from the bar's look: the
// bar loads them when the button's role or the look changes.

#include <QImage>
#include <QMenu>
#include <QPointer>
#include <array>

class TsuiTitleBarButtons;

// The role of a window button. In a namespace of its own so that its enumerators do not
// meet others of the same name (the message window's icon types have a suiHelp too);
// written TsuiTitleBarBtnType::suiClose.
namespace tsuititlebar {
enum TsuiTitleBarBtnType { suiMax, suiMin, suiClose, suiHelp, suiControlBox, suiCustom };
} // namespace tsuititlebar
using tsuititlebar::TsuiTitleBarBtnType;

class TsuiTitleBarButton {
public:
    enum Picture { Normal, MouseOn, MouseDown };

    explicit TsuiTitleBarButton(TsuiTitleBarButtons* collection);
    TsuiTitleBarButton(const TsuiTitleBarButton&) = delete;
    TsuiTitleBarButton& operator=(const TsuiTitleBarButton&) = delete;

    int Index() const;
    TsuiTitleBarButtons* Collection() const { return collection_; }

    TsuiTitleBarBtnType ButtonType() const { return type_; }
    // Refused (with a message, returning false) when it would make a second control box.
    bool setButtonType(TsuiTitleBarBtnType type);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool transparent);
    int Top() const { return top_; }
    void setTop(int top);
    QMenu* ControlBoxMenu() const { return controlBoxMenu_; }
    void setControlBoxMenu(QMenu* menu);
    bool Visible() const { return visible_; }
    void setVisible(bool visible);

    const QImage& PicNormal() const { return pictures_[Normal]; }
    const QImage& PicMouseOn() const { return pictures_[MouseOn]; }
    const QImage& PicMouseDown() const { return pictures_[MouseDown]; }
    void setPicNormal(const QImage& image) { setPicture(Normal, image); }
    void setPicMouseOn(const QImage& image) { setPicture(MouseOn, image); }
    void setPicMouseDown(const QImage& image) { setPicture(MouseDown, image); }
    void setPicture(Picture which, const QImage& image);
    const QImage& picture(Picture which) const { return pictures_[which]; }
    // The picture as it is drawn on a device of `ratio`: from the @2x set above 1 when the
    // picture is one of the program's bitmaps, with its transparent colour (the colour of
    // the 1x picture's bottom-left pixel) left out when Transparent is set.
    const QImage& drawn(Picture which, qreal ratio = 1.0) const;

    // Copies Visible, ButtonType, Transparent, Top, the pictures and ControlBoxMenu.
    void Assign(const TsuiTitleBarButton& other);

private:
    void changed();

    TsuiTitleBarButtons* collection_;
    TsuiTitleBarBtnType type_ = TsuiTitleBarBtnType::suiCustom;
    bool transparent_ = false;
    int top_ = 2;
    QPointer<QMenu> controlBoxMenu_;
    bool visible_ = true;
    std::array<QImage, 3> pictures_;
    // By ratio (1, above 1), then by picture.
    mutable std::array<std::array<QImage, 3>, 2> drawn_;
    mutable std::array<bool, 2> drawnValid_{};
};
