#include "controls/tabrowaccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <vector>

#include "controls/tsuitabcontroltoppanel.h"

namespace {

// One tab of the row. It has no object of its own, so the row keeps it and registers it
// with QAccessible (which hands out its id to the platform's bridge).
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabAccessible(TsuiTabControlTopPanel* row, int index) : row_(row), index_(index) {}

    bool isValid() const override { return row_ && index_ < row_->Tabs().size(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return row_ && row_->window() ? row_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(row_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!isValid() || t != QAccessible::Name)
            return {};
        return row_->Tabs().at(index_);
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect tab = row_->tabRect(index_);
        return tab.isEmpty() ? QRect() : QRect(row_->mapToGlobal(tab.topLeft()), tab.size());
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.selectable = true;
        s.selected = row_->TabIndex() == index_;
        if (row_->tabRect(index_).isEmpty() || !row_->isVisible()) {
            s.invisible = !row_->tabVisible(index_) || !row_->isVisible();
            s.offscreen = true;
        }
        if (!row_->isEnabled())
            s.disabled = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (isValid() && name == pressAction() && row_->tabVisible(index_))
            row_->selectByUser(index_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<TsuiTabControlTopPanel> row_;
    int index_;
};

class TabRowAccessible : public QAccessibleWidget {
public:
    explicit TabRowAccessible(QWidget* row) : QAccessibleWidget(row, QAccessible::PageTabList) {}
    ~TabRowAccessible() override {
        for (QAccessibleInterface* tab : tabs_)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(tab));
    }

    TsuiTabControlTopPanel* row() const { return static_cast<TsuiTabControlTopPanel*>(widget()); }

    int childCount() const override { return int(row()->Tabs().size()); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (std::size_t(index) >= tabs_.size())
            tabs_.resize(std::size_t(index) + 1, nullptr);
        QAccessibleInterface*& tab = tabs_[std::size_t(index)];
        if (!tab) {
            tab = new TabAccessible(row(), index);
            QAccessible::registerAccessibleInterface(tab);
        }
        return tab;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (std::size_t i = 0; i < tabs_.size(); ++i) {
            if (tabs_[i] == child)
                return int(i);
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface* tab = child(i);
            if (tab->rect().contains(x, y))
                return tab;
        }
        return nullptr;
    }

private:
    mutable std::vector<QAccessibleInterface*> tabs_;
};

QAccessibleInterface* TabRowFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("TsuiTabControlTopPanel") && object && object->isWidgetType())
        return new TabRowAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

void InstallTabRowAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&TabRowFactory);
        return true;
    }();
    static_cast<void>(installed);
}
