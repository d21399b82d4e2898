#include "chrome/tsuiform.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QMetaEnum>
#include <QPainter>
#include <algorithm>
#include <exception>
#include <stdexcept>

#include "chrome/chromegeometry.h"
#include "chrome/framecontroller.h"
#include "chrome/framemenubar.h"
#include "chrome/refusalreport.h"
#include "chrome/tsuimainmenu.h"
#include "chrome/tsuititlebarpopupmenu.h"
#include "chrome/windowfitting.h"
#include "drawing/drawingoperations.h"
#include "look/looktraits.h"

namespace {

// A maximized or full-screen window has the size its window system gave it, and the frame
// does not resize it then (a new border width or panel size is placed within the size as
// it is): resizing would fight the window manager, and some window systems (Wayland)
// refuse it or drop the connection.
bool HostSizeBelongsToWindowSystem(const QWidget* host) {
    return chrome::IsMaximized(host) || (host->windowState() & Qt::WindowFullScreen);
}

// The frame that filters the application's keys for Alt+Space: the first one created
// while there was none.
TsuiForm* g_appFilterOwner = nullptr;

// A border wider than this comes only from a damaged theme; it would leave no room
// for the window's content.
constexpr int kMaxBorderWidth = 32;
constexpr int kMaxMinimumWidth = 1000;

TsuiForm::BorderStyle BorderStyleOf(const QWidget* host) {
    if (!host)
        return TsuiForm::bsSizeable;
    const QVariant value = host->property("BorderStyle");
    if (!value.isValid())
        return TsuiForm::bsSizeable;
    const QMetaEnum meta = QMetaEnum::fromType<TsuiForm::BorderStyle>();
    bool ok = false;
    int style = meta.keyToValue(value.toString().toLatin1().constData(), &ok);
    if (!ok)
        style = value.toInt(&ok);
    return ok && meta.valueToKey(style) ? static_cast<TsuiForm::BorderStyle>(style)
                                        : TsuiForm::bsSizeable;
}

} // namespace

TsuiForm::TsuiForm(QWidget* owner) : QWidget(owner), TsuiSkinned(this, nullptr) {
    if (owner) {
        for (const QObject* child : owner->children()) {
            if (child != this && qobject_cast<const TsuiForm*>(child))
                throw std::logic_error(kOnlyOneFormText);
        }
    }
    QWidget* hostWindow = host();
    if (hostWindow) {
        hostWindow->setMinimumHeight(50);
        hostWindow->setMinimumWidth(std::max(hostWindow->minimumWidth(), 125));
        hostWindow->setContentsMargins(0, 0, 0, 0);
    }
    titleBar_ = new TsuiTitleBar(this);
    titleBar_->setObjectName(QStringLiteral("TitleBar"));
    titleBar_->move(0, 0);
    connect(titleBar_, &TsuiTitleBar::OnCustomBtnsClick, this,
            &TsuiForm::OnTitleBarCustomBtnsClick);
    connect(titleBar_, &TsuiTitleBar::OnHelpBtnClick, this, &TsuiForm::OnTitleBarHelpBtnClick);
    connect(titleBar_, &TsuiTitleBar::shapeChanged, this, &TsuiForm::applyWindowShape);
    menuBarColor_ = color_;
    initialBorderStyle_ = BorderStyleOf(hostWindow);
    if (hostWindow) {
        controller_ = new FrameController(hostWindow, this);
        PlaceFrame();
    }

    setUIStyle(TsuiUIStyle::DeepBlue);
    autoUpdateSub_ = false;
    if (hostWindow)
        setCaption(hostWindow->windowTitle());

    if (hostWindow && hostWindow->isWindow()) {
        // The system's caption and border make way for ours.
        const bool wasVisible = hostWindow->isVisible();
        hostWindow->setWindowFlag(Qt::FramelessWindowHint, true);
        if (wasVisible)
            hostWindow->show();
    }
    if (!g_appFilterOwner && qApp) {
        g_appFilterOwner = this;
        ownsAppFilter_ = true;
        qApp->installEventFilter(this);
    }
}

TsuiForm::~TsuiForm() {
    if (ownsAppFilter_) {
        if (qApp)
            qApp->removeEventFilter(this);
        g_appFilterOwner = nullptr;
    }
    // The controller filters the host's events; it must not outlive the frame's parts.
    delete controller_;
    controller_ = nullptr;
}

bool TsuiForm::HostSizeable() const {
    return initialBorderStyle_ == bsSizeable || initialBorderStyle_ == bsSizeToolWin;
}

