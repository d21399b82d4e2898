#include "pagebuilder.h"

#include <QFontMetrics>
#include <QHash>
#include <QLabel>
#include <QMetaMethod>
#include <algorithm>
#include <utility>
#include <vector>

#include "appfonts.h"
#include "controls/tsuibutton.h"
#include "controls/tsuicombobox.h"
#include "controls/tsuiedit.h"
#include "controls/tsuigroupbox.h"
#include "controls/tsuitabsheet.h"
#include "linkpage.h"
#include "look/systemcolors.h"
#include "pagelayout.h"
#include "windowdescription.h"

using namespace zd7240;
namespace wd = window_description;

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Connects the signal to the slot named `handler` on `handlers`. A handler the table
// names but the window lacks is a programming error, caught by the first start.
void ConnectHandler(QObject* sender, const QMetaMethod& signal, QObject* handlers,
                    std::string_view handler) {
    const QByteArray signature =
        QByteArray(handler.data(), static_cast<qsizetype>(handler.size())) + "()";
    const QMetaObject* meta = handlers->metaObject();
    const int index = meta->indexOfSlot(signature.constData());
    if (index < 0)
        qFatal("%s has no handler %s", meta->className(), signature.constData());
    QObject::connect(sender, signal, handlers, meta->method(index));
}

QLabel* MakeLabel(QWidget* parent, std::string_view text, const QRect& rect,
                  std::string_view name = {}) {
    auto* label = new QLabel(ToQString(text), parent);
    if (!name.empty())
        label->setObjectName(ToQString(name));
    label->setGeometry(rect);
    return label;
}

class Builder {
public:
    Builder(const PageTable& page, TsuiTabSheet* sheet, QObject* handlers)
        : page_(page), sheet_(sheet), handlers_(handlers) {}

    LinkPage* Run() {
        sheet_->setObjectName(ToQString(page_.sheet));
        sheet_->setCaption(ToQString(page_.caption));
        sheet_->setColor(wd::DescriptionColor(wd::kPageColor));
        sheet_->setUIStyle(TsuiUIStyle::MacOS);

        const QFontMetrics metrics(sheet_->font());
        const PageLayout layout = LayOutPage(page_, [&metrics](std::string_view text) {
            return metrics.horizontalAdvance(ToQString(text));
        });

        for (const BoxPlacement& box : layout.boxes)
            AddBox(box);
        for (const FieldPlacement& field : layout.fields)
            AddField(field);
        std::vector<std::pair<const NoteRow*, QLabel*>> notes;
        for (const NotePlacement& note : layout.notes) {
            QLabel* label =
                MakeLabel(boxes_.value(ToQString(note.row->group)), note.row->text, note.rect);
            label->setWordWrap(true);
            notes.emplace_back(note.row, label);
        }
        for (const SelectorPlacement& selector : layout.selectors)
            AddSelector(selector);
        // A note ending in a colon ("The card type is: ") labels the card-type box of its
        // group box.
        for (const auto& [row, label] : notes) {
            const bool labels = QString::fromUtf8(row->text.data(), qsizetype(row->text.size()))
                                    .trimmed()
                                    .endsWith(QLatin1Char(':'));
            for (const SelectorRow& selector : page_.selectors) {
                if (labels && selector.group == row->group)
                    label->setBuddy(combos_.value(ToQString(selector.name)));
            }
        }
        defaultButton_ = AddButton(page_.defaultButton);
        makeButton_ = AddButton(page_.makeButton);
        SetTabOrder();
        auto* page = new LinkPage(page_, sheet_);
        page->NameControls();
        return page;
    }

private:
    void AddBox(const BoxPlacement& placement) {
        const GroupRow& row = *placement.row;
        QWidget* parent = row.parent.empty()
                              ? static_cast<QWidget*>(sheet_)
                              : static_cast<QWidget*>(boxes_.value(ToQString(row.parent)));
        auto* box = new TsuiGroupBox(parent);
        box->setObjectName(ToQString(row.name));
        box->setTitle(ToQString(row.caption));
        box->setGeometry(placement.rect);
        box->setUIStyle(TsuiUIStyle::MacOS);
        box->setBorderColor(wd::DescriptionColor(wd::kBorderColor));
        box->setColor(wd::DescriptionColor(wd::kPageColor));
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        box->setPalette(palette);
        boxes_.insert(box->objectName(), box);
    }

