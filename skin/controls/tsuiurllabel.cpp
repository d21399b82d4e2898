#include "controls/tsuiurllabel.h"

#include <QDesktopServices>
#include <QDir>
#include <QMouseEvent>

namespace {

// Neutral defaults of a new label.
const QString kDefaultCaption = QStringLiteral("Welcome! Click here to visit the web site.");
const QString kDefaultUrl = QStringLiteral("https://www.example.com/");
const QColor kLinkBlue(0x00, 0x00, 0xFF);
const QColor kHoverRed(0xFF, 0x00, 0x00);

} // namespace

TsuiURLLabel::TsuiURLLabel(QWidget* owner)
    : QLabel(owner), url_(kDefaultUrl), linkColor_(kLinkBlue), hoverColor_(kHoverRed),
      opener_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setTextColor(linkColor_);
    setCursor(Qt::PointingHandCursor);
    setTextFormat(Qt::PlainText);
    setCaption(kDefaultCaption);
}

void TsuiURLLabel::setURL(const QString& url) {
    if (url != url_)
        url_ = url;
}

void TsuiURLLabel::setCaption(const QString& caption) {
    setText(caption);
    fitCaption();
}

void TsuiURLLabel::setFontLinkColor(const QColor& color) {
    linkColor_ = color;
    setTextColor(color);
}

void TsuiURLLabel::setAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    fitCaption();
}

QUrl TsuiURLLabel::Target(const QString& url) {
    // Blanks and control characters (everything up to the space) at either end.
    qsizetype first = 0;
    qsizetype last = url.size();
    while (first < last && url.at(first).unicode() <= 0x20)
        ++first;
    while (last > first && url.at(last - 1).unicode() <= 0x20)
        --last;
    if (first == last)
        return {};
    return QUrl::fromUserInput(url.mid(first, last - first), QDir::currentPath());
}

void TsuiURLLabel::enterEvent(QEnterEvent* event) {
    setTextColor(hoverColor_);
    QLabel::enterEvent(event);
}

void TsuiURLLabel::leaveEvent(QEvent* event) {
    setTextColor(linkColor_);
    QLabel::leaveEvent(event);
}

void TsuiURLLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

void TsuiURLLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    pressed_ = false;
    event->accept();
    if (!rect().contains(event->position().toPoint()))
        return;
    const QUrl target = Target(url_);
    if (!target.isEmpty() && opener_)
        opener_(target);
    Q_EMIT clicked();
}

void TsuiURLLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitCaption();
}

void TsuiURLLabel::setTextColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void TsuiURLLabel::fitCaption() {
    if (autoSize_)
        resize(sizeHint());
}
