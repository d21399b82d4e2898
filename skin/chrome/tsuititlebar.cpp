#include "chrome/tsuititlebar.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <exception>

#include "chrome/tsuiform.h"
#include "chrome/tsuititlebarpopupmenu.h"
#include "chrome/windowfitting.h"
#include "drawing/boldface.h"
#include "drawing/drawingoperations.h"
#include "drawing/skinbitmaps.h"
#include "look/looktraits.h"
#include "look/systemcolors.h"

namespace {

// The glyph a button shows; the maximize button shows restore while maximized.
TitleGlyph GlyphOf(TsuiTitleBarBtnType type, bool maximized) {
    switch (type) {
    case TsuiTitleBarBtnType::suiControlBox:
        return TitleGlyph::ControlBox;
    case TsuiTitleBarBtnType::suiHelp:
        return TitleGlyph::Help;
    case TsuiTitleBarBtnType::suiMax:
        return maximized ? TitleGlyph::Restore : TitleGlyph::Maximize;
    case TsuiTitleBarBtnType::suiMin:
        return TitleGlyph::Minimize;
    case TsuiTitleBarBtnType::suiClose:
    case TsuiTitleBarBtnType::suiCustom:
        break;
    }
    return TitleGlyph::Close;
}

// When a look has no usable bar pictures the bar still has a height and buttons of a
// size that can be hit.
constexpr int kFallbackBarHeight = 23;
constexpr int kFallbackButtonSize = 17;

// A theme's measures beyond these come only from a damaged file: button offsets keep the
// buttons on any bar at least the look's least window width wide, and a button top or a
// corner diameter stays within a bar's height.
constexpr int kMaxButtonOffset = 100;
constexpr int kMaxButtonTop = 64;
constexpr int kMaxRoundCorner = 64;

// A plain button picture for a look without a usable strip: a grey square with the
// glyph of the button's role, lighter under the mouse and darker when pressed.
QImage FallbackButtonPicture(TsuiTitleBarBtnType type, bool maximized, int state) {
    const int s = kFallbackButtonSize;
    QImage image(s, s, QImage::Format_RGB32);
    static const QRgb kFaces[3] = {0xD4D0C8, 0xEEEEEE, 0xA0A0A0};
    image.fill(kFaces[std::clamp(state, 0, 2)]);
    QPainter p(&image);
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.drawRect(0, 0, s - 1, s - 1);
    p.setPen(QPen(Qt::black, 2));
    switch (type) {
    case TsuiTitleBarBtnType::suiClose:
        p.drawLine(5, 5, s - 6, s - 6);
        p.drawLine(s - 6, 5, 5, s - 6);
        break;
    case TsuiTitleBarBtnType::suiMax:
        if (maximized) {
            p.setPen(QPen(Qt::black, 1));
            p.drawRect(6, 4, 6, 6);
            p.drawRect(4, 7, 6, 6);
        } else {
            p.setPen(QPen(Qt::black, 1));
            p.drawRect(4, 4, s - 9, s - 9);
            p.drawLine(4, 5, s - 5, 5);
        }
        break;
    case TsuiTitleBarBtnType::suiMin:
        p.drawLine(5, s - 6, s - 6, s - 6);
        break;
    case TsuiTitleBarBtnType::suiHelp:
        p.drawText(QRect(0, 0, s, s), Qt::AlignCenter, QStringLiteral("?"));
        break;
    case TsuiTitleBarBtnType::suiControlBox:
        p.setPen(QPen(Qt::black, 1));
        for (int y = 5; y <= 11; y += 3)
            p.drawLine(4, y, s - 5, y);
        break;
    case TsuiTitleBarBtnType::suiCustom:
        break;
    }
    return image;
}

// An invisible push button over a painted title button, so that assistive tools see a
// button with a name and can press it. The bar keeps all mouse input.
class TitleButtonAccess : public QAbstractButton {
public:
    explicit TitleButtonAccess(QWidget* parent) : QAbstractButton(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {}
};

QString AccessibleNameOf(TsuiTitleBarBtnType type, bool maximized, int index) {
    switch (type) {
    case TsuiTitleBarBtnType::suiMax:
        return maximized ? QStringLiteral("Restore") : QStringLiteral("Maximize");
    case TsuiTitleBarBtnType::suiMin:
        return QStringLiteral("Minimize");
    case TsuiTitleBarBtnType::suiClose:
        return QStringLiteral("Close");
    case TsuiTitleBarBtnType::suiHelp:
        return QStringLiteral("Help");
    case TsuiTitleBarBtnType::suiControlBox:
        return QStringLiteral("System menu");
    case TsuiTitleBarBtnType::suiCustom:
        break;
    }
    return QStringLiteral("Button %1").arg(index + 1);
}

} // namespace

TsuiTitleBar::TsuiTitleBar(QWidget* owner)
    : QWidget(owner), TsuiSkinned(this, nullptr), sections_(this), buttons_(this) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont captionFont(QStringLiteral("Tahoma"));
    captionFont.setPixelSize(11);
    setFont(BoldFont(captionFont));
    systemMenu_ = new TsuiTitleBarPopupMenu(this);
    // A click on the control box opens the system menu only once it is clear that no
    // second click follows: a double click closes the window instead, and an open menu
    // would swallow the second click.
    systemMenuDelay_.setSingleShot(true);
    systemMenuDelay_.setInterval(QApplication::doubleClickInterval());
    connect(&systemMenuDelay_, &QTimer::timeout, this, &TsuiTitleBar::PopupSystemMenu);
    if (HasSkinBitmap(QStringLiteral("MAINICON"))) {
        // Shrunk to 16 x 16 logical pixels, from the @2x set on a scaled screen.
        const qreal ratio = qApp->devicePixelRatio();
        appIcon_ = TryLoadSkinBitmapForRatio(QStringLiteral("MAINICON"), ratio);
        const qreal scale = appIcon_.devicePixelRatio();
        appIcon_ =
            appIcon_.scaled(QSize(16, 16) * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        appIcon_.setDevicePixelRatio(scale);
    }

    for (TsuiTitleBarBtnType type :
         {TsuiTitleBarBtnType::suiControlBox, TsuiTitleBarBtnType::suiClose,
          TsuiTitleBarBtnType::suiMax, TsuiTitleBarBtnType::suiMin})
        buttons_.Add()->setButtonType(type);
    // The owner is the frame, not a window, so the bar starts in the fall-back look.
    setUIStyle(TsuiUIStyle::DeepBlue);
}

TsuiTitleBar::~TsuiTitleBar() = default;

void TsuiTitleBar::styleUpdated(const SkinLook& look) {
    if (custom_)
        return;
    const TsuiUIStyle pictureStyle =
        look.usesFileTheme() ? TsuiUIStyle::FromThemeFile : look.effectiveStyle();

    // A picture the look lacks is a blank stand-in of a usable height; the plain fill
    // under the sections shows through it.
    sections_.Clear();
    TsuiTitleBarSection* left = sections_.Add();
    left->setPicture(look.strip<SkinImage::TitleBarLeft>().whole());
    left->setAutoSize(true);
    left->setAlign(suiLeft);
    TsuiTitleBarSection* right = sections_.Add();
    right->setPicture(look.strip<SkinImage::TitleBarRight>().whole());
    right->setAutoSize(true);
    right->setAlign(suiRight);
    TsuiTitleBarSection* client = sections_.Add();
    client->setPicture(look.strip<SkinImage::TitleBarClient>().whole());
    client->setAlign(suiClient);

    // Offsets and measures out of all reason (a damaged theme) are brought back into a
    // range where the buttons stay on the bar.
    leftOffset_ = std::clamp(look.integer(SkinInt::TitleBarButtonLeftOffset), -kMaxButtonOffset,
                             kMaxButtonOffset);
    rightOffset_ = std::clamp(look.integer(SkinInt::TitleBarButtonRightOffset), -kMaxButtonOffset,
                              kMaxButtonOffset);
    roundingPen_ = look.color(SkinColor::FormBorder);
    const auto strip = look.strip<SkinImage::TitleBarButton>();
    bandHeight_ = strip.isFallback() ? kFallbackButtonSize : strip.whole().height();
    bandTop_ = std::clamp(look.integer(SkinInt::TitleBarButtonTop), 0, kMaxButtonTop);
    roundCorner_ = std::clamp(look.integer(SkinInt::FormRoundCorner), 0, kMaxRoundCorner);

    for (int i = 0; i < buttons_.Count(); ++i)
        LoadButtonPictures(*buttons_.Items(i));
    systemMenu_->setLook(pictureStyle, FileTheme());
    Q_EMIT shapeChanged();
    // A change of theme alone keeps the caption colour the owner chose.
    if (lookChange() == LookChange::Style)
        fontColor_ = QColor::fromRgb(look.traits().titleCaptionColor);
    // The plain fill under a missing picture contrasts with the caption.
    fallbackFill_ =
        fontColor_.lightness() > 128 ? QColor(0x50, 0x50, 0x50) : QColor(0xC8, 0xC8, 0xC8);
    setAutoSize(true);
    relayout();
    update();
}

void TsuiTitleBar::LoadButtonPictures(TsuiTitleBarButton& button) {
    const SkinLook& look = this->look();
    button.setTransparent(look.flag(SkinBool::TitleBarButtonTransparent));
    if (button.ButtonType() == TsuiTitleBarBtnType::suiCustom)
        return;
    const bool maximized = !custom_ && chrome::IsMaximized(window());
    const TitleGlyph glyph = GlyphOf(button.ButtonType(), maximized);
    const auto strip = look.strip<SkinImage::TitleBarButton>();
    static constexpr ButtonFrame kStates[3] = {ButtonFrame::Normal, ButtonFrame::Hover,
                                               ButtonFrame::Pressed};
    for (int k = 0; k < 3; ++k) {
        const auto which = static_cast<TsuiTitleBarButton::Picture>(k);
        // A look without the strip still gets buttons that can be seen and hit.
        button.setPicture(which, strip.isFallback()
                                     ? FallbackButtonPicture(button.ButtonType(), maximized, k)
                                     : strip.frame(TitleButtonFrameOf(glyph, kStates[k])));
    }
    button.setTop(std::clamp(look.integer(SkinInt::TitleBarButtonTop), 0, kMaxButtonTop));
}

void TsuiTitleBar::RefreshMaxButtons() {
    for (int i = 0; i < buttons_.Count(); ++i) {
        TsuiTitleBarButton* button = buttons_.Items(i);
        if (button->ButtonType() == TsuiTitleBarBtnType::suiMax)
            LoadButtonPictures(*button);
    }
    syncAccessibleButtons();
}

void TsuiTitleBar::setAutoSize(bool autoSize) {
    autoSize_ = autoSize && sections_.Count() > 0;
    if (sections_.Count() == 0)
        return;
    const int pictureHeight = sections_.Items(0)->Picture().height();
    setFixedHeight(pictureHeight > 0 ? pictureHeight : kFallbackBarHeight);
}

void TsuiTitleBar::setButtonInterval(int interval) {
    if (interval == buttonInterval_)
        return;
    buttonInterval_ = interval;
    relayout();
    update();
}

void TsuiTitleBar::setCaption(const QString& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    update();
}

void TsuiTitleBar::setFontColor(const QColor& color) {
    if (color == fontColor_)
        return;
    fontColor_ = color;
    update();
}

void TsuiTitleBar::setFormActive(bool active) {
    if (active == formActive_)
        return;
    formActive_ = active;
    update();
}

void TsuiTitleBar::setLeftBtnXOffset(int offset) {
    leftOffset_ = offset;
    relayout();
    update();
}

void TsuiTitleBar::setRightBtnXOffset(int offset) {
    rightOffset_ = offset;
    relayout();
    update();
}

void TsuiTitleBar::setDrawAppIcon(bool draw) {
    if (draw == drawAppIcon_)
        return;
    drawAppIcon_ = draw;
    relayout();
    update();
}

void TsuiTitleBar::setRoundCorner(int diameter) {
    roundCorner_ = std::max(0, diameter);
    Q_EMIT shapeChanged();
    update();
}

void TsuiTitleBar::sectionsChanged() {
    update();
}

void TsuiTitleBar::buttonsChanged() {
    relayout();
    update();
}

void TsuiTitleBar::relayout() {
    std::vector<chrome::TitleButtonSlot> entries;
    entries.reserve(buttons_.Count());
    for (int i = 0; i < buttons_.Count(); ++i) {
        const TsuiTitleBarButton* button = buttons_.Items(i);
        entries.push_back({button->Visible(),
                           button->ButtonType() == TsuiTitleBarBtnType::suiControlBox,
                           button->PicNormal().size(), button->Top()});
    }
    layout_ = chrome::LayoutTitleButtons(width(), leftOffset_, rightOffset_, buttonInterval_,
                                         drawAppIcon_, entries);
    if (hovered_ >= buttons_.Count())
        hovered_ = -1;
    // The buttons moved (the window was maximized or restored under a still pointer):
    // hover stays only on a button the pointer is really over.
    if (!pressed_ && hovered_ >= 0 && !buttonRect(hovered_).contains(mapFromGlobal(QCursor::pos())))
        hovered_ = -1;
    syncAccessibleButtons();
}

void TsuiTitleBar::syncAccessibleButtons() {
    while (static_cast<int>(accessibleButtons_.size()) > buttons_.Count()) {
        delete accessibleButtons_.back();
        accessibleButtons_.pop_back();
    }
    while (static_cast<int>(accessibleButtons_.size()) < buttons_.Count()) {
        auto* access = new TitleButtonAccess(this);
        const int index = static_cast<int>(accessibleButtons_.size());
        connect(access, &QAbstractButton::clicked, this, [this, index] { clickButton(index); });
        accessibleButtons_.push_back(access);
    }
    const bool maximized = chrome::IsMaximized(window());
    for (int i = 0; i < buttons_.Count(); ++i) {
        QAbstractButton* access = accessibleButtons_[i];
        const QRect rect = buttonRect(i);
        access->setAccessibleName(AccessibleNameOf(buttons_.Items(i)->ButtonType(), maximized, i));
        access->setGeometry(rect);
        access->setVisible(!rect.isNull());
    }
}

QString TsuiTitleBar::DrawnCaption() const {
    return chrome::ShortenCaption(caption_, layout_.captionRight - layout_.captionLeft,
                                  QFontMetrics(font()));
}

void TsuiTitleBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    SetSkinResampling(painter);
    const int w = width();
    const int h = height();
    painter.fillRect(rect(), fallbackFill_);

