#pragma once
// A label that opens a web address when clicked: underlined, FontLinkColor while the
// pointer is away and FontHoverColor while it is over the label, the hand cursor. A click
// (left press and release on the label) hands URL, without surrounding blanks and control
// characters, to the desktop's handler, then reports clicked(); a blank URL opens nothing
// but is still reported. The label has no skin look.

#include <QColor>
#include <QLabel>
#include <QUrl>

#include <functional>

class TsuiURLLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString URL READ URL WRITE setURL)
    Q_PROPERTY(QString Caption READ text WRITE setCaption)
    Q_PROPERTY(QColor FontLinkColor READ FontLinkColor WRITE setFontLinkColor)
    Q_PROPERTY(QColor FontHoverColor READ FontHoverColor WRITE setFontHoverColor)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)

public:
    // Opens an address; QDesktopServices::openUrl unless replaced.
    using Opener = std::function<bool(const QUrl&)>;

    explicit TsuiURLLabel(QWidget* owner = nullptr);

    QString URL() const { return url_; }
    void setURL(const QString& url);
    void setCaption(const QString& caption);
    QColor FontLinkColor() const { return linkColor_; }
    void setFontLinkColor(const QColor& color);
    QColor FontHoverColor() const { return hoverColor_; }
    void setFontHoverColor(const QColor& color) { hoverColor_ = color; }
    // The label takes the size of its caption whenever the caption or font changes.
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool autoSize);

    void setOpener(Opener opener) { opener_ = std::move(opener); }

    // The address a URL text stands for: blanks and control characters around it removed;
    // an existing file in the working directory, else a web address (as a browser's
    // address bar reads it). An empty URL for a blank text.
    static QUrl Target(const QString& url);

Q_SIGNALS:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setTextColor(const QColor& color);
    void fitCaption();

    QString url_;
    QColor linkColor_;
    QColor hoverColor_;
    bool autoSize_ = true;
    bool pressed_ = false;
    Opener opener_;
};
