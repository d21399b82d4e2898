#include "chrome/tsuimessagedialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

#include "chrome/messagedialoglayout.h"
#include "chrome/tsuiform.h"
#include "controls/tsuibutton.h"
#include "drawing/boldface.h"
#include "drawing/drawingoperations.h"
#include "drawing/skinbitmaps.h"
#include "look/skinlook.h"
#include "theme/themeelements.h"

namespace {

// The message window. Its title bar has only a close button, which answers Cancel;
// Escape has no meaning here (the operator answers with a button). Ctrl+C, whatever other
// modifiers are held, copies the message as text.
class MessageWindow : public QDialog {
public:
    MessageWindow() {
        // A dialog border: the frame gives it no resize band.
        setProperty("BorderStyle", QStringLiteral("bsDialog"));
        setObjectName(QStringLiteral("frmMsg"));
    }

    TsuiForm* frame = nullptr;
    QLabel* label = nullptr;

protected:
    void reject() override { done(TsuiMessageDialog::kResultCancel); }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_C && (event->modifiers() & Qt::ControlModifier)) {
            copyToClipboard();
            event->accept();
            return;
        }
        QDialog::keyPressEvent(event);
    }

private:
    void copyToClipboard() const {
        QStringList captions;
        for (const TsuiButton* button :
             frame->findChildren<TsuiButton*>(Qt::FindDirectChildrenOnly))
            captions.append(button->Caption());
        QGuiApplication::clipboard()->setText(
            MessageDialogClipboardText(frame->Caption(), label->text(), captions));
    }
};

// The frame as the message window's layout describes it, before the dialog's style
// replaces its style-driven values: the WinXP look (its border, colours and round corner,
// among them the 3-pixel border), and a close button only. The dialog's style is applied
// to this frame, so the window's final size follows from this border (the host is resized
// around the panel for the new one). The caption font and colour are the dialog's, set
// once its style is applied.
void DescribeFrame(TsuiForm& frame) {
    frame.setObjectName(QStringLiteral("suiForm1"));
    frame.setUIStyle(TsuiUIStyle::WinXP);
    frame.setProperty("UIStyleAutoUpdateSub", true);
    TsuiTitleBarButtons& buttons = frame.TitleBarButtons();
    buttons.Clear();
    buttons.Add()->setButtonType(TsuiTitleBarBtnType::suiClose);
    frame.setTitleBarDrawAppIcon(false);
    frame.setTitleBarFontColor(Qt::white);
}

// The window of the dialog's owner: the first widget up the owner chain (the dialog may
// be owned by another component that sits on a window).
QWidget* OwnerWindow(const QObject* owner) {
    for (const QObject* o = owner; o; o = o->parent())
        if (const auto* widget = qobject_cast<const QWidget*>(o))
            return widget->window();
    return nullptr;
}

// The application's main window. Qt keeps none of its own, so it is the owner's window
// when that is a plain top-level window on screen, else the only such window on screen
// (dialogs, tool windows and popups are never main windows); with several and the owner
// not among them there is none.
QWidget* MainWindow(QWidget* ownerWindow, const QWidget* messageWindow) {
    const auto plain = [&](const QWidget* w) {
        return w && w != messageWindow && w->isVisible() && w->windowType() == Qt::Window;
    };
    if (plain(ownerWindow))
        return ownerWindow;
    QWidget* found = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!plain(w))
            continue;
        if (found)
            return nullptr;
        found = w;
    }
    return found;
}

// `placed` moved into `area` as far as it fits, its top left corner (the title bar) kept
// inside when it is larger.
QRect KeptInside(QRect placed, const QRect& area) {
    placed.moveRight(qMin(placed.right(), area.right()));
    placed.moveBottom(qMin(placed.bottom(), area.bottom()));
    placed.moveLeft(qMax(placed.left(), area.left()));
    placed.moveTop(qMax(placed.top(), area.top()));
    return placed;
}

} // namespace

