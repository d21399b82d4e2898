#pragma once
// A button of a skinned frame's menu bar: one top-level item of the main menu. Pressing
// it (or its access key with Alt) opens the item's sub-menu; the bar does the opening.

#include <QPointer>
#include <QToolButton>

class QAction;
class FrameMenuBar;

class FrameMenuBarButton : public QToolButton {
    Q_OBJECT

public:
    FrameMenuBarButton(QAction* item, FrameMenuBar* bar);

    QAction* Item() const { return item_; }
    // Takes the item's caption and enabled state.
    void Refresh();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<QAction> item_;
    FrameMenuBar* bar_;
};
