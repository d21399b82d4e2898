#include "widgetdescription.h"

#include <QJsonObject>
#include <QWidget>

#include "helperoptions.h"

namespace {

// The text a widget shows: its caption, text or title, whichever it publishes first.
QString WidgetText(const QWidget* widget) {
    static const char* const kTextProperties[] = {"Caption", "Text", "text", "title",
                                                  "currentText"};
    const QMetaObject* meta = widget->metaObject();
    for (const char* name : kTextProperties) {
        if (meta->indexOfProperty(name) >= 0)
            return widget->property(name).toString();
    }
    return widget->isWindow() ? widget->windowTitle() : QString();
}

void DescribeInto(QJsonArray& out, QWidget* window, QWidget* widget) {
    QJsonObject object;
    object.insert(QStringLiteral("class"), QString::fromLatin1(widget->metaObject()->className()));
    object.insert(QStringLiteral("name"), widget->objectName());
    const QPoint origin = widget == window ? QPoint(0, 0) : widget->mapTo(window, QPoint(0, 0));
    object.insert(QStringLiteral("x"), origin.x());
    object.insert(QStringLiteral("y"), origin.y());
    object.insert(QStringLiteral("width"), widget->width());
    object.insert(QStringLiteral("height"), widget->height());
    object.insert(QStringLiteral("visible"),
                  widget == window ? widget->isVisible() : widget->isVisibleTo(window));
    object.insert(QStringLiteral("enabled"), widget->isEnabled());
    object.insert(QStringLiteral("text"), WidgetText(widget));
    if (widget->metaObject()->indexOfProperty("UIStyle") >= 0)
        object.insert(QStringLiteral("UIStyle"),
                      LookName(widget->property("UIStyle").value<TsuiUIStyle>()));
    out.append(object);
    for (QObject* child : widget->children()) {
        auto* childWidget = qobject_cast<QWidget*>(child);
        if (childWidget && !childWidget->isWindow())
            DescribeInto(out, window, childWidget);
    }
}

} // namespace

QJsonArray DescribeWidgets(QWidget* window) {
    QJsonArray out;
    DescribeInto(out, window, window);
    return out;
}
