#include "chrome/windowfitting.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QVariant>
#include <QWidget>

namespace chrome {

namespace {
// Dynamic properties of the window: the geometry before a hand-made maximize, and
// whether the last maximize was made by hand.
constexpr const char* kNormalGeometry = "_zd7240_normalGeometry";
constexpr const char* kMaximizedByHand = "_zd7240_maximizedByHand";

bool WindowSystemPlacesWindows() {
    // A Wayland compositor always carries out maximize and never lets a client place
    // itself; the fall-back would only fight it.
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
} // namespace

bool IsMaximized(const QWidget* window) {
    return window && (window->isMaximized() || window->property(kMaximizedByHand).toBool());
}

void MaximizeWindow(QWidget* window, bool fitToWorkArea) {
    if (!window || IsMaximized(window))
        return;
    const QRect before = window->geometry();
    window->setProperty(kNormalGeometry, before);
    window->setProperty(kMaximizedByHand, false);
    window->showMaximized();
    if (WindowSystemPlacesWindows())
        return;
    QPointer<QWidget> guarded(window);
    QTimer::singleShot(kStateSettleMs, window, [guarded, before, fitToWorkArea] {
        if (!guarded || !guarded->isMaximized() || guarded->geometry() != before)
            return;
        const QScreen* screen = guarded->screen();
        if (!screen)
            return;
        guarded->setProperty(kMaximizedByHand, true);
        guarded->setGeometry(fitToWorkArea ? screen->availableGeometry() : screen->geometry());
    });
}

void RestoreWindow(QWidget* window) {
    if (!window)
        return;
    const bool byHand = window->property(kMaximizedByHand).toBool();
    window->showNormal();
    if (byHand) {
        window->setProperty(kMaximizedByHand, false);
        const QRect normal = window->property(kNormalGeometry).toRect();
        if (normal.isValid())
            window->setGeometry(normal);
    }
}

void ToggleMaximized(QWidget* window, bool fitToWorkArea) {
    if (!window)
        return;
    if (IsMaximized(window))
        RestoreWindow(window);
    else
        MaximizeWindow(window, fitToWorkArea);
}

} // namespace chrome
