#pragma once
// The skinned caption bar at the top of a skinned window: a strip of pictures (its
// sections), the window buttons and the caption, shortened with "..." when it does not
// fit. Buttons act when the mouse button comes up on the button it went down on; the
// control box and Alt+Space open its system menu.
//
// The bar paints, lays out its buttons and says where they are (ButtonLayout); it never
// acts on the window itself. What its buttons and menu ask of the window (maximize,
// minimize, close) goes out as windowRequested, and the window's round top corners as
// shapeChanged, to the frame, whose controller also moves the window by the rest of the
// bar and maximizes it on a double click there.
//
// The buttons are painted by the bar; for assistive tools each one is also an invisible
// push button child ("Close", "Maximize" or "Restore", "Minimize", ...) that presses it.

#include <QColor>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <map>
#include <memory>
#include <vector>

#include "chrome/chromegeometry.h"
#include "chrome/framegesture.h"
#include "chrome/tsuititlebarbuttons.h"
#include "chrome/tsuititlebarsections.h"
#include "look/tsuiskinned.h"

class QAbstractButton;
class TsuiForm;
class TsuiTitleBarPopupMenu;

class TsuiTitleBar : public QWidget, public TsuiSkinned {
    Q_OBJECT
    TSUI_SKINNED_PROPERTIES
    Q_PROPERTY(bool Custom READ Custom WRITE setCustom)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(int ButtonInterval READ ButtonInterval WRITE setButtonInterval)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE setFontColor)
    Q_PROPERTY(bool FormActive READ FormActive WRITE setFormActive)
    Q_PROPERTY(int LeftBtnXOffset READ LeftBtnXOffset WRITE setLeftBtnXOffset)
    Q_PROPERTY(int RightBtnXOffset READ RightBtnXOffset WRITE setRightBtnXOffset)
    Q_PROPERTY(bool DrawAppIcon READ DrawAppIcon WRITE setDrawAppIcon)
    Q_PROPERTY(int RoundCorner READ RoundCorner WRITE setRoundCorner)

public:
    explicit TsuiTitleBar(QWidget* owner);
    ~TsuiTitleBar() override;

    bool Custom() const { return custom_; }
    void setCustom(bool custom) { custom_ = custom; }
    bool AutoSize() const { return autoSize_; }
    // With sections the bar takes the height of the first section's picture.
    void setAutoSize(bool autoSize);
    int ButtonInterval() const { return buttonInterval_; }
    void setButtonInterval(int interval);
    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    QColor FontColor() const { return fontColor_; }
    void setFontColor(const QColor& color);
    bool FormActive() const { return formActive_; }
    void setFormActive(bool active);
    int LeftBtnXOffset() const { return leftOffset_; }
    void setLeftBtnXOffset(int offset);
    int RightBtnXOffset() const { return rightOffset_; }
    void setRightBtnXOffset(int offset);
    bool DrawAppIcon() const { return drawAppIcon_; }
    void setDrawAppIcon(bool draw);
    int RoundCorner() const { return roundCorner_; }
    void setRoundCorner(int diameter);

    TsuiTitleBarSections& Sections() { return sections_; }
    const TsuiTitleBarSections& Sections() const { return sections_; }
    void setSections(const TsuiTitleBarSections& sections) { sections_.Assign(sections); }
    TsuiTitleBarButtons& Buttons() { return buttons_; }
    const TsuiTitleBarButtons& Buttons() const { return buttons_; }
    void setButtons(const TsuiTitleBarButtons& buttons) { buttons_.Assign(buttons); }

    TsuiTitleBarPopupMenu* SystemMenu() const { return systemMenu_; }

    // Every maximize button shows the glyph for the window's current state.
    void RefreshMaxButtons();
    // Reloads one button's pictures from this bar's look.
    void LoadButtonPictures(TsuiTitleBarButton& button);

    // What the button at `index` does when clicked (also from the system menu).
    void RunButtonAction(int index);
    void MinimizeWindow();
    void CloseWindow();
    // Opens the system menu below the bar's bottom-left corner.
    void PopupSystemMenu();
    // Forgets a click on the control box whose menu waits for a possible second click.
    void CancelDelayedSystemMenu() { systemMenuDelay_.stop(); }

    // Lays the buttons out for the bar's current width (also done on every resize event,
    // which a hidden bar does not get).
    void UpdateLayout() { relayout(); }
    // Where things are, in bar coordinates, as last laid out.
    const chrome::TitleButtonLayout& ButtonLayout() const { return layout_; }
    int HoveredIndex() const { return hovered_; }
    bool Pressed() const { return pressed_; }
    // The caption as it is drawn, shortened to the space between the buttons.
    QString DrawnCaption() const;
    // Height and top of the band the caption is centred in.
    int CaptionBandHeight() const { return bandHeight_; }
    int CaptionBandTop() const { return bandTop_; }

    // Called by the collections.
    void sectionsChanged();
    void buttonsChanged();

Q_SIGNALS:
    void OnCustomBtnsClick(TsuiTitleBar* sender, int index);
    void OnHelpBtnClick(TsuiTitleBar* sender, int index);
    // A button or the system menu asks this of the window.
    void windowRequested(chrome::WindowRequest request);
    // RoundCorner changed: the window's shape follows.
    void shapeChanged();

protected:
    void styleUpdated(const SkinLook& look) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void relayout();
    void syncAccessibleButtons();
    void setHovered(int index);
    // The button's place in the bar; a null rect when it has none (yet).
    QRect buttonRect(int index) const;
    int buttonAt(QPoint pos) const;
    void clickButton(int index);
    TsuiForm* parentForm() const;

    TsuiTitleBarSections sections_;
    TsuiTitleBarButtons buttons_;
    TsuiTitleBarPopupMenu* systemMenu_ = nullptr;
    bool custom_ = false;
    bool autoSize_ = false;
    int buttonInterval_ = 0;
    QString caption_;
    QColor fontColor_{Qt::white};
    bool formActive_ = true;
    int leftOffset_ = 0;
    int rightOffset_ = 0;
    bool drawAppIcon_ = false;
    int roundCorner_ = 0;
    QColor roundingPen_{Qt::black};
    int bandHeight_ = 17;
    int bandTop_ = 2;
    QColor fallbackFill_{0x50, 0x50, 0x50};

    chrome::TitleButtonLayout layout_;
    int hovered_ = -1;
    bool pressed_ = false;
    int pressedButton_ = -1;
    QTimer systemMenuDelay_;
    QImage appIcon_;
    std::vector<QAbstractButton*> accessibleButtons_;
};
