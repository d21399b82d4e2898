// The worked examples of every page, byte for byte through the generation frame.

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "../lib/tempdir.h"
#include "../lib/workedexamples.h"
#include "fakes.h"
#include "frame.h"

namespace zd7240 {
namespace {

using test::FixedChooser;
using test::MapFields;
using test::RecordingErrors;
using test::RecordingMessenger;

std::vector<std::string> SplitCrLf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto crlf = bytes.find("\r\n", start);
        if (crlf == std::string::npos) {
            lines.push_back(bytes.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(bytes.substr(start, crlf - start));
        start = crlf + 2;
    }
    return lines;
}

class WorkedExamples : public testing::TestWithParam<test::WorkedExample> {};

} // namespace

namespace test {
// The example's name where GoogleTest names the parameter.
void PrintTo(const WorkedExample& example, std::ostream* out) {
    *out << example.name;
}
} // namespace test

namespace {

TEST_P(WorkedExamples, AreWrittenByteForByte) {
    const test::WorkedExample& example = GetParam();
    const PageTable* page = FindPage(example.page);
    ASSERT_NE(page, nullptr);
    for (auto [key, value] : example.fields)
        EXPECT_TRUE(FindField(*page, key) || FindSelector(*page, key)) << key;
    MapFields fields(*page);
    fields.Set(example.fields, *page);
    test::TempDir dir;
    const std::string path = dir.File("zd7240.txt");
    FixedChooser chooser(path);
    RecordingMessenger messenger;
    RecordingErrors errors;
    const FrameResult result = RunFrame(*page, {fields, chooser, messenger, errors});
    ASSERT_EQ(result.outcome, FrameOutcome::Written)
        << (errors.errors.empty() ? "" : errors.errors[0]);
    EXPECT_EQ(fields.texts[std::string(page->endField)], example.end);
    EXPECT_EQ(
        messenger.messages,
        std::vector<std::string>{"Congratulation|The file is ready for you! Please check it!"});
    const std::string bytes = test::ReadFile(path);
    EXPECT_TRUE(bytes.ends_with("\r\n"));
    const auto lines = SplitCrLf(bytes);
    if (example.count == 0) {
        EXPECT_EQ(lines, example.lines);
    } else {
        ASSERT_EQ(lines.size(), example.count);
        EXPECT_EQ(lines.front(), example.lines.front());
        EXPECT_EQ(lines.back(), example.lines.back());
    }
    EXPECT_EQ(result.lines, lines.size());
}

// Test names from the examples' names: "Lan--Mmx ima" runs as "Lan__Mmx_ima".
INSTANTIATE_TEST_SUITE_P(Pages, WorkedExamples, testing::ValuesIn(test::kWorkedExamples),
                         [](const testing::TestParamInfo<test::WorkedExample>& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name;
                         });

TEST(Pages, TablesAreConsistent) {
    ASSERT_EQ(Pages().size(), 8u);
    const char* captions[] = {"Adsl--Mmx", "Adsl--Ces", "Adsl--Lan", "Lan--Mmx",
                              "Lan--Ces",  "Adsl--Aiu", "Lan--Aiu",  "Aiu-Mmx"};
    for (std::size_t i = 0; i < 8; ++i) {
        const PageTable& page = Pages()[i];
        SCOPED_TRACE(page.caption);
        EXPECT_EQ(page.caption, captions[i]);
        EXPECT_EQ(FindPage(page.slug), &page);
        // Check orders run 1..n without gaps; the End field is never checked.
        const auto checked = CheckedFields(page);
        for (std::size_t k = 0; k < checked.size(); ++k)
            EXPECT_EQ(checked[k]->checkOrder, static_cast<int>(k) + 1);
        const FieldRow* end = FindField(page, page.endField);
        EXPECT_NE(end, nullptr);
        if (end) {
            EXPECT_EQ(end->role, FieldRole::End);
            EXPECT_EQ(end->checkOrder, 0);
        }
        // Every field a line copies, and every walk field, is a checked field of the page.
        for (const LineFormat& format : page.formats)
            for (const Piece& piece : format)
                if (piece.kind == PieceKind::Field) {
                    const FieldRow* f = FindField(page, piece.text);
                    EXPECT_NE(f, nullptr) << piece.text;
                    if (f) {
                        EXPECT_GT(f->checkOrder, 0) << piece.text;
                    }
                }
        for (std::string_view name : page.walkFields) {
            const FieldRow* f = FindField(page, name);
            EXPECT_NE(f, nullptr) << name;
            if (f) {
                EXPECT_EQ(f->role, FieldRole::Numeric) << name;
            }
        }
        // Keys and names are unique within the page.
        for (const FieldRow& a : page.fields)
            for (const FieldRow& b : page.fields)
                if (&a != &b) {
                    EXPECT_NE(a.key, b.key);
                    EXPECT_NE(a.name, b.name);
                }
    }
    EXPECT_EQ(FindPage("lan--mmx"), FindPage("lan-mmx"));
    EXPECT_EQ(FindPage("Aiu--Mmx"), nullptr);
}

} // namespace
} // namespace zd7240
