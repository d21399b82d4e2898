#pragma once
// The message dialog component: set Caption and Text, call ShowModal. Each call builds a
// fresh modal message window with the icon, the text wrapped at 225 pixels and up to
// three buttons, placed as Position says (centred on the screen unless told otherwise),
// and returns the modal result of the button that closed it. The window is framed by a TsuiForm in
// the dialog's look, with only a close button on its title bar.

#include <QColor>
#include <QFont>
#include <QObject>
#include <QString>
#include <memory>

#include "look/tsuiskinned.h"

class QDialog;
class QWidget;

class TsuiMessageDialog : public QObject, public TsuiSkinned {
    Q_OBJECT
    TSUI_SKINNED_PROPERTIES
    Q_PROPERTY(WindowPosition Position READ Position WRITE setPosition)
    Q_PROPERTY(QString Caption MEMBER caption_)
    Q_PROPERTY(QFont Font MEMBER font_)
    Q_PROPERTY(QFont CaptionFont MEMBER captionFont_)
    Q_PROPERTY(QColor CaptionFontColor MEMBER captionFontColor_)
    Q_PROPERTY(Qt::CursorShape ButtonCursor READ ButtonCursor WRITE setButtonCursor)
    Q_PROPERTY(int ButtonCount READ ButtonCount WRITE setButtonCount)
    Q_PROPERTY(QString Button1Caption MEMBER button1Caption_)
    Q_PROPERTY(QString Button2Caption MEMBER button2Caption_)
    Q_PROPERTY(QString Button3Caption MEMBER button3Caption_)
    Q_PROPERTY(int Button1ModalResult MEMBER button1Result_)
    Q_PROPERTY(int Button2ModalResult MEMBER button2Result_)
    Q_PROPERTY(int Button3ModalResult MEMBER button3Result_)
    Q_PROPERTY(TsuiIconType IconType MEMBER iconType_)
    Q_PROPERTY(QString Text MEMBER text_)

public:
    enum TsuiIconType { suiNone, suiWarning, suiStop, suiInformation, suiHelp };
    Q_ENUM(TsuiIconType)

    // Where the message window is placed when shown. poDesigned and the three poDefault
    // values place it nowhere themselves: Qt and the window system do (a dialog without a
    // parent is centred by Qt, or placed by the window system where it places windows
    // itself). poScreenCenter centres it on the screen of the dialog's owner window (else
    // of the active window, else the primary screen); poDesktopCenter on the whole
    // virtual desktop; poMainFormCenter over the application's main window and
    // poOwnerFormCenter over the owner's window, each falling back to poScreenCenter
    // when there is no such window on screen. A window centred over another is kept
    // inside that window's screen.
    enum WindowPosition {
        poDesigned,
        poDefault,
        poDefaultPosOnly,
        poDefaultSizeOnly,
        poScreenCenter,
        poDesktopCenter,
        poMainFormCenter,
        poOwnerFormCenter,
    };
    Q_ENUM(WindowPosition)

    // Modal results of the buttons and of closing the window.
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;

    explicit TsuiMessageDialog(QObject* owner = nullptr);

    WindowPosition Position() const { return position_; }
    void setPosition(WindowPosition position) { position_ = position; }
    QString Caption() const { return caption_; }
    void setCaption(const QString& caption) { caption_ = caption; }
    QString Text() const { return text_; }
    void setText(const QString& text) { text_ = text; }
    void setFont(const QFont& font) { font_ = font; }
    // The title bar's caption font and colour. They are given to the message window's
    // title bar after its look, so they hold in every look (a MacOS caption is black only
    // when this colour is).
    void setCaptionFont(const QFont& font) { captionFont_ = font; }
    void setCaptionFontColor(const QColor& color) { captionFontColor_ = color; }
    // The mouse cursor over the buttons.
    Qt::CursorShape ButtonCursor() const { return buttonCursor_; }
    void setButtonCursor(Qt::CursorShape cursor) { buttonCursor_ = cursor; }
    int ButtonCount() const { return buttonCount_; }
    // Kept within 1..3.
    void setButtonCount(int count) { buttonCount_ = qBound(1, count, 3); }
    void setIconType(TsuiIconType type) { iconType_ = type; }

    // Shows the message window modally; answers the result of the button pressed, or
    // kResultCancel when the window was closed from its title bar.
    int ShowModal();
    // The message window ShowModal runs, built and placed but not shown: for a picture
    // of it, or to show it some other way. The result of exec() is ShowModal's.
    std::unique_ptr<QDialog> CreateMessageWindow() const;

private:
    void PlaceMessageWindow(QWidget& window) const;

    WindowPosition position_ = poScreenCenter;
    QString caption_ = QStringLiteral("suiDialog");
    QString text_ = QStringLiteral("Hello world!");
    QFont font_;
    QFont captionFont_;
    QColor captionFontColor_{Qt::white};
    Qt::CursorShape buttonCursor_ = Qt::PointingHandCursor;
    int buttonCount_ = 1;
    QString button1Caption_ = QStringLiteral("OK");
    QString button2Caption_ = QStringLiteral("Cancel");
    QString button3Caption_ = QStringLiteral("Cancel");
    int button1Result_ = kResultOk;
    int button2Result_ = kResultCancel;
    int button3Result_ = kResultCancel;
    TsuiIconType iconType_ = suiNone;
};
