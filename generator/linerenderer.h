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

    // An upper bound of the bytes Render writes, CR LF included.
    std::size_t MaxLineSize() const { return maxSize_; }

    // Writes one line followed by CR LF at out; returns the number of bytes written.
    std::size_t Render(char* out, const StepValues& values) const {
        char* p = out;
        for (const Segment& seg : segments_) {
            std::memcpy(p, constants_.data() + seg.offset, seg.length);
            p += seg.length;
            if (seg.hasValue)
                p = std::to_chars(p, p + 24, ValueOf(seg.value, values)).ptr;
        }
        *p++ = '\r';
        *p++ = '\n';
        return static_cast<std::size_t>(p - out);
    }

    std::string RenderToString(const StepValues& values) const;

private:
    struct Segment {
        std::size_t offset;
        std::size_t length;
        bool hasValue;
        WalkValue value;
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
