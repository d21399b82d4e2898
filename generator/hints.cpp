#include "hints.h"

#include <charconv>
#include <optional>

#include "frame.h"
#include "processguard.h"
#include "rangemath.h"

namespace zd7240 {

namespace {

// A decimal text (an optional "-", then digits) as a number; nothing when it has more
// digits than a 64-bit integer holds, which is beyond every limit below anyway.
std::optional<std::int64_t> Number(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The value as a hint shows it: the number, or digits beyond 64 bits cut to a readable
// length.
std::string Plain(std::string_view text) {
    if (auto v = Number(text))
        return std::to_string(*v);
    return EchoedText(text);
}

// The exact End value of the chassis formula, before the 32-bit wrap.
WideInt ExactChassisEnd(const ChassisInputs& in) {
    const WideInt b1 = in.startBoard, s1 = in.startSlot, b2 = in.endBoard, s2 = in.endSlot;
    auto inRange = [](WideInt v, int lo, int hi) { return v >= lo && v <= hi; };
    WideInt cards;
    if (b1 == b2) {
        const bool crosses = inRange(s1, 0, 6) && inRange(s2, 9, 255);
        cards = crosses ? s2 - s1 - 1 : s2 - s1 + 1;
    } else {
        const WideInt first = inRange(s1, 0, 6) ? 14 - s1 : 16 - s1;
        const WideInt last = inRange(s2, 9, 255) ? s2 - 1 : s2 + 1;
        cards = first + last + (b2 - b1 - 1) * 14;
    }
    return cards * in.portCount + in.startValue - 1;
}

std::string WideText(WideInt v) {
    if (v < 0)
        return "-" + FormatLineCount(static_cast<LineCount>(-v));
    return FormatLineCount(static_cast<LineCount>(v));
}

} // namespace

std::string HintFor(FieldHint hint, std::string_view value) {
    const std::optional<std::int64_t> number = Number(value);
    const std::string shown = Plain(value);
    // A number too long for 64 bits is above every limit.
    auto above = [&](std::int64_t limit) { return !number || *number > limit; };
    auto below = [&](std::int64_t limit) { return number && *number < limit; };
    switch (hint) {
    case FieldHint::None:
        return {};
    case FieldHint::VlanId:
        if (below(kVlanIdMin) || above(kVlanIdMax))
            return "VLAN id " + shown + " is outside 1..4094";
        return {};
    case FieldHint::Vpi:
        if (above(kVpiMax))
            return "VPI " + shown + " is above 255";
        return {};
    case FieldHint::Vci:
        if (below(kVciMin))
            return "VCI " + shown + " is below 32 (0..31 are reserved)";
        if (above(kVciMax))
            return "VCI " + shown + " is above 65535";
        return {};
    case FieldHint::ChassisSlot:
        if (number && IsSkippedSlot(*number))
            return "slot " + shown +
                   " holds no subscriber card: the walk writes no line for it, the End value "
                   "counts it";
        return {};
    case FieldHint::PortCount:
        if (number && *number == 0)
            return "a port count of 0 gives no line";
        return {};
    }
    return {};
}

std::vector<SanityHint> SanityHints(const Job& job, const FieldAccess& fields) {
    const PageTable& page = job.page();
    const FieldRow* endField = FindField(page, page.endField);
    const WalkSummary walk = Summarize(job);
    std::vector<SanityHint> hints;
    for (const FieldRow& field : page.fields) {
        if (field.hint == FieldHint::None)
            continue;
        // The End field holds what the walk computes; with no line there is nothing to judge.
        if (field.role == FieldRole::End && walk.lines == 0)
            continue;
        const std::string value =
            field.role == FieldRole::End ? FormatInt32(job.endValue()) : fields.Text(field.name);
        std::string text = HintFor(field.hint, value);
        if (!text.empty())
            hints.push_back({&field, std::move(text)});
    }
    // The End value and the counter as exact numbers, to see whether 32 bits wrapped them.
    WideInt exactEnd;
    WideInt counterStart;
    if (page.walk == WalkKind::Chassis) {
        exactEnd = ExactChassisEnd(job.chassis());
        counterStart = job.chassis().startValue;
    } else {
        exactEnd = WideInt{job.rangeEnd()} - job.rangeStart() + job.counterStart();
        counterStart = job.counterStart();
    }
    constexpr WideInt kInt32Max = 2147483647;
    if (exactEnd > kInt32Max) {
        hints.push_back({endField, "the End value wrapped past 2147483647: it would be " +
                                       WideText(exactEnd) + ", the page shows " +
                                       FormatInt32(job.endValue())});
    } else if (walk.lines > 0 && counterStart + static_cast<WideInt>(walk.lines) - 1 > kInt32Max) {
        hints.push_back({endField, "the counter wraps past 2147483647 after " +
                                       WideText(kInt32Max - counterStart + 1) +
                                       " lines and goes on from -2147483648"});
    }
    if (walk.lines == 0) {
        // A walk that runs backwards is named by the two fields the operator typed, not
        // by the End field computed from them.
        const auto key = [&page](std::size_t i) -> const FieldRow* {
            return FindField(page, page.walkFields[i]);
        };
        if (page.walk == WalkKind::Range && job.rangeStart() > job.rangeEnd() && key(0) && key(1)) {
            hints.push_back(
                {key(1), std::string(key(1)->key) + " " + FormatInt32(job.rangeStart()) +
                             " is above " + std::string(key(0)->key) + " " +
                             FormatInt32(job.rangeEnd()) + ": the walk writes no line"});
        } else if (const ChassisInputs& in = job.chassis();
                   page.walk == WalkKind::Chassis && key(0) && key(1) && key(2) && key(3) &&
                   in.startBoard == in.endBoard && in.startSlot > in.endSlot) {
            hints.push_back({key(0), std::string(key(0)->key) + "/" + std::string(key(1)->key) +
                                         " " + FormatInt32(in.startBoard) + "/" +
                                         FormatInt32(in.startSlot) + " is after " +
                                         std::string(key(2)->key) + "/" + std::string(key(3)->key) +
                                         " " + FormatInt32(in.endBoard) + "/" +
                                         FormatInt32(in.endSlot) + ": the walk writes no line"});
        } else {
            hints.push_back({endField, "the walk writes no line: the file will be empty"});
        }
    }
    return hints;
}

} // namespace zd7240
