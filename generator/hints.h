#pragma once
// Sanity hints: values the device refuses although they are digits and pass the input
// check. The window writes them as typed, and so does zd7240-gen; it warns about them
// (or refuses them with --strict). The rules per field are the `hint` column of the page
// tables; the rules over the whole walk (a wrapped End value, a walk with no line) are
// computed here from the converted job.

#include <string>
#include <string_view>
#include <vector>

#include "pagetable.h"

namespace zd7240 {

class FieldAccess;
class Job;

inline constexpr int kVlanIdMin = 1;
inline constexpr int kVlanIdMax = 4094;
inline constexpr int kVpiMax = 255;
inline constexpr int kVciMin = 32;
inline constexpr int kVciMax = 65535;

struct SanityHint {
    const FieldRow* field; // the field the hint is about
    std::string text;      // "VLAN id 4095 is outside 1..4094"
};

// What is wrong with a value under a field's rule; empty when nothing is. `value` is the
// field's text (digits) or a computed End value ("-16").
std::string HintFor(FieldHint hint, std::string_view value);

// Every hint of a job that passed the input check and the conversion, in table order of
// the fields, then the hints over the walk. Expects Job::SelectFormat to have been called.
std::vector<SanityHint> SanityHints(const Job& job, const FieldAccess& fields);

} // namespace zd7240
