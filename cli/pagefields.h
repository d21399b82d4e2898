#pragma once
// The fields of one page as the command line and job files set them: NAME=VALUE, a
// field by control name or key, a card-type box by item text or index, each field once.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame.h"
#include "pagetable.h"

namespace zd7240::cli {

// How a refusal names the field it is about: zd7240-gen by control name (suiEdit410),
// job files by key (end-vci).
enum class FieldNaming { Control, Key };

// The texts and card types of one page, starting from what the window opens with.
class PageFields : public FieldAccess {
public:
    explicit PageFields(const PageTable& page);
    std::string Text(std::string_view control) const override;
    void SetText(std::string_view control, const std::string& text) override;
    int ItemIndex(std::string_view selector) const override;
    void SetIndex(std::string_view selector, int index);

    // Sets a field (control name or key) or a card-type box (item text, or index 0, 1,
    // or -1 for no entry); returns what is wrong, empty on success.
    std::string Assign(std::string_view name, std::string_view value, FieldNaming naming);

    // A field given before, under the same or its other name.
    struct Repeat {
        std::string control; // the field's control name
        std::string earlier; // how it was given the first time
    };
    // Notes that the field `name` sets is given, `as` the caller shows it (the name, or
    // NAME=VALUE); answers the earlier one when it was given before. A name the page has
    // no field for is not noted.
    std::optional<Repeat> NoteGiven(std::string_view name, std::string_view as);
    // Lets go of what NoteGiven noted, once every field is given (a job file holds many).
    void ForgetGiven();

private:
    // The field or else the card-type box a name (control name or key) stands for;
    // both null when the page has neither.
    struct Named {
        const FieldRow* field = nullptr;
        const SelectorRow* selector = nullptr;
    };
    Named Find(std::string_view name) const;

    // Position of a control among the page's fields or card-type boxes; -1 when none.
    int FieldIndex(std::string_view control) const;
    int SelectorIndex(std::string_view selector) const;

    // Kept in the order of the page's rows rather than in maps by name, and in two
    // blocks rather than a string per field: a job file holds one of these per job (maps
    // took about 1.5 KB a job, a string per field about 450 bytes).
    const PageTable* page_;
    std::string texts_; // the field texts one after another, in row order
    // Where each field's text ends in texts_, then the index of each card-type box.
    std::vector<std::uint32_t> numbers_;
    mutable std::size_t lastFound_ = 0; // the field FieldIndex found last

    std::string_view TextAt(std::size_t field) const;
    void SetAt(std::size_t field, std::string_view text);
    struct Given {
        std::string_view control;
        std::string as;
    };
    std::vector<Given> given_; // in the order given
};

} // namespace zd7240::cli
