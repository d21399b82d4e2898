#include "tsuimessagedialog.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "tsuibutton.h"

namespace {

// The message window. Closing it from the title bar answers Cancel; Escape has no
// meaning here (the operator answers with a button).
class MessageWindow : public QDialog {
public:
    using QDialog::QDialog;

protected:
    void reject() override { done(TsuiMessageDialog::kResultCancel); }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            return;
        }
        QDialog::keyPressEvent(event);
    }
};

QStyle::StandardPixmap IconPixmap(TsuiMessageDialog::TsuiIconType type) {
    switch (type) {
    case TsuiMessageDialog::suiStop:
        return QStyle::SP_MessageBoxCritical;
    case TsuiMessageDialog::suiInformation:
        return QStyle::SP_MessageBoxInformation;
    case TsuiMessageDialog::suiHelp:
        return QStyle::SP_MessageBoxQuestion;
    default:
        return QStyle::SP_MessageBoxWarning;
    }
}

constexpr int kTextWidth = 225;
constexpr int kIconSize = 42;

} // namespace

TsuiMessageDialog::TsuiMessageDialog(QObject* owner)
    : QObject(owner), TsuiSkinned(this, owner), font_(QApplication::font()) {
    captionFont_.setFamily(QStringLiteral("Tahoma"));
    captionFont_.setBold(true);
}

int TsuiMessageDialog::ShowModal() {
    MessageWindow window;
    window.setObjectName(QStringLiteral("frmMsg"));
    window.setWindowTitle(caption_);
    window.setFont(font_);

    auto* content = new QHBoxLayout;
    content->setSpacing(24);
    if (iconType_ != suiNone) {
        auto* image = new QLabel(&window);
        image->setObjectName(QStringLiteral("Image1"));
        image->setPixmap(window.style()->standardIcon(IconPixmap(iconType_)).pixmap(kIconSize));
        image->setAlignment(Qt::AlignTop);
        content->addWidget(image);
    }
    auto* label = new QLabel(text_, &window);
    label->setObjectName(QStringLiteral("lbl"));
    label->setWordWrap(true);
    label->setFixedWidth(kTextWidth);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    content->addWidget(label);
    content->addStretch();

    // Buttons right-aligned, read left to right as button 1, 2, 3; button 1 has the focus.
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const QString captions[] = {button1Caption_, button2Caption_, button3Caption_};
    const int results[] = {button1Result_, button2Result_, button3Result_};
    TsuiButton* first = nullptr;
    for (int n = 0; n < buttonCount_; ++n) {
        auto* button = new TsuiButton(&window);
        button->setCaption(captions[n]);
        button->setFixedSize(73, 25);
        const int result = results[n];
        QObject::connect(button, &QPushButton::clicked, &window,
                         [&window, result] { window.done(result); });
        buttons->addWidget(button);
        if (n == 0)
            first = button;
    }

    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(24, 24, 24, 20);
    layout->setSpacing(20);
    layout->addLayout(content);
    layout->addLayout(buttons);
    window.setSizeGripEnabled(false);
    window.adjustSize();
    window.setFixedSize(window.sizeHint());

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    if (first) {
        first->setDefault(true);
        first->setFocus();
    }
    return window.exec();
}
