#pragma once
// Records which widgets of one window paint and where, for the window benchmark and the
// tests that check that a change repaints only what it must. It watches the whole
// application while it exists.

#include <QCoreApplication>
#include <QEvent>
#include <QHash>
#include <QPaintEvent>
#include <QPointer>
#include <QRegion>
#include <QWidget>

class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* window) : window_(window) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~PaintRecorder() override { QCoreApplication::instance()->removeEventFilter(this); }
    PaintRecorder(const PaintRecorder&) = delete;
    PaintRecorder& operator=(const PaintRecorder&) = delete;

    // Runs the posted events, repaints included, until the window has nothing left to do.
    static void Settle() {
        for (int i = 0; i < 4; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
    }

    void Clear() {
        counts_.clear();
        region_ = QRegion();
    }
    // Paint events per widget since the last Clear.
    const QHash<QWidget*, int>& Counts() const { return counts_; }
    // What they painted, in the window's coordinates.
    const QRegion& Region() const { return region_; }
    // The widgets that painted although they are neither `part` nor inside it.
    QList<QWidget*> PaintedOutside(const QWidget* part) const {
        QList<QWidget*> outside;
        for (auto it = counts_.cbegin(); it != counts_.cend(); ++it) {
            if (it.key() != part && !part->isAncestorOf(it.key()))
                outside.append(it.key());
        }
        return outside;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || !watched->isWidgetType() || !window_)
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->window() != window_)
            return false;
        ++counts_[widget];
        const QPoint origin = widget == window_ ? QPoint() : widget->mapTo(window_, QPoint());
        region_ += static_cast<QPaintEvent*>(event)->region().translated(origin);
        return false;
    }

private:
    QPointer<QWidget> window_;
    QHash<QWidget*, int> counts_;
    QRegion region_;
};
