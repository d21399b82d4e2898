#pragma once
// Turns a page's line format into a compact template: the literal pieces and the
// copied field texts are merged into constant runs once per press, and the last line
// written is kept, so that the next one is mostly a copy of it with its numbers
// counted up in place.

#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "pagetable.h"

namespace zd7240 {

// The values of one walk step.
struct StepValues {
    std::int64_t board = 0;
    std::int64_t slot = 0;
    std::int64_t port = 0;
    std::int64_t step = 0;
    std::int32_t counter = 0;
};

class LineRenderer {
public:
    using FieldText = std::function<std::string(std::string_view control)>;

    LineRenderer(LineFormat format, const FieldText& fieldText);

    // An upper bound of the bytes Render writes, CR LF included. Render may also touch
    // up to kSlack bytes past the line (it copies in whole blocks), so callers give it
    // MaxLineSize() + kSlack bytes of room.
    static constexpr std::size_t kSlack = 64;
    std::size_t MaxLineSize() const { return maxSize_; }

    // Writes one line followed by CR LF at out; returns the number of bytes written.
    // From one walk step to the next the values mostly stay or go up by one, so the
    // last line is counted up in place and copied; any other change, or a value that
    // gains a digit, writes the line afresh.
    std::size_t Render(char* out, const StepValues& values) const {
        // Indexed by WalkValue.
        const std::int64_t all[] = {values.board, values.slot, values.port, values.step,
                                    values.counter};
        if (!CountUp(all))
            Compose(all);
        // Most lines fit 64 bytes: one fixed copy, then blocks for the rest.
        const char* line = line_.data();
        std::memcpy(out, line, 64);
        for (std::size_t i = 64; i < length_; i += 16)
            std::memcpy(out + i, line + i, 16);
        return length_;
    }

    std::string RenderToString(const StepValues& values) const;

private:
    // Where a value stands in the last line, and what it was.
    struct Slot {
        std::size_t constant; // offset of the constant text before it in constants_
        std::size_t constantLength;
        WalkValue value;
        mutable std::size_t begin = 0; // its digits in line_
        mutable std::size_t end = 0;
        // Marks "nothing written yet": no walk value comes near the lowest 64-bit
        // value, so the first line never matches it and is composed afresh.
        mutable std::int64_t current = std::numeric_limits<std::int64_t>::min();
        // current + 1 when current is not negative (its text then counts up in place).
        mutable std::int64_t next = std::numeric_limits<std::int64_t>::min();
    };

    // Brings the last line to `all` where every value stayed or went up by one from a
    // non-negative value without gaining a digit; false otherwise (the line may then be
    // half changed: Compose writes all of it).
    bool CountUp(const std::int64_t* all) const {
        char* line = line_.data();
        for (const Slot& slot : slots_) {
            const std::int64_t v = all[static_cast<std::size_t>(slot.value)];
            if (v == slot.current)
                continue;
            if (v != slot.next)
                return false;
            char* digit = line + slot.end - 1;
            while (*digit == '9') {
                if (digit == line + slot.begin)
                    return false; // 9..9 becomes 10..0
                *digit-- = '0';
            }
            ++*digit;
            slot.current = v;
            slot.next = NextOf(v);
        }
        return true;
    }

    // The value whose text counts up in place from v's; none for a negative one.
    static std::int64_t NextOf(std::int64_t v) {
        return v >= 0 && v < std::numeric_limits<std::int64_t>::max()
                   ? v + 1
                   : std::numeric_limits<std::int64_t>::min();
    }

    // Writes the line for `all` from the constants and the values' decimal texts.
    void Compose(const std::int64_t* all) const;

    std::string constants_;
    std::vector<Slot> slots_;
    std::size_t tail_ = 0; // offset of the constant text after the last value, CR LF included
    std::size_t maxSize_ = 2;
    mutable std::string line_; // the last line, padded for block copies
    mutable std::size_t length_ = 0;
};

} // namespace zd7240
