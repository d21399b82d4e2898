#include "linkpage.h"

#include <QLabel>

#include "tsuicombobox.h"
#include "tsuiedit.h"
#include "tsuigroupbox.h"
#include "tsuitabsheet.h"

using namespace zd7240;

namespace {
QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

LinkPage::LinkPage(const PageTable& row, TsuiTabSheet* sheet)
    : QObject(sheet), table_(row), sheet_(sheet) {}

template <class T> T* LinkPage::Find(std::string_view name) const {
    return sheet_->findChild<T*>(ToQString(name));
}

TsuiEdit* LinkPage::Edit(std::string_view name) const {
    return Find<TsuiEdit>(name);
}

TsuiComboBox* LinkPage::Combo(std::string_view name) const {
    return Find<TsuiComboBox>(name);
}

TsuiGroupBox* LinkPage::Box(std::string_view name) const {
    return Find<TsuiGroupBox>(name);
}

QLabel* LinkPage::Label(std::string_view name) const {
    return Find<QLabel>(name);
}

std::string LinkPage::Text(std::string_view control) const {
    const TsuiEdit* edit = Edit(control);
    return edit ? edit->text().toStdString() : std::string();
}

void LinkPage::SetText(std::string_view control, const std::string& text) {
    if (TsuiEdit* edit = Edit(control))
        edit->setText(QString::fromStdString(text));
}

int LinkPage::ItemIndex(std::string_view selector) const {
    const TsuiComboBox* combo = Combo(selector);
    return combo ? combo->currentIndex() : -1;
}

void LinkPage::Default() {
    ResetToDefaults(table_, *this);
}

void LinkPage::CardTypeChanged(std::string_view selectorName) {
    const SelectorRow* selector = FindSelector(table_, selectorName);
    if (!selector)
        return;
    // The first entry is the one exception: every other state, even no entry at all,
    // reads as the second card type.
    const bool first = ItemIndex(selector->name) == 0;
    if (TsuiGroupBox* box = Box(selector->captionGroup))
        box->setTitle(ToQString(selector->captions[first ? 0 : 1]));
    if (selector->swap.field.empty())
        return;
    if (QLabel* label = Label(selector->swap.firstName))
        label->setVisible(first);
    if (QLabel* label = Label(selector->swap.otherName))
        label->setVisible(!first);
}

FrameResult LinkPage::MakeFile(FileChooser& chooser, Messenger& messenger, ErrorReport& errors,
                               ProgressMonitor* progress) {
    FrameResult result = RunFrame(table_, FrameSeams{*this, chooser, messenger, errors, progress});
    if (result.outcome == FrameOutcome::InvalidInput && result.failedField) {
        if (TsuiEdit* edit = Edit(result.failedField->name)) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
        }
    }
    return result;
}
