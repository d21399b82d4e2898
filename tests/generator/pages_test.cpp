// The worked examples of every page, byte for byte through the generation frame.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../lib/tempdir.h"
#include "fakes.h"
#include "frame.h"

namespace zd7240 {
namespace {

using test::FixedChooser;
using test::MapFields;
using test::RecordingErrors;
using test::RecordingMessenger;

struct Golden {
    const char* page;
    std::initializer_list<std::pair<const char*, const char*>> fields; // by key; selectors too
    const char* end;
    std::vector<std::string> lines; // the whole file when `count` is 0, else first and last
    std::size_t count = 0;
};

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

const Golden kGolden[] = {
    // Adsl--Mmx, the full file
    {"Adsl--Mmx",
     {{"start-board", "0"},
      {"start-slot", "6"},
      {"end-board", "1"},
      {"end-slot", "1"},
      {"port-number", "2"},
      {"mmx-vpi", "1"},
      {"start-vci", "40"}},
     "59",
     {"pvc adsl 0/6/0 vpi 0 35 atm 0/7/0 optic 1 40 1 1 000 000",
      "pvc adsl 0/6/1 vpi 0 35 atm 0/7/0 optic 1 41 1 1 000 000",
      "pvc adsl 0/9/0 vpi 0 35 atm 0/7/0 optic 1 42 1 1 000 000",
      "pvc adsl 0/9/1 vpi 0 35 atm 0/7/0 optic 1 43 1 1 000 000",
      "pvc adsl 0/10/0 vpi 0 35 atm 0/7/0 optic 1 44 1 1 000 000",
      "pvc adsl 0/10/1 vpi 0 35 atm 0/7/0 optic 1 45 1 1 000 000",
      "pvc adsl 0/11/0 vpi 0 35 atm 0/7/0 optic 1 46 1 1 000 000",
      "pvc adsl 0/11/1 vpi 0 35 atm 0/7/0 optic 1 47 1 1 000 000",
      "pvc adsl 0/12/0 vpi 0 35 atm 0/7/0 optic 1 48 1 1 000 000",
      "pvc adsl 0/12/1 vpi 0 35 atm 0/7/0 optic 1 49 1 1 000 000",
      "pvc adsl 0/13/0 vpi 0 35 atm 0/7/0 optic 1 50 1 1 000 000",
      "pvc adsl 0/13/1 vpi 0 35 atm 0/7/0 optic 1 51 1 1 000 000",
      "pvc adsl 0/14/0 vpi 0 35 atm 0/7/0 optic 1 52 1 1 000 000",
      "pvc adsl 0/14/1 vpi 0 35 atm 0/7/0 optic 1 53 1 1 000 000",
      "pvc adsl 0/15/0 vpi 0 35 atm 0/7/0 optic 1 54 1 1 000 000",
      "pvc adsl 0/15/1 vpi 0 35 atm 0/7/0 optic 1 55 1 1 000 000",
      "pvc adsl 1/0/0 vpi 0 35 atm 0/7/0 optic 1 56 1 1 000 000",
      "pvc adsl 1/0/1 vpi 0 35 atm 0/7/0 optic 1 57 1 1 000 000",
      "pvc adsl 1/1/0 vpi 0 35 atm 0/7/0 optic 1 58 1 1 000 000",
      "pvc adsl 1/1/1 vpi 0 35 atm 0/7/0 optic 1 59 1 1 000 000"}},
    {"Adsl--Mmx",
     {{"start-board", "0"},
      {"start-slot", "6"},
      {"end-board", "1"},
      {"end-slot", "1"},
      {"port-number", "2"},
      {"mmx-vpi", "1"},
      {"start-vci", "40"},
      {"card-type", "1"},
      {"mmx-port", "2"}},
     "59",
     {"pvc adsl 0/6/0 vpi 0 35 atm 0/7/2 ima 1 40 1 1 000 000",
      "pvc adsl 1/1/1 vpi 0 35 atm 0/7/2 ima 1 59 1 1 000 000"},
     20},
    {"Adsl--Aiu",
     {{"start-board", "0"},
      {"start-slot", "6"},
      {"end-board", "1"},
      {"end-slot", "1"},
      {"port-number", "2"},
      {"aiu-board", "0"},
      {"aiu-slot", "4"},
      {"aiu-port", "1"},
      {"aiu-vpi", "1"},
      {"start-vci", "40"}},
     "59",
     {"pvc adsl 0/6/0 vpi 0 35 aiu 0/4/1 optic 1 40 1 1 000 000",
      "pvc adsl 1/1/1 vpi 0 35 aiu 0/4/1 optic 1 59 1 1 000 000"},
     20},
    {"Adsl--Aiu",
     {{"start-board", "0"},
      {"start-slot", "6"},
      {"end-board", "1"},
      {"end-slot", "1"},
      {"port-number", "2"},
      {"aiu-board", "0"},
      {"aiu-slot", "4"},
      {"aiu-port", "3"},
      {"aiu-vpi", "1"},
      {"start-vci", "40"},
      {"card-type", "1"}},
     "59",
     {"pvc adsl 0/6/0 vpi 0 35 aiu 0/4/3 ima 1 40 1 1 000 000",
      "pvc adsl 1/1/1 vpi 0 35 aiu 0/4/3 ima 1 59 1 1 000 000"},
     20},
    {"Adsl--Ces",
     {{"start-board", "0"},
      {"start-slot", "6"},
      {"end-board", "1"},
      {"end-slot", "1"},
      {"port-number", "2"},
      {"ces-board", "0"},
      {"ces-slot", "11"},
      {"ces-port", "2"},
      {"ces-vpi", "1"},
      {"start-vci", "40"}},
     "59",
     {"pvc adsl 0/6/0 vpi 0 35 ces-uni 0/11/2 1 40 1 1",
      "pvc adsl 1/1/1 vpi 0 35 ces-uni 0/11/2 1 59 1 1"},
     20},
    {"Adsl--Ces",
     {{"start-board", "0"},
      {"start-slot", "6"},
      {"end-board", "1"},
      {"end-slot", "1"},
      {"port-number", "2"},
      {"ces-board", "0"},
      {"ces-slot", "11"},
      {"ces-port", "2"},
      {"ces-vpi", "1"},
      {"start-vci", "40"},
      {"card-type", "1"}},
     "59",
     {"pvc adsl 0/6/0 vpi 0 35 ces-udt 0/11/2 1 40 1 1",
      "pvc adsl 1/1/1 vpi 0 35 ces-udt 0/11/2 1 59 1 1"},
     20},
    {"Adsl--Lan",
     {{"start-board", "0"},
      {"start-slot", "6"},
      {"end-board", "1"},
      {"end-slot", "1"},
      {"port-number", "2"},
      {"lan-board", "0"},
      {"lan-slot", "5"},
      {"start-vlan", "100"}},
     "119",
     {"pvc adsl 0/6/0 vpi 0 35 lan 0/5 vlanid 100 off 1 1",
      "pvc adsl 1/1/1 vpi 0 35 lan 0/5 vlanid 119 off 1 1"},
     20},
    {"Lan--Mmx",
     {{"lan-board", "0"},
      {"lan-slot", "5"},
      {"start-vlan", "100"},
      {"end-vlan", "103"},
      {"vpi", "1"},
      {"start-vci", "40"}},
     "43",
     {"pvc lan 0/5 vlanid 100 off atm 0/7/0 optic 1 40 1 1 000 000",
      "pvc lan 0/5 vlanid 101 off atm 0/7/0 optic 1 41 1 1 000 000",
      "pvc lan 0/5 vlanid 102 off atm 0/7/0 optic 1 42 1 1 000 000",
      "pvc lan 0/5 vlanid 103 off atm 0/7/0 optic 1 43 1 1 000 000"}},
    {"Lan--Mmx",
     {{"lan-board", "0"},
      {"lan-slot", "5"},
      {"start-vlan", "100"},
      {"end-vlan", "103"},
      {"vpi", "1"},
      {"start-vci", "40"},
      {"card-type", "1"},
      {"mmx-port", "1"}},
     "43",
     {"pvc lan 0/5 vlanid 100 off atm 0/7/1 ima 1 40 1 1 000 000",
      "pvc lan 0/5 vlanid 101 off atm 0/7/1 ima 1 41 1 1 000 000",
      "pvc lan 0/5 vlanid 102 off atm 0/7/1 ima 1 42 1 1 000 000",
      "pvc lan 0/5 vlanid 103 off atm 0/7/1 ima 1 43 1 1 000 000"}},
    {"Lan--Ces",
     {{"lan-board", "0"},
      {"lan-slot", "5"},
      {"start-vlan", "100"},
      {"end-vlan", "102"},
      {"ces-board", "0"},
      {"ces-slot", "9"},
      {"ces-port", "1"},
      {"vpi", "0"},
      {"start-vci", "32"}},
     "34",
     {"pvc lan 0/5 vlanid 100 off ces-uni 0/9/1 0 32 1 1",
      "pvc lan 0/5 vlanid 101 off ces-uni 0/9/1 0 33 1 1",
      "pvc lan 0/5 vlanid 102 off ces-uni 0/9/1 0 34 1 1"}},
    {"Lan--Ces",
     {{"lan-board", "0"},
      {"lan-slot", "5"},
      {"start-vlan", "100"},
      {"end-vlan", "102"},
      {"ces-board", "0"},
      {"ces-slot", "9"},
      {"ces-port", "1"},
      {"vpi", "0"},
      {"start-vci", "32"},
      {"card-type", "1"}},
     "34",
     {"pvc lan 0/5 vlanid 100 off ces-udt 0/9/1 0 32 1 1",
      "pvc lan 0/5 vlanid 102 off ces-udt 0/9/1 0 34 1 1"},
     3},
    {"Lan--Aiu",
     {{"lan-board", "0"},
      {"lan-slot", "5"},
      {"start-vlan", "200"},
      {"end-vlan", "202"},
      {"aiu-board", "0"},
      {"aiu-slot", "3"},
      {"aiu-port", "0"},
      {"vpi", "2"},
      {"start-vci", "100"}},
     "102",
     {"pvc lan 0/5 vlanid 200 off aiu 0/3/0 optic 2 100 1 1 000 000",
      "pvc lan 0/5 vlanid 201 off aiu 0/3/0 optic 2 101 1 1 000 000",
      "pvc lan 0/5 vlanid 202 off aiu 0/3/0 optic 2 102 1 1 000 000"}},
    {"Lan--Aiu",
     {{"lan-board", "0"},
      {"lan-slot", "5"},
      {"start-vlan", "200"},
      {"end-vlan", "202"},
      {"aiu-board", "0"},
      {"aiu-slot", "3"},
      {"aiu-port", "1"},
      {"vpi", "2"},
      {"start-vci", "100"},
      {"card-type", "1"}},
     "102",
     {"pvc lan 0/5 vlanid 200 off aiu 0/3/1 ima 2 100 1 1 000 000",
      "pvc lan 0/5 vlanid 202 off aiu 0/3/1 ima 2 102 1 1 000 000"},
     3},
    {"Aiu-Mmx",
     {{"aiu-board", "0"},
      {"aiu-slot", "3"},
      {"aiu-port", "0"},
      {"aiu-vpi", "1"},
      {"aiu-start-vci", "50"},
      {"aiu-end-vci", "52"},
      {"mmx-vpi", "2"},
      {"mmx-start-vci", "60"}},
     "62",
     {"pvc aiu 0/3/0 optic 1 50 atm 0/7/0 optic 2 60 1 1 000 000",
      "pvc aiu 0/3/0 optic 1 51 atm 0/7/0 optic 2 61 1 1 000 000",
      "pvc aiu 0/3/0 optic 1 52 atm 0/7/0 optic 2 62 1 1 000 000"}},
    {"Aiu-Mmx",
     {{"aiu-board", "0"},
      {"aiu-slot", "3"},
      {"aiu-port", "1"},
      {"aiu-vpi", "1"},
      {"aiu-start-vci", "50"},
      {"aiu-end-vci", "52"},
      {"mmx-vpi", "2"},
      {"mmx-start-vci", "60"},
      {"aiu-card-type", "1"}},
     "62",
     {"pvc aiu 0/3/1 ima 1 50 atm 0/7/0 optic 2 60 1 1 000 000",
      "pvc aiu 0/3/1 ima 1 52 atm 0/7/0 optic 2 62 1 1 000 000"},
     3},
    {"Aiu-Mmx",
     {{"aiu-board", "0"},
      {"aiu-slot", "3"},
      {"aiu-port", "0"},
      {"aiu-vpi", "1"},
      {"aiu-start-vci", "50"},
      {"aiu-end-vci", "52"},
      {"mmx-vpi", "2"},
      {"mmx-start-vci", "60"},
      {"mmx-card-type", "1"},
      {"mmx-port", "2"}},
     "62",
     {"pvc aiu 0/3/0 optic 1 50 atm 0/7/2 ima 2 60 1 1 000 000",
      "pvc aiu 0/3/0 optic 1 52 atm 0/7/2 ima 2 62 1 1 000 000"},
     3},
    {"Aiu-Mmx",
     {{"aiu-board", "0"},
      {"aiu-slot", "3"},
      {"aiu-port", "1"},
      {"aiu-vpi", "1"},
      {"aiu-start-vci", "50"},
      {"aiu-end-vci", "52"},
      {"mmx-vpi", "2"},
      {"mmx-start-vci", "60"},
      {"aiu-card-type", "1"},
      {"mmx-card-type", "1"},
      {"mmx-port", "2"}},
     "62",
     {"pvc aiu 0/3/1 ima 1 50 atm 0/7/2 ima 2 60 1 1 000 000",
      "pvc aiu 0/3/1 ima 1 52 atm 0/7/2 ima 2 62 1 1 000 000"},
     3},
};

TEST(Pages, WorkedExamplesAreWrittenByteForByte) {
    for (const Golden& g : kGolden) {
        SCOPED_TRACE(g.page + std::string(" ") + g.lines.front());
        const PageTable* page = FindPage(g.page);
        ASSERT_NE(page, nullptr);
        MapFields fields(*page);
        for (auto [key, value] : g.fields)
            ASSERT_TRUE(FindField(*page, key) || FindSelector(*page, key)) << key;
        fields.Set(g.fields, *page);
        test::TempDir dir;
        const std::string path = dir.File("zd7240.txt");
        FixedChooser chooser(path);
        RecordingMessenger messenger;
        RecordingErrors errors;
        const FrameResult result = RunFrame(*page, {fields, chooser, messenger, errors});
        ASSERT_EQ(result.outcome, FrameOutcome::Written)
            << (errors.errors.empty() ? "" : errors.errors[0]);
        EXPECT_EQ(fields.texts[std::string(page->endField)], g.end);
        EXPECT_EQ(
            messenger.messages,
            std::vector<std::string>{"Congratulation|The file is ready for you! Please check it!"});
        const std::string bytes = test::ReadFile(path);
        ASSERT_TRUE(bytes.ends_with("\r\n"));
        const auto lines = SplitCrLf(bytes);
        if (g.count == 0) {
            EXPECT_EQ(lines, g.lines);
        } else {
            ASSERT_EQ(lines.size(), g.count);
            EXPECT_EQ(lines.front(), g.lines.front());
            EXPECT_EQ(lines.back(), g.lines.back());
        }
        EXPECT_EQ(result.lines, lines.size());
    }
}

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
        ASSERT_NE(end, nullptr);
        EXPECT_EQ(end->role, FieldRole::End);
        EXPECT_EQ(end->checkOrder, 0);
        // Every field a line copies, and every walk field, is a checked field of the page.
        for (const LineFormat& format : page.formats)
            for (const Piece& piece : format)
                if (piece.kind == PieceKind::Field) {
                    const FieldRow* f = FindField(page, piece.text);
                    ASSERT_NE(f, nullptr) << piece.text;
                    EXPECT_GT(f->checkOrder, 0) << piece.text;
                }
        for (std::string_view name : page.walkFields) {
            const FieldRow* f = FindField(page, name);
            ASSERT_NE(f, nullptr) << name;
            EXPECT_EQ(f->role, FieldRole::Numeric) << name;
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
