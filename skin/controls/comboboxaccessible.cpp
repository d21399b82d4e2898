#include "controls/comboboxaccessible.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>

namespace {

class ComboBoxAccessible : public QAccessibleWidget {
public:
    explicit ComboBoxAccessible(QWidget* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {
        addControllingSignal(QStringLiteral("activated(int)"));
    }

    QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }

    QString text(QAccessible::Text t) const override {
        const QString shown = combo()->currentText();
        if (t == QAccessible::Value)
            return shown;
        if (t == QAccessible::Name) {
            const QString name = combo()->accessibleName();
            return name.isEmpty() ? shown : name;
        }
        return QAccessibleWidget::text(t);
    }

    // The list of items, as Qt's own reading has it.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(combo()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == combo()->view() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = combo()->view()->isVisible();
        return s;
    }

    QStringList actionNames() const override {
        return {QAccessibleActionInterface::showMenuAction(),
                QAccessibleActionInterface::pressAction()};
    }
    void doAction(const QString& name) override {
        if (name == QAccessibleActionInterface::showMenuAction() ||
            name == QAccessibleActionInterface::pressAction()) {
            if (combo()->view()->isVisible())
                combo()->hidePopup();
            else
                combo()->showPopup();
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

QAccessibleInterface* ComboBoxFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("TsuiComboBox") && object && object->isWidgetType())
        return new ComboBoxAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

void InstallComboBoxAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&ComboBoxFactory);
        return true;
    }();
    static_cast<void>(installed);
}
