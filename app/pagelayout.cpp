#include "pagelayout.h"

#include <algorithm>

using namespace zd7240;

namespace {

class PageLayouter {
public:
    PageLayouter(const PageTable& page, const TextWidth& textWidth, const PageLayoutRules& rules)
        : page_(page), width_(textWidth), r_(rules) {}

    PageLayout Run() {
        for (const GroupRow& group : page_.groups) {
            if (!group.parent.empty())
                continue;
            const QRect rect(group.rect.left, group.rect.top, group.rect.width, group.rect.height);
            out_.boxes.push_back({&group, rect});
            if (rect.height() <= r_.rowBoxMaxHeight)
                LayOutRow(group, rect.size());
            else
                LayOutColumn(group, rect.size(), false);
        }
        return std::move(out_);
    }

private:
    std::vector<const FieldRow*> FieldsOf(const GroupRow& group) const {
        std::vector<const FieldRow*> fields;
        for (const FieldRow& field : page_.fields) {
            if (field.group == group.name)
                fields.push_back(&field);
        }
        return fields;
    }

    std::vector<const NoteRow*> NotesOf(const GroupRow& group) const {
        std::vector<const NoteRow*> notes;
        for (const NoteRow& note : page_.notes) {
            if (note.group == group.name)
                notes.push_back(&note);
        }
        return notes;
    }

    const SelectorRow* SelectorOf(const GroupRow& group) const {
        for (const SelectorRow& selector : page_.selectors) {
            if (selector.group == group.name)
                return &selector;
        }
        return nullptr;
    }

    int Width(std::string_view text) const { return width_(text); }

    // One field under the other. In a card box the first note is the heading line (the
    // card type, with its combo box beside it when the box has one); every other note
    // stands under the fields. Nested boxes follow the fields.
    void LayOutColumn(const GroupRow& group, QSize size, bool nested) {
        const int labelLeft = nested ? r_.nestedLabelLeft : r_.cardLabelLeft;
        const int editLeft = nested ? r_.nestedEditLeft : r_.cardEditLeft;
        const int pitch = nested ? r_.nestedPitch : r_.cardPitch;
        int top = nested ? r_.nestedFirstTop : r_.cardFirstTop;

        std::vector<const NoteRow*> notes = NotesOf(group);
        auto footer = notes.begin();
        if (!nested && !notes.empty()) {
            const NoteRow* heading = notes.front();
            ++footer;
            const int headingWidth = Width(heading->text);
            if (const SelectorRow* selector = SelectorOf(group)) {
                const int comboLeft = std::max(editLeft, labelLeft + headingWidth + r_.labelGap);
                out_.notes.push_back(
                    {heading,
                     QRect(labelLeft, r_.headingTop + (r_.combo.height() - r_.textHeight) / 2,
                           headingWidth, r_.textHeight)});
                out_.selectors.push_back(
                    {selector, QRect(QPoint(comboLeft, r_.headingTop), r_.combo)});
            } else {
                out_.notes.push_back({heading, QRect(labelLeft, r_.headingTop + 4,
                                                     size.width() - 2 * labelLeft, r_.textHeight)});
            }
            top += r_.headingAdvance;
        }

        int bottom = top;
        for (const FieldRow* field : FieldsOf(group)) {
            const QRect edit(QPoint(editLeft, top), r_.edit);
            const QRect label(labelLeft, top + (r_.edit.height() - r_.textHeight) / 2,
                              editLeft - r_.labelGap - labelLeft, r_.textHeight);
            out_.fields.push_back({field, label, edit});
            bottom = edit.bottom() + 1;
            top += pitch;
        }

        for (const GroupRow& child : page_.groups) {
            if (child.parent != group.name)
                continue;
            const QRect rect(
                QPoint((size.width() - r_.nestedBox.width()) / 2, top - r_.nestedBoxLift),
                r_.nestedBox);
            out_.boxes.push_back({&child, rect});
            LayOutColumn(child, rect.size(), true);
            bottom = rect.bottom() + 1;
            top = bottom + r_.nestedBoxLift;
        }

        int noteTop = bottom + r_.noteGap;
        int widest = 0;
        for (auto note = footer; note != notes.end(); ++note)
            widest = std::max(widest, Width((*note)->text));
        const int noteLeft =
            std::clamp((size.width() - widest) / 2, std::min(r_.noteMinLeft, labelLeft), labelLeft);
        const int noteWidth = size.width() - 2 * noteLeft;
        for (; footer != notes.end(); ++footer) {
            const int lines = std::clamp((Width((*footer)->text) + noteWidth - 1) / noteWidth, 1,
                                         r_.noteMaxLines);
            const int height = lines * r_.textHeight;
            out_.notes.push_back({*footer, QRect(noteLeft, noteTop, noteWidth, height)});
            noteTop += height + r_.noteSpacing;
        }
    }

    // Side by side: each field's label and edit, then the notes. Several edits in a row
    // are compact. When the row would not fit with the usual margins and gaps, margins and
    // gaps share what is left; when it does not fit even then, the texts give up width in
    // proportion (their ends are cut) so that every edit stays inside the box.
    void LayOutRow(const GroupRow& group, QSize size) {
        const std::vector<const FieldRow*> fields = FieldsOf(group);
        const std::vector<const NoteRow*> notes = NotesOf(group);
        const QSize edit = fields.size() > 1 ? r_.compactEdit : r_.edit;

        std::vector<int> textWidths; // labels, then notes
        for (const FieldRow* field : fields)
            textWidths.push_back(Width(field->label));
        for (const NoteRow* note : notes)
            textWidths.push_back(Width(note->text));
        int textTotal = 0;
        for (int width : textWidths)
            textTotal += width;
        const int fixedWidth = static_cast<int>(fields.size()) * (r_.rowLabelGap + edit.width());

        const int usable = size.width() - 2 * r_.boxBorder;
        const int items = static_cast<int>(textWidths.size());
        const int gaps = std::max(items - 1, 0);
        const int room = usable - textTotal - fixedWidth;
        int gap = r_.rowGap;
        int left = r_.rowLeft;
        if (room < 2 * r_.rowLeft + gaps * r_.rowGap) {
            gap = std::max(r_.rowMinGap, room / (items + 1));
            left = r_.boxBorder + std::max(0, (room - gaps * gap) / 2);
        }
        const int over = textTotal + fixedWidth + gaps * gap - usable;
        if (over > 0 && textTotal > 0) {
            for (int& width : textWidths)
                width -= (over * width + textTotal - 1) / textTotal;
        }

        const int textTop = r_.rowTop + (edit.height() - r_.textHeight) / 2;
        std::size_t text = 0;
        for (const FieldRow* field : fields) {
            const int labelWidth = std::max(0, textWidths[text++]);
            const QRect label(left, textTop, labelWidth, r_.textHeight);
            left += labelWidth + r_.rowLabelGap;
            out_.fields.push_back({field, label, QRect(QPoint(left, r_.rowTop), edit)});
            left += edit.width() + gap;
        }
        for (const NoteRow* note : notes) {
            const int width = std::max(0, textWidths[text++]);
            out_.notes.push_back({note, QRect(left, textTop, width, r_.textHeight)});
            left += width + gap;
        }
    }

    const PageTable& page_;
    const TextWidth& width_;
    const PageLayoutRules& r_;
    PageLayout out_;
};

} // namespace

PageLayout LayOutPage(const PageTable& page, const TextWidth& textWidth,
                      const PageLayoutRules& rules) {
    return PageLayouter(page, textWidth, rules).Run();
}