    std::vector<chrome::SectionSlot> sectionSlots;
    for (int i = 0; i < sections_.Count(); ++i) {
        const TsuiTitleBarSection* section = sections_.Items(i);
        sectionSlots.push_back(
            {static_cast<chrome::SectionAlign>(section->Align()), section->Width()});
    }
    for (const chrome::SectionPlacement& placed : chrome::LayoutSections(w, h, sectionSlots)) {
        const TsuiTitleBarSection* section = sections_.Items(placed.index);
        const QImage& picture = section->Picture();
        if (picture.isNull())
            continue;
        const QImage drawn = SkinImageFor(painter, picture);
        const qreal scale = drawn.devicePixelRatio();
        if (section->Stretch())
            painter.drawImage(placed.target, drawn);
        else
            painter.drawImage(placed.target.topLeft(), drawn,
                              QRectF(0, 0, placed.target.width() * scale, h * scale));
    }

    for (int i = 0; i < buttons_.Count(); ++i) {
        const TsuiTitleBarButton* button = buttons_.Items(i);
        const QRect& rect = layout_.rects[i];
        if (rect.isNull() && !(i == layout_.controlBox && drawAppIcon_))
            continue;
        if (i == layout_.controlBox && drawAppIcon_) {
            painter.drawImage(layout_.appIconAt, appIcon_);
            continue;
        }
        auto which = TsuiTitleBarButton::Normal;
        if (i == hovered_)
            which =
                pressedButton_ == i ? TsuiTitleBarButton::MouseDown : TsuiTitleBarButton::MouseOn;
        painter.drawImage(rect.topLeft(), button->drawn(which, CanvasPixelRatio(painter)));
    }