bool TsuiForm::takesLookWrite(const TsuiFileTheme* theme, LookChange change) const {
    return change != LookChange::Theme || theme != FileTheme();
}

void TsuiForm::styleUpdated(const SkinLook& look) {
    backgroundTile_ = QImage();
    const TsuiUIStyle style = UIStyle();
    if (const auto tile = look.traits().windowTile) {
        // Without its tile the panel shows its Color.
        const SkinFrameSet& picture = SkinLook::pictureSet(*tile);
        if (!picture.fallback)
            backgroundTile_ = picture.whole;
    }
    setBorderColor(look.color(SkinColor::FormBorder));
    setBorderWidth(look.integer(SkinInt::FormBorderWidth));
    setColor(look.color(SkinColor::FormBackground));
    setMenuBarColor(color_);
    // A look's own least width for its window; a larger one comes only from a damaged
    // theme and is not taken.
    const int minWidth = look.integer(SkinInt::FormMinWidth);
    if (QWidget* hostWindow = host();
        hostWindow && !titleBar_->Custom() && minWidth > 0 && minWidth <= kMaxMinimumWidth)
        hostWindow->setMinimumWidth(minWidth);
    if (lookChange() == LookChange::Reload) {
        // The same theme with a new file is no new style: the title bar keeps the caption
        // colour its owner gave it. Bar and menu are re-read here, before the frame is
        // placed for the bar's new height, rather than when the theme tells them.
        titleBar_->setFileTheme(FileTheme());
        if (menu_)
            menu_->setFileTheme(FileTheme());
    } else {
        titleBar_->setLook(style, FileTheme());
        if (menu_)
            menu_->setLook(style, FileTheme());
    }
    // The children follow (when UIStyleAutoUpdateSub is set) once this returns.
    PlaceFrame();
    update();
    repaintHostBorder();
}

void TsuiForm::setCaption(const QString& caption) {
    titleBar_->setCaption(caption);
    if (QWidget* hostWindow = host())
        hostWindow->setWindowTitle(caption);
}

void TsuiForm::setBorderColor(const QColor& color) {
    borderColor_ = color;
    PlaceFrame();
    repaintHostBorder();
}

void TsuiForm::setBorderWidth(int width) {
    width = std::clamp(width, 0, kMaxBorderWidth);
    borderWidth_ = width;
    // The host grows or shrinks around the panel's width; its height follows from the
    // panel height that the new border leaves. This runs for the same width too: a style
    // applied to a window whose border it keeps resizes the window by the same rules
    // (with a border of 2 or more the host ends up a pixel taller, since it is made
    // h + BW + BW div 2 high around a panel BW shorter than itself).
    setWidth(Width());
    PlaceFrame();
    setHeight(Height());
    repaintHostBorder();
}

void TsuiForm::setTitleBarVisible(bool visible) {
    if (visible == titleBarVisible_)
        return;
    titleBarVisible_ = visible;
    titleBar_->setVisible(visible);
    titleBar_->move(0, 0);
    PlaceFrame();
    placeMenu();
    repaintHostBorder();
}

void TsuiForm::setColor(const QColor& color) {
    if (color == color_)
        return;
    color_ = color;
    update();
}

void TsuiForm::setFormPanel(QWidget* panel) {
    if (panel == this) {
        ReportRefusal(
            this, QStringLiteral("Sorry, you can't select the Form assign to FormPanel property"));
        return;
    }
    if (formPanel_ && formPanel_->parentWidget())
        formPanel_->parentWidget()->removeEventFilter(this);
    formPanel_ = panel;
    if (!panel)
        return;
    if (auto* frame = qobject_cast<QFrame*>(panel))
        frame->setFrameShape(QFrame::NoFrame);
    if (QWidget* parent = panel->parentWidget()) {
        panel->setGeometry(parent->contentsRect());
        parent->installEventFilter(this);
    }
}

void TsuiForm::setMenu(TsuiMainMenu* menu) {
    if (menu == menu_)
        return;
    if (menu_) {
        disconnect(menu_, &QObject::destroyed, this, nullptr);
        if (menu_->Form() == this)
            menu_->setForm(nullptr);
    }
    menu_ = menu;
    if (menu_) {
        menu_->setForm(this);
        connect(menu_, &QObject::destroyed, this, [this] {
            delete menuBar_;
            menuBar_ = nullptr;
        });
        if (!menuBar_) {
            menuBar_ = new FrameMenuBar(this);
            menuBar_->setBarColor(menuBarColor_);
            menuBar_->setBarHeight(menuBarHeight_);
            menuBar_->show();
        }
        menuBar_->setMenu(menu_);
    } else {
        delete menuBar_;
        menuBar_ = nullptr;
    }
    placeMenu();
}

