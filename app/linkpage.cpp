#include "linkpage.h"

#include <QLabel>

#include "controls/tsuicombobox.h"
#include "controls/tsuiedit.h"
#include "controls/tsuigroupbox.h"
#include "controls/tsuitabsheet.h"
#include "hints.h"
#include "windowseams.h"

using namespace zd7240;

namespace {
QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The text of the label shown for the control (its buddy), without the colon and
// spaces that end it on the page.
QString ShownLabel(const QWidget& control) {
    if (!control.parentWidget())
        return {};
    const auto labels = control.parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    for (const QLabel* label : labels) {
        if (label->buddy() != &control || label->isHidden())
            continue;
        QString text = label->text().trimmed();
        if (text.endsWith(QLatin1Char(':')))
            text.chop(1);
        return text.trimmed();
    }
    return {};
}

// The captions of the boxes the control sits in, outermost first, then its label:
// "Mmx card information, Card type is Optic, Vpi". The boxes' captions as they stand, so
// that a nested box relabelled by its card type is read as shown.
QString AccessibleNameOf(const QWidget& control) {
    QStringList parts;
    for (const QWidget* w = control.parentWidget(); w; w = w->parentWidget()) {
        if (const auto* box = qobject_cast<const TsuiGroupBox*>(w))
            parts.prepend(box->title().trimmed());
    }
    const QString label = ShownLabel(control);
    if (!label.isEmpty())
        parts << label;
    parts.removeAll(QString());
    return parts.join(QStringLiteral(", "));
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Puts the page's sanity hints to the operator between the End value and the save dialog:
// the frame asks its chooser for a file right after it has shown the End value, so the
// question stands in front of the real chooser.
class HintGate : public FileChooser {
public:
    HintGate(const LinkPage& page, Confirmer& confirmer, FileChooser& next)
        : page_(page), confirmer_(confirmer), next_(next) {}

    std::optional<std::string> ChooseFile() override {
        const std::vector<std::string> lines = page_.HintLines();
        if (!lines.empty()) {
            std::string text;
            for (const std::string& line : lines)
                text += (text.empty() ? "" : "\n") + line;
            if (!confirmer_.Confirm(kWarningCaption, text))
                return std::nullopt;
        }
        return next_.ChooseFile();
    }

private:
    const LinkPage& page_;
    Confirmer& confirmer_;
    FileChooser& next_;
};

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
    if (!selector->swap.field.empty()) {
        // Only the label shown names the field, to the eye and to a screen reader.
        TsuiEdit* field = Edit(selector->swap.field);
        if (QLabel* label = Label(selector->swap.firstName)) {
            label->setVisible(first);
            label->setBuddy(first ? field : nullptr);
        }
        if (QLabel* label = Label(selector->swap.otherName)) {
            label->setVisible(!first);
            label->setBuddy(first ? nullptr : field);
        }
    }
    NameControls();
}

void LinkPage::NameControls() {
    // A box would otherwise be read by the caption of the box around it.
    for (const GroupRow& group : table_.groups) {
        if (TsuiGroupBox* box = Box(group.name))
            box->setAccessibleName(box->title().trimmed());
    }
    for (const FieldRow& field : table_.fields) {
        if (TsuiEdit* edit = Edit(field.name))
            edit->setAccessibleName(AccessibleNameOf(*edit));
    }
    for (const SelectorRow& selector : table_.selectors) {
        if (TsuiComboBox* combo = Combo(selector.name))
            combo->setAccessibleName(AccessibleNameOf(*combo));
    }
}

std::vector<std::string> LinkPage::HintLines() const {
    if (FirstInvalidField(table_, *this))
        return {};
    std::vector<SanityHint> hints;
    try {
        Job job(table_, *this);
        job.SelectFormat(*this);
        hints = SanityHints(job, *this);
    } catch (const ConversionError&) {
        return {};
    }
    std::vector<std::string> lines;
    for (const SanityHint& hint : hints) {
        // The box as the page shows it now: a card-type box may have relabelled it.
        std::string where;
        for (const GroupRow* group = FindGroup(table_, hint.field->group); group;
             group = group->parent.empty() ? nullptr : FindGroup(table_, group->parent)) {
            const TsuiGroupBox* box = Box(group->name);
            const std::string caption =
                box ? box->title().toStdString() : std::string(group->caption);
            where = where.empty() ? caption : caption + " / " + where;
        }
        lines.push_back(Quoted(hint.field->label) + " in " + Quoted(where) + ": " + hint.text);
    }
    return lines;
}

FrameResult LinkPage::MakeFile(FileChooser& chooser, Messenger& messenger, ErrorReport& errors,
                               ProgressMonitor* progress, Confirmer* hints) {
    std::optional<HintGate> gate;
    if (hints)
        gate.emplace(*this, *hints, chooser);
    FileChooser& asked = gate ? static_cast<FileChooser&>(*gate) : chooser;
    FrameResult result = RunFrame(table_, FrameSeams{*this, asked, messenger, errors, progress});
    if (result.outcome == FrameOutcome::InvalidInput && result.failedField) {
        if (TsuiEdit* edit = Edit(result.failedField->name)) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
        }
    }
    return result;
}