    painter.setFont(font());
    painter.setPen(formActive_ ? fontColor_ : SystemColorValue(SystemColor::InactiveCaption));
    const QFontMetrics metrics(font());
    const int top = chrome::CaptionTop(bandHeight_, bandTop_, metrics.height());
    const int space = layout_.captionRight - layout_.captionLeft;
    if (space > 0)
        painter.drawText(QRect(layout_.captionLeft, top, space, metrics.height()),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, DrawnCaption());

    if (look().traits().roundedTitleCorners && roundCorner_ != 0 && parentForm()) {
        // The top edge and its rounded corners, on the window's outline: the bar sits
        // inside the frame's one-pixel border, so the window is two pixels wider. The
        // corners are the pixels of the window's shape, so no pixel inside the shape is
        // left outside the line on either side.
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(roundingPen_);
        const QPolygon outline = chrome::TopRoundedOutline(QSize(w + 2, h), roundCorner_);
        if (outline.isEmpty())
            painter.drawLine(-1, 0, w, 0);
        else
            painter.drawPoints(outline.translated(-1, 0));
    }
}

void TsuiTitleBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
}

int TsuiTitleBar::buttonAt(QPoint pos) const {
    chrome::ChromeShape shape;
    shape.window = size();
    shape.titleBar = rect();
    shape.buttons = layout_.rects;
    shape.controlBox = layout_.controlBox;
    const chrome::ChromeHit hit = chrome::HitTest(shape, pos);
    return hit.area == chrome::ChromeArea::TitleButton || hit.area == chrome::ChromeArea::ControlBox
               ? hit.button
               : -1;
}