void TsuiForm::setMenuBarColor(const QColor& color) {
    menuBarColor_ = color;
    if (menuBar_)
        menuBar_->setBarColor(color);
}

void TsuiForm::setMenuBarHeight(int height) {
    if (height == menuBarHeight_ || height < 0)
        return;
    menuBarHeight_ = height;
    if (menuBar_)
        menuBar_->setBarHeight(height);
    placeMenu();
}

void TsuiForm::setHeight(int height) {
    QWidget* hostWindow = host();
    if (!hostWindow) {
        resize(width(), height);
        return;
    }
    resizeHost(hostWindow, QSize(hostWindow->width(), chrome::HostHeightFor(height, borderWidth_)));
}

void TsuiForm::setWidth(int width) {
    QWidget* hostWindow = host();
    if (!hostWindow) {
        resize(width, height());
        return;
    }
    resizeHost(hostWindow, QSize(chrome::HostWidthFor(width, borderWidth_), hostWindow->height()));
}

void TsuiForm::resizeHost(QWidget* hostWindow, QSize size) {
    if (!HostSizeBelongsToWindowSystem(hostWindow))
        hostWindow->resize(size);
    PlaceFrame();
}

void TsuiForm::PlaceFrame() {
    if (QWidget* hostWindow = host())
        setGeometry(chrome::FramePlacement(hostWindow->size(), borderWidth_, titleBarVisible_));
    layoutContents();
}

void TsuiForm::layoutContents() {
    // Done here and not only in resizeEvent: a hidden frame gets no resize events.
    titleBar_->setGeometry(0, 0, width(), titleBar_->height());
    titleBar_->UpdateLayout();
    placeMenu();
}

void TsuiForm::PaintHostBorder(QPainter& painter) const {
    const QWidget* hostWindow = host();
    if (!hostWindow)
        return;
    for (const QRect& strip : chrome::HostBorderRects(hostWindow->size(), borderWidth_))
        painter.fillRect(strip, borderColor_);
}

bool TsuiForm::HandleMenuShortCut(const QKeyEvent& key) {
    const QWidget* hostWindow = host();
    if (!hostWindow || !menu_ || !hostWindow->isActiveWindow() || !titleBar_->FormActive())
        return false;
    return menu_->IsShortCut(key);
}

QRect TsuiForm::MenuBarRect() const {
    const int top = titleBarVisible_ ? titleBar_->height() : 0;
    return QRect(0, top, width(), menuBarHeight_);
}

void TsuiForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!backgroundTile_.isNull())
        painter.fillRect(rect(), QBrush(SkinImageFor(painter, backgroundTile_)));
    else
        painter.fillRect(rect(), color_);
}

void TsuiForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutContents();
}

bool TsuiForm::eventFilter(QObject* watched, QEvent* event) {
    if (formPanel_ && watched == formPanel_->parentWidget() && event->type() == QEvent::Resize) {
        formPanel_->setGeometry(formPanel_->parentWidget()->contentsRect());
        return false;
    }
    if (event->type() != QEvent::KeyPress || !ownsAppFilter_)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers();
    if (key->key() != Qt::Key_Space || !(mods & Qt::AltModifier) || (mods & Qt::ControlModifier))
        return false;
    // Alt+Space in any window of the program opens this frame's system menu, below the
    // title bar of its window.
    const QWidget* hostWindow = host() ? host()->window() : window();
    titleBar_->SystemMenu()->Popup(
        QPoint(hostWindow->x(), hostWindow->y() + (titleBarVisible_ ? titleBar_->height() : 0)));
    return true;
}

void TsuiForm::placeMenu() {
    if (menuBar_)
        menuBar_->setGeometry(MenuBarRect());
}

void TsuiForm::HostResized() {
    PlaceFrame();
    repaintHostBorder();
    titleBar_->RefreshMaxButtons();
    applyWindowShape();
}

void TsuiForm::HostStateChanged() {
    titleBar_->RefreshMaxButtons();
    applyWindowShape();
}

void TsuiForm::applyWindowShape() {
    QWidget* hostWindow = host();
    if (!hostWindow || !hostWindow->isWindow())
        return;
    if (RoundCorner() <= 1)
        hostWindow->clearMask();
    else
        hostWindow->setMask(chrome::TopRoundedRegion(hostWindow->size(), RoundCorner()));
}

void TsuiForm::repaintHostBorder() {
    if (QWidget* hostWindow = host())
        hostWindow->update();
}
