#pragma once
// Turns a page's line format into a compact template: the literal pieces and the
// copied field texts are merged into constant runs once per press, so that writing
// a line is a few copies and number conversions.

#include <charconv>
#include <cstdint>
#include <cstring>
#include <functional>
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
    static constexpr std::size_t kSlack = 32;
    std::size_t MaxLineSize() const { return maxSize_; }

    // Writes one line followed by CR LF at out; returns the number of bytes written.
    // Consecutive lines mostly differ by a value one higher than before, so each value
    // keeps its last decimal text and counts it up in place instead of converting again.
    std::size_t Render(char* out, const StepValues& values) const {
        char* p = out;
        for (const Segment& seg : segments_) {
            CopyBlocks(p, constants_.data() + seg.offset, seg.length);
            p += seg.length;
            if (seg.hasValue) {
                const std::int64_t v = ValueOf(seg.value, values);
                Decimal& d = seg.text;
                if (!d.valid || v != d.value) {
                    if (d.valid && v == d.value + 1 && d.value >= 0)
                        d.Increment();
                    else
                        d.Set(v);
                }
                std::memcpy(p, d.digits, sizeof d.digits);
                p += d.length;
            }
        }
        *p++ = '\r';
        *p++ = '\n';
        return static_cast<std::size_t>(p - out);
    }

    std::string RenderToString(const StepValues& values) const;

private:
    // Copies n bytes in 16-byte blocks; the source is padded, the target has slack.
    static void CopyBlocks(char* to, const char* from, std::size_t n) {
        for (std::size_t i = 0; i < n; i += 16)
            std::memcpy(to + i, from + i, 16);
    }

    // A value's decimal text, left-aligned in a fixed buffer so it copies as one block.
    struct Decimal {
        char digits[24] = {};
        std::size_t length = 0;
        std::int64_t value = 0;
        bool valid = false;

        void Set(std::int64_t v) {
            length = static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, v).ptr -
                                              digits);
            value = v;
            valid = true;
        }
        // value + 1 for a non-negative value.
        void Increment() {
            std::size_t i = length;
            while (i > 0 && digits[i - 1] == '9')
                digits[--i] = '0';
            if (i > 0) {
                ++digits[i - 1];
            } else { // 9..9 becomes 10..0
                std::memmove(digits + 1, digits, length);
                digits[0] = '1';
                ++length;
            }
            ++value;
        }
    };

    struct Segment {
        std::size_t offset;
        std::size_t length;
        bool hasValue;
        WalkValue value;
        mutable Decimal text;
    };

    static std::int64_t ValueOf(WalkValue which, const StepValues& v) {
        switch (which) {
        case WalkValue::Board:
            return v.board;
        case WalkValue::Slot:
            return v.slot;
        case WalkValue::Port:
            return v.port;
        case WalkValue::Step:
            return v.step;
        case WalkValue::Counter:
            return v.counter;
        }
        return 0;
    }

    std::string constants_;
    std::vector<Segment> segments_;
    std::size_t maxSize_ = 2;
};

} // namespace zd7240