void TsuiTitleBar::setHovered(int index) {
    if (index == hovered_)
        return;
    // Only the button that loses the pointer and the one that gets it change.
    const QRect before = buttonRect(hovered_);
    const QRect after = buttonRect(index);
    hovered_ = index;
    update(QRegion(before) + after);
}

QRect TsuiTitleBar::buttonRect(int index) const {
    return index >= 0 && std::size_t(index) < layout_.rects.size()
               ? layout_.rects[std::size_t(index)]
               : QRect();
}

void TsuiTitleBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressed_ = true;
    pressedButton_ = buttonAt(event->position().toPoint());
    hovered_ = pressedButton_;
    update();
}

void TsuiTitleBar::mouseMoveEvent(QMouseEvent* event) {
    setHovered(buttonAt(event->position().toPoint()));
}

void TsuiTitleBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const int pressed = pressedButton_;
    pressed_ = false;
    pressedButton_ = -1;
    hovered_ =
        rect().contains(event->position().toPoint()) ? buttonAt(event->position().toPoint()) : -1;
    update();
    if (pressed >= 0 && pressed == hovered_)
        clickButton(pressed);
}

void TsuiTitleBar::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second click of a double click on a button does nothing of its own (the frame
    // acts on double clicks on the caption and the control box).
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = false;
    pressedButton_ = -1;
    update();
}

