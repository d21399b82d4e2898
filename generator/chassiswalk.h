#pragma once
// The ADSL chassis: boards 0, 1, 2, ... with slots 0..15, of which slots 7 and 8
// never hold a subscriber card. The walk visits every port of a range of cards.

#include <cstdint>

#include "int32text.h"

namespace zd7240 {

struct ChassisInputs {
    std::int32_t startBoard = 0;
    std::int32_t startSlot = 0;
    std::int32_t endBoard = 0;
    std::int32_t endSlot = 0;
    std::int32_t portCount = 0;
    std::int32_t startValue = 0;
};

// Walk step handed to the line builder. Board, slot and port are never negative
// (the input check refuses signs), so they are held wide enough for any range.
struct ChassisStep {
    std::int64_t board;
    std::int64_t slot;
    std::int64_t port;
    std::int32_t counter;
};

// The last far-side identifier the page shows in its End field. The formula counts
// slots 7 and 8 when a range starts or ends on them, so for such ranges it may differ
// from the walk's last counter; that is what the End field has always shown.
std::int32_t ChassisEndValue(const ChassisInputs& in);

constexpr bool IsSkippedSlot(std::int64_t slot) {
    return slot == 7 || slot == 8;
}

// Calls sink(step) once per subscriber port in walk order. The sink returns false to
// stop the walk early (a cancelled job); the function returns false in that case.
template <class Sink> bool ForEachChassisPort(const ChassisInputs& in, Sink&& sink) {
    std::int32_t counter = in.startValue;
    const std::int64_t ports = in.portCount;
    if (ports <= 0)
        return true;
    auto visitSlot = [&](std::int64_t board, std::int64_t slot) {
        if (IsSkippedSlot(slot))
            return true;
        for (std::int64_t port = 0; port < ports; ++port) {
            if (!sink(ChassisStep{board, slot, port, counter}))
                return false;
            counter = Add32(counter, 1);
        }
        return true;
    };
    auto visitSlots = [&](std::int64_t board, std::int64_t from, std::int64_t to) {
        for (std::int64_t slot = from; slot <= to; ++slot) {
            if (!visitSlot(board, slot))
                return false;
        }
        return true;
    };
    const std::int64_t b1 = in.startBoard, b2 = in.endBoard;
    if (b1 == b2)
        return visitSlots(b1, in.startSlot, in.endSlot);
    if (!visitSlots(b1, in.startSlot, 15))
        return false;
    for (std::int64_t board = b1 + 1; board <= b2 - 1; ++board) {
        if (!visitSlots(board, 0, 15))
            return false;
    }
    return visitSlots(b2, 0, in.endSlot);
}

} // namespace zd7240
