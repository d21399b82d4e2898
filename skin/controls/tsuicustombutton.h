#pragma once
// The base of the skinned push buttons: hover and pressed state, the continuous-press
// timer, the modal result handed to the dialog, Default and Cancel, and the paint sequence
// (background, skin frame, focus mark, caption). Press, release, Space, focus, the
// mnemonic and the accessible name and role stay QPushButton's; a derived button says
// which skin frame each state shows and how it marks the focus.

#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "controls/buttonface.h"

class TsuiCustomButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE setModalResult)
    Q_PROPERTY(bool Cancel READ Cancel WRITE setCancel)
    Q_PROPERTY(bool Default READ Default WRITE setDefault_)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(int FocusedRectMargin READ FocusedRectMargin WRITE setFocusedRectMargin)
    Q_PROPERTY(int MouseContinuouslyDownInterval READ MouseContinuouslyDownInterval WRITE
                   setMouseContinuouslyDownInterval)

public:
    explicit TsuiCustomButton(QWidget* owner = nullptr);
    ~TsuiCustomButton() override;

    QString Caption() const { return text(); }
    void setCaption(const QString& caption);
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    int ModalResult() const { return modalResult_; }
    void setModalResult(int result) { modalResult_ = result; }
    bool Cancel() const { return cancel_; }
    void setCancel(bool on);
    bool Default() const { return default_; }
    // Named with a trailing underscore: QPushButton::setDefault is Qt's own default-button
    // flag, which this button does not use (Enter is handled here, see below).
    void setDefault_(bool on);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool on);
    int FocusedRectMargin() const { return focusedRectMargin_; }
    void setFocusedRectMargin(int margin);
    int MouseContinuouslyDownInterval() const { return continuousInterval_; }
    void setMouseContinuouslyDownInterval(int ms) { continuousInterval_ = ms; }

    bool isHovered() const { return hover_; }
    // Whether the continuous-press timer runs.
    bool isContinuouslyDown() const { return continuousTimer_.isActive(); }

Q_SIGNALS:
    void OnMouseEnter();
    void OnMouseExit();
    // Every MouseContinuouslyDownInterval ms while the left button is held on the button,
    // the first time one interval after the press.
    void OnMouseContinuouslyDown();

protected:
    // The state's skin frame; null paints none.
    virtual QImage stateFrame(ButtonState state) const;
    // Whether the skin is stretched over the face; the base draws it unscaled.
    virtual bool stretchesSkin() const { return false; }
    // The whole skin strip, for AutoSize.
    virtual QSize skinStripSize() const { return QSize(); }
    // How the focus shows: a dotted rectangle (the base) or a bold caption.
    virtual bool marksFocusBold() const { return false; }
    // The face with state, skin, focus mark and caption filled in; derived buttons add.
    virtual ButtonFace face() const;
    ButtonState state() const;
    // Applies AutoSize now.
    void applyAutoSize();

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void beforeClick();
    void handToDialog();
    void setHover(bool on);
    void stopContinuous();
    void watchDialogKeys();

    bool autoSize_ = false;
    int modalResult_ = 0;
    bool cancel_ = false;
    bool default_ = false;
    bool transparent_ = false;
    int focusedRectMargin_ = 2;
    int continuousInterval_ = 100;
    bool hover_ = false;
    bool keyDown_ = false;
    QTimer continuousTimer_;
    QPointer<QWidget> keyWindow_;
};