void TsuiTitleBar::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (!pressed_)
        setHovered(-1);
}

void TsuiTitleBar::clickButton(int index) {
    TsuiTitleBarButton* button = buttons_.Items(index);
    if (!button)
        return;
    if (button->ButtonType() == TsuiTitleBarBtnType::suiControlBox && !button->ControlBoxMenu())
        systemMenuDelay_.start();
    else
        RunButtonAction(index);
    if (button->ButtonType() == TsuiTitleBarBtnType::suiCustom)
        Q_EMIT OnCustomBtnsClick(this, index);
    else if (button->ButtonType() == TsuiTitleBarBtnType::suiHelp)
        Q_EMIT OnHelpBtnClick(this, index);
}

void TsuiTitleBar::RunButtonAction(int index) {
    TsuiTitleBarButton* button = buttons_.Items(index);
    if (!button)
        return;
    switch (button->ButtonType()) {
    case TsuiTitleBarBtnType::suiMax:
        Q_EMIT windowRequested(chrome::WindowRequest::ToggleMaximized);
        break;
    case TsuiTitleBarBtnType::suiMin:
        MinimizeWindow();
        break;
    case TsuiTitleBarBtnType::suiClose:
        CloseWindow();
        break;
    case TsuiTitleBarBtnType::suiControlBox:
        if (QMenu* menu = button->ControlBoxMenu())
            menu->popup(mapToGlobal(QPoint(0, height())));
        break;
    case TsuiTitleBarBtnType::suiHelp:
    case TsuiTitleBarBtnType::suiCustom:
        break;
    }
}

void TsuiTitleBar::MinimizeWindow() {
    Q_EMIT windowRequested(chrome::WindowRequest::Minimize);
}

void TsuiTitleBar::CloseWindow() {
    Q_EMIT windowRequested(chrome::WindowRequest::Close);
}

void TsuiTitleBar::PopupSystemMenu() {
    systemMenu_->Popup(mapToGlobal(QPoint(0, height())));
}

TsuiForm* TsuiTitleBar::parentForm() const {
    return qobject_cast<TsuiForm*>(parentWidget());
}