    void AddField(const FieldPlacement& placement) {
        const FieldRow& row = *placement.row;
        TsuiGroupBox* box = boxes_.value(ToQString(row.group));
        auto* edit = new TsuiEdit(box);
        edit->setObjectName(ToQString(row.name));
        edit->setGeometry(placement.edit);
        edit->setUIStyle(TsuiUIStyle::MacOS);
        edit->setBorderColor(wd::DescriptionColor(wd::kBorderColor));
        edit->setText(ToQString(row.initial));
        if (row.role == FieldRole::End) {
            edit->setReadOnly(true);
            edit->setColor(SystemColorValue(SystemColor::ThreeDLight));
        }
        edits_.insert(edit->objectName(), edit);

        // A field whose label follows the card type has two labels in one place.
        if (const LabelSwap* swap = SwapBeside(row.name)) {
            MakeLabel(box, swap->firstText, placement.label, swap->firstName)->setBuddy(edit);
            // The other label names the field only while it is shown.
            MakeLabel(box, swap->otherText, placement.label, swap->otherName)->hide();
        } else {
            MakeLabel(box, row.label, placement.label)->setBuddy(edit);
        }
    }

    void AddSelector(const SelectorPlacement& placement) {
        const SelectorRow& row = *placement.row;
        auto* combo = new TsuiComboBox(boxes_.value(ToQString(row.group)));
        combo->setObjectName(ToQString(row.name));
        combo->setGeometry(placement.combo);
        combo->setUIStyle(TsuiUIStyle::MacOS);
        combo->setBorderColor(wd::DescriptionColor(wd::kBorderColor));
        for (std::string_view item : row.items)
            combo->addItem(ToQString(item));
        combo->setCurrentIndex(0);
        ConnectHandler(combo, QMetaMethod::fromSignal(&QComboBox::currentIndexChanged), handlers_,
                       row.handler);
        combos_.insert(combo->objectName(), combo);
    }

    TsuiButton* AddButton(const ButtonRow& row) {
        auto* button = new TsuiButton(sheet_);
        button->setObjectName(ToQString(row.name));
        button->setCaption(ToQString(row.caption));
        button->setGeometry(row.rect.left, row.rect.top, row.rect.width, row.rect.height);
        button->setUIStyle(TsuiUIStyle::MacOS);
        ConnectHandler(button, QMetaMethod::fromSignal(&QAbstractButton::clicked), handlers_,
                       row.handler);
        return button;
    }

    const LabelSwap* SwapBeside(std::string_view field) const {
        for (const SelectorRow& selector : page_.selectors) {
            if (!selector.swap.field.empty() && selector.swap.field == field)
                return &selector.swap;
        }
        return nullptr;
    }

    // Inside a box: its card-type box, its fields in table order, then its nested boxes.
    void CollectBox(const GroupRow& group, std::vector<QWidget*>& chain) const {
        for (const SelectorRow& selector : page_.selectors) {
            if (selector.group == group.name)
                chain.push_back(combos_.value(ToQString(selector.name)));
        }
        for (const FieldRow& field : page_.fields) {
            if (field.group == group.name)
                chain.push_back(edits_.value(ToQString(field.name)));
        }
        for (const GroupRow& child : page_.groups) {
            if (child.parent == group.name)
                CollectBox(child, chain);
        }
    }

    // The page's boxes and its two buttons in their tab order, each box expanded.
    void SetTabOrder() const {
        struct Stop {
            int order;
            const GroupRow* group;
            QWidget* button;
        };
        std::vector<Stop> stops;
        for (const GroupRow& group : page_.groups) {
            if (group.parent.empty())
                stops.push_back({group.tabOrder, &group, nullptr});
        }
        stops.push_back({page_.defaultButton.tabOrder, nullptr, defaultButton_});
        stops.push_back({page_.makeButton.tabOrder, nullptr, makeButton_});
        std::stable_sort(stops.begin(), stops.end(),
                         [](const Stop& a, const Stop& b) { return a.order < b.order; });
        std::vector<QWidget*> chain;
        for (const Stop& stop : stops) {
            if (stop.group)
                CollectBox(*stop.group, chain);
            else
                chain.push_back(stop.button);
        }
        for (std::size_t i = 1; i < chain.size(); ++i)
            QWidget::setTabOrder(chain[i - 1], chain[i]);
    }

    const PageTable& page_;
    TsuiTabSheet* sheet_;
    QObject* handlers_;
    QHash<QString, TsuiGroupBox*> boxes_;
    QHash<QString, TsuiEdit*> edits_;
    QHash<QString, TsuiComboBox*> combos_;
    TsuiButton* defaultButton_ = nullptr;
    TsuiButton* makeButton_ = nullptr;
};

} // namespace

LinkPage* BuildLinkPage(const PageTable& page, TsuiTabSheet* sheet, QObject* handlers) {
    return Builder(page, sheet, handlers).Run();
}
