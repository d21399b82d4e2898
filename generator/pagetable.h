#pragma once
// The eight link-type pages as data. The window builds each page from its table, the
// generation frame checks, computes and writes from it, and zd7240-gen reads the same
// table, so all three agree on names, order and output.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zd7240 {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A group box of a page. `parent` is empty for a box placed on the page itself, or the
// control name of the box it is nested in.
struct GroupRow {
    std::string_view name;    // "suiGroupBox24"
    std::string_view caption; // caption at start
    std::string_view parent;  // "" or "suiGroupBox30"
    Rect rect; // given for boxes on the page; nested boxes are laid out by the window
    int tabOrder = 0;
};

// What the device accepts in a field although the window takes any digits. Kept with the
// field so that zd7240-gen and a later window warn about the same values (see hints.h).
enum class FieldHint : std::uint8_t {
    None,
    VlanId,      // 1..4094
    Vpi,         // 0..255
    Vci,         // 32..65535 (0..31 are reserved)
    ChassisSlot, // a start or end slot of the chassis walk; 7 and 8 hold no subscriber card
    PortCount,   // ports per card; 0 gives no line
};

enum class FieldRole {
    Copied,  // written into every line exactly as typed
    Numeric, // converted to a signed 32-bit integer for the End rule and the walk
    End,     // read-only; receives the computed End value, never checked or read
};

struct FieldRow {
    std::string_view name;     // "suiEdit401"
    std::string_view key;      // readable key for the command line: "lan-board"
    std::string_view group;    // control name of the group box holding the field
    std::string_view label;    // "Board id:"; for a swapped label, the Optic one
    std::string_view initial;  // text when the window opens
    std::string_view defaults; // text the "Default" button sets
    int checkOrder = 0;        // 1.. position in the input check; 0 = not checked
    FieldRole role = FieldRole::Copied;
    FieldHint hint = FieldHint::None;
};

// A label pair that follows a card-type box: "Port id:" for the first entry,
// "Group id:" otherwise, standing in the same place beside one edit.
struct LabelSwap {
    std::string_view field;     // the edit the labels stand beside
    std::string_view firstName; // label shown for index 0 ("Label10")
    std::string_view firstText; // "Port id:"
    std::string_view otherName; // label shown otherwise ("Label19")
    std::string_view otherText; // "Group id:"
};

struct SelectorRow {
    std::string_view name;                    // "suiComboBox401"
    std::string_view key;                     // "card-type"
    std::string_view handler;                 // "suiComboBox401Change"
    std::string_view group;                   // group box the box sits in
    std::array<std::string_view, 2> items;    // "Optic", "Ima"
    std::string_view captionGroup;            // group box relabelled by the box
    std::array<std::string_view, 2> captions; // "Card type is Optic", "...Ima"
    LabelSwap swap;                           // empty `field` when the page has no label swap
};

enum class WalkKind {
    Chassis, // the ADSL chassis walk over boards, slots and ports
    Range,   // a step value from Start to End, both included
};

// How the card-type indices pick a line format for a press.
enum class FormatRule {
    FirstOrOther, // one box: index 0 -> format 0, anything else -> format 1
    Exact,        // one box: index 0 -> format 0, index 1 -> format 1, else no lines
    SumOfTwo,     // two boxes: by the sum of their indices (see SelectFormat)
    Single,       // no box: always format 0
};

// Values that change from line to line.
enum class WalkValue : std::uint8_t {
    Board,   // chassis walk: board of the step
    Slot,    // chassis walk: slot of the step
    Port,    // chassis walk: port of the step
    Step,    // range walk: VLAN id or Aiu VCI of the step
    Counter, // the running counter (far-side VCI or VLAN id)
};

enum class PieceKind : std::uint8_t { Literal, Field, Value };

struct Piece {
    PieceKind kind;
    std::string_view text; // literal text, or the control name of a copied field
    WalkValue value = WalkValue::Counter;
};

using LineFormat = std::span<const Piece>;

struct ButtonRow {
    std::string_view name;    // "suiButton402"
    std::string_view caption; // "Make file"
    std::string_view handler; // "suiButton402Click"
    Rect rect;
    int tabOrder = 0;
};

// A static text of a page ("The card type is: ", "You can't change the End Vci value.").
struct NoteRow {
    std::string_view group; // group box it stands in
    std::string_view text;
};

struct PageTable {
    std::string_view sheet;   // "suiTabSheet5"
    std::string_view caption; // "Lan--Mmx"
    std::string_view slug;    // "lan-mmx"
    std::span<const GroupRow> groups;
    std::span<const FieldRow> fields; // in the order the "Default" button sets them
    std::span<const SelectorRow> selectors;
    ButtonRow defaultButton;
    ButtonRow makeButton;
    WalkKind walk;
    // Walk inputs in conversion order. Chassis: start board, start slot, end board,
    // end slot, port count, start value. Range: end, start, counter start (the order
    // the End rule converts them).
    std::span<const std::string_view> walkFields;
    std::string_view endField; // control name of the End field
    FormatRule formatRule;
    std::span<const LineFormat> formats;
    std::span<const NoteRow> notes; // static texts of the page, for the window
};

// The pages in tab order: "Adsl--Mmx", "Adsl--Ces", "Adsl--Lan", "Lan--Mmx", "Lan--Ces",
// "Adsl--Aiu", "Lan--Aiu", "Aiu-Mmx".
std::span<const PageTable> Pages();

// ASCII comparison ignoring letter case, as page captions and item texts are matched.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// Whether two control names or keys are the same text. Names of one page differ mostly
// in their last characters ("suiEdit401", "suiEdit402") and often in their length, so
// those are compared before the whole text: the rows are searched for every field of
// every job of a job file.
inline bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    if (a.empty() || a.data() == b.data())
        return true;
    return a.back() == b.back() && a == b;
}

// Finds a page by its caption (case-insensitive) or its slug; nullptr if none.
const PageTable* FindPage(std::string_view captionOrSlug);

const FieldRow* FindField(const PageTable& page, std::string_view nameOrKey);
const SelectorRow* FindSelector(const PageTable& page, std::string_view nameOrKey);
const GroupRow* FindGroup(const PageTable& page, std::string_view name);

// The checked fields in check order.
std::span<const FieldRow* const> CheckedFields(const PageTable& page);

// The line format for this press, or -1 when the indices select none (no lines).
int SelectFormat(FormatRule rule, std::span<const int> indices);

} // namespace zd7240
