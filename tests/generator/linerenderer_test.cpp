#include "linerenderer.h"

#include <gtest/gtest.h>

#include <climits>

namespace zd7240 {
namespace {

// Values are counted up in place between lines; every sequence a walk can produce must
// print the same text a fresh conversion gives.
TEST(LineRenderer, ValuesPrintTheSameWhateverCameBefore) {
    const Piece format[] = {{PieceKind::Literal, "v ", WalkValue::Counter},
                            {PieceKind::Value, {}, WalkValue::Step},
                            {PieceKind::Field, "f", WalkValue::Counter},
                            {PieceKind::Value, {}, WalkValue::Counter}};
    const LineRenderer renderer(format, [](std::string_view) { return std::string("/"); });
    const std::int64_t steps[] = {0,   1,  2,   9,    10, 11,         99,
                                  100, 99, 999, 1000, 7,  2147483646, 2147483647};
    const std::int32_t counters[] = {0, -1, INT32_MAX, INT32_MIN, INT32_MIN + 1, 9, 10, 0};
    std::size_t i = 0;
    for (std::int64_t step : steps) {
        const std::int32_t counter = counters[i++ % std::size(counters)];
        StepValues v;
        v.step = step;
        v.counter = counter;
        EXPECT_EQ(renderer.RenderToString(v),
                  "v " + std::to_string(step) + "/" + std::to_string(counter) + "\r\n");
    }
    // A walk: both values count up together, across digit boundaries and the counter's
    // wrap past 2147483647, written line after line into one buffer.
    std::string written(renderer.MaxLineSize() + LineRenderer::kSlack, '\0');
    std::int32_t counter = INT32_MAX - 1005;
    for (std::int64_t step = 990; step <= 11000; ++step) {
        StepValues v;
        v.step = step;
        v.counter = counter;
        written.resize(renderer.MaxLineSize() + LineRenderer::kSlack);
        written.resize(renderer.Render(written.data(), v));
        const std::string fresh =
            "v " + std::to_string(step) + "/" + std::to_string(counter) + "\r\n";
        if (written != fresh) {
            ADD_FAILURE() << "step " << step << ": " << written;
            break;
        }
        counter = counter == INT32_MAX ? INT32_MIN : counter + 1;
    }
}

// A format without values still writes its line, every time.
TEST(LineRenderer, FormatWithoutValuesWritesItsLine) {
    const Piece format[] = {{PieceKind::Literal, "end ", WalkValue::Counter},
                            {PieceKind::Field, "f", WalkValue::Counter}};
    const LineRenderer renderer(format, [](std::string_view) { return std::string("x"); });
    StepValues v;
    EXPECT_EQ(renderer.RenderToString(v), "end x\r\n");
    v.step = 5;
    EXPECT_EQ(renderer.RenderToString(v), "end x\r\n");
}

} // namespace
} // namespace zd7240