TsuiMessageDialog::TsuiMessageDialog(QObject* owner)
    : QObject(owner), TsuiSkinned(this, owner), font_(QApplication::font()) {
    captionFont_.setFamily(QStringLiteral("Tahoma"));
    captionFont_.setPixelSize(11);
    captionFont_ = BoldFont(captionFont_);
}

int TsuiMessageDialog::ShowModal() {
    return CreateMessageWindow()->exec();
}

std::unique_ptr<QDialog> TsuiMessageDialog::CreateMessageWindow() const {
    auto owned = std::make_unique<MessageWindow>();
    MessageWindow& window = *owned;
    window.setFont(font_);
    window.resize(336, 130);
    auto* frame = new TsuiForm(&window);
    window.frame = frame;
    DescribeFrame(*frame);

    // The text wrapped at its fixed width, as high as the wrapped text needs.
    auto* label = new QLabel(text_, frame);
    window.label = label;
    label->setObjectName(QStringLiteral("lbl"));
    label->setFont(font_);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const MessageDialogLayout layout =
        LayOutMessageDialog(label->heightForWidth(225), iconType_ != suiNone, buttonCount_);
    label->setGeometry(layout.label);

    auto* image = new QLabel(frame);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(layout.image);
    if (layout.showImage) {
        const auto icons = SkinLook::picture<SkinPicture::MessageIcons>();
        // Fuchsia around the sign is the skin's transparent colour: the panel shows there.
        // Drawn from the @2x set on a scaled screen; the label keeps the 1x size.
        image->setPixmap(QPixmap::fromImage(
            MaskedWithKey(SkinImageForRatio(icons.frame(MessageIconFrame(int(iconType_))),
                                            image->devicePixelRatioF()),
                          kSkinKeyColor)));
    } else {
        image->hide();
    }
    window.resize(layout.width, layout.height);

    // Created rightmost first; the last one created, button 1, has the focus.
    const QString captions[] = {button1Caption_, button2Caption_, button3Caption_};
    const int results[] = {button1Result_, button2Result_, button3Result_};
    TsuiButton* focused = nullptr;
    for (int i = 0; i < buttonCount_; ++i) {
        const int n = buttonCount_ - i;
        auto* button = new TsuiButton(frame);
        button->setObjectName(QStringLiteral("Button%1").arg(n));
        button->setGeometry(layout.buttons.at(i));
        button->setCursor(buttonCursor_);
        button->setCaption(captions[n - 1]);
        button->setModalResult(results[n - 1]);
        focused = button;
    }

    frame->setCaption(caption_);
    frame->setLook(UIStyle(), FileTheme());
    // The caption font goes to the title bar only: the buttons on the frame keep the
    // window's font, the dialog's Font.
    frame->setTitleBarFont(captionFont_);
    frame->setTitleBarFontColor(captionFontColor_);

    // Placed last: the look has given the window its final size.
    PlaceMessageWindow(window);
    if (focused)
        focused->setFocus();
    return owned;
}

void TsuiMessageDialog::PlaceMessageWindow(QWidget& window) const {
    QWidget* ownerWindow = OwnerWindow(parent());
    const QWidget* over = nullptr;
    switch (position_) {
    case poDesigned:
    case poDefault:
    case poDefaultPosOnly:
    case poDefaultSizeOnly:
        // The window layout gives no place, and its size follows from the message: Qt and
        // the window system place the window, its size stays.
        return;
    case poMainFormCenter:
        over = MainWindow(ownerWindow, &window);
        break;
    case poOwnerFormCenter:
        if (ownerWindow && ownerWindow->isVisible())
            over = ownerWindow;
        break;
    case poScreenCenter:
    case poDesktopCenter:
        break;
    }

    const QScreen* screen = nullptr;
    if (over)
        screen = over->screen();
    else if (ownerWindow)
        screen = ownerWindow->screen();
    else if (const QWidget* active = QApplication::activeWindow())
        screen = active->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;

    const QRect area = position_ == poDesktopCenter ? screen->availableVirtualGeometry()
                                                    : screen->availableGeometry();
    QRect placed = window.frameGeometry();
    placed.moveCenter(over ? over->frameGeometry().center() : area.center());
    window.move(KeptInside(placed, area).topLeft());
}
