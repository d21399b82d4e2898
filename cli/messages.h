#pragma once
// What zd7240-gen says, the same way for one page and for job files: exit statuses,
// usage errors, and how fields, group boxes and End values are named in messages.
// What it hands the generation frame is in frameseams.h.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "exitstatus.h"
#include "frame.h"
#include "pagetable.h"

namespace zd7240::cli {

// The shared exit statuses under the names this program's code uses.
inline constexpr int kExitOk = exit_status::kOk;
inline constexpr int kExitUsage = exit_status::kUsage;
inline constexpr int kExitData = exit_status::kData;
inline constexpr int kExitNoInput = exit_status::kNoInput;
inline constexpr int kExitCantCreate = exit_status::kCantCreate;
inline constexpr int kExitIoError = exit_status::kIoError;

// Prints the message and the pointer to --help on standard error; returns kExitUsage.
int UsageError(const std::string& message);

// Text from outside (field values, names from a job file) in double quotes, its control
// characters escaped.
std::string Quoted(std::string_view text);

// At most `limit` bytes of `text` for a message, cut before a UTF-8 sequence, with
// "..." when cut.
std::string Shortened(std::string_view text, std::size_t limit = 40);

// "; did you mean 'start-vlan'?" when one of `names` is near `word` (a letter or two
// off, in any letter case); empty otherwise.
std::string DidYouMean(std::string_view word, const std::vector<std::string_view>& names);

// The caption a group box shows when the window opens, with the boxes it sits in:
// "Mmx card information / Card type is Optic".
std::string GroupCaption(const PageTable& page, std::string_view group);

// suiEdit403, "Start Vlan id:" in "Lan card information"
std::string FieldName(const PageTable& page, const FieldRow& field);

// start-vlan ("Start Vlan id:" in "Lan card information"): the key an operator types,
// then the window's name for the field.
std::string KeyName(const PageTable& page, const FieldRow& field);

// Every checked field the input check or the conversion would refuse, in check order,
// each in the operator's words: `start-slot ("Slot id:" in "Start adsl card
// information") is empty`, `end-vlan (...): '99999999999' is above 2147483647`.
std::vector<std::string> FieldRefusals(const PageTable& page, const FieldAccess& fields);

// "End Vci: 103"
std::string EndLine(const PageTable& page, std::int32_t value);

// What follows the Warning message when a field is not all digits:
// ` (suiEdit403, "Start Vlan id:" in "Lan card information": "12a")`.
std::string InvalidFieldNote(const PageTable& page, const FieldRow& field, std::string_view text);

} // namespace zd7240::cli
