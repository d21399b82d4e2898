#pragma once
// The system menu of a title bar: minimize, maximize or restore, close. It opens from
// the control box and with Alt+Space; each item is enabled only when the bar has the
// button it stands for.

#include <QMenu>

#include "tsuifiletheme.h"
#include "tsuistylebinding.h"

class TsuiTitleBar;
class QAction;

class TsuiTitleBarPopupMenu : public QMenu {
    Q_OBJECT
    Q_PROPERTY(tsui::TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE setFileTheme)

public:
    explicit TsuiTitleBarPopupMenu(TsuiTitleBar* bar);

    TsuiUIStyle UIStyle() const { return binding_.uiStyle(); }
    void setUIStyle(TsuiUIStyle style) { binding_.setUIStyle(style); }
    TsuiFileTheme* FileTheme() const { return binding_.fileTheme(); }
    void setFileTheme(TsuiFileTheme* theme) { binding_.setFileTheme(theme); }

    // Enables the items for the bar's buttons (visible or not) and shows the menu at the
    // screen position.
    void Popup(QPoint screenPos);
    // Enables the items as Popup does, without showing the menu.
    void UpdateItems();

    QAction* MinimizeItem() const { return minimize_; }
    QAction* MaximizeItem() const { return maximize_; }
    QAction* CloseItem() const { return close_; }

private:
    TsuiTitleBar* bar_;
    TsuiStyleBinding binding_;
    QAction* minimize_;
    QAction* maximize_;
    QAction* close_;
};
