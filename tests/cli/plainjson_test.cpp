// The quick reader of plain job-file JSON against the full parser: wherever it reads a
// text to the end, the handler sees exactly the full parser's events; everything outside
// plain JSON is given up, for the full parser to read.

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "plainjson.h"

namespace {

using nlohmann::json;

// Writes down every event as a line of text.
class Recorder : public nlohmann::json_sax<json> {
public:
    std::vector<std::string> events;

    bool null() override { return Note("null"); }
    bool boolean(bool value) override { return Note(value ? "true" : "false"); }
    bool number_integer(number_integer_t value) override {
        return Note("integer " + std::to_string(value));
    }
    bool number_unsigned(number_unsigned_t value) override {
        return Note("unsigned " + std::to_string(value));
    }
    bool number_float(number_float_t, const string_t& text) override {
        return Note("float " + text);
    }
    bool string(string_t& value) override { return Note("string " + value); }
    bool binary(binary_t&) override { return Note("binary"); }
    bool start_object(std::size_t size) override {
        return Note("{ " + std::to_string(static_cast<long long>(size)));
    }
    bool key(string_t& key) override { return Note("key " + key); }
    bool end_object() override { return Note("}"); }
    bool start_array(std::size_t size) override {
        return Note("[ " + std::to_string(static_cast<long long>(size)));
    }
    bool end_array() override { return Note("]"); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return Note("error");
    }

private:
    bool Note(std::string event) {
        events.push_back(std::move(event));
        return true;
    }
};

std::string Nested(int depth) {
    return std::string(static_cast<std::size_t>(depth), '[') +
           std::string(static_cast<std::size_t>(depth), ']');
}

TEST(PlainJson, ReadsWhatTheFullParserReadsAndGivesUpTheRest) {
    struct Case {
        const char* name;
        std::string text;
        bool plain; // read to the end by the quick reader
    };
    const Case cases[] = {
        {"a job file",
         R"({"version": 1, "chassis": {"0/5": "lan"}, "jobs": [{"page": "lan-mmx",
           "fields": {"lan-board": 0, "vpi": "1"}, "output": "many/lan-0.txt"}]})",
         true},
        {"every plain value, spaces, tabs and line ends",
         "\r\n\t{ \"a\" : [ true , false , null , 0 , 18446744073709551615 , \"\" , { } , [ ] ] "
         ", \"b\":{\"c\":\"~ !#\x7f\"}}\n",
         true},
        {"a value alone", "42", true},
        {"sixteen levels", Nested(16), true},
        {"seventeen levels", Nested(17), false},
        {"an escape", R"({"a": "\u0041"})", false},
        {"an escaped quote", R"(["a\"b"])", false},
        {"UTF-8 text of two, three and four bytes",
         "{\"caf\xc3\xa9\": \"\xe2\x82\xac \xef\xbf\xbd \xf0\x9f\x98\x80 \xf4\x8f\xbf\xbf\"}",
         true},
        {"an overlong form", "[\"\xc0\xaf\"]", false},
        {"an overlong form of three bytes", "[\"\xe0\x80\xaf\"]", false},
        {"a surrogate", "[\"\xed\xa0\x80\"]", false},
        {"past U+10FFFF", "[\"\xf4\x90\x80\x80\"]", false},
        {"a continuation byte alone", "[\"a\x80\"]", false},
        {"a sequence cut by the quote", "[\"\xe2\x82\"]", false},
        {"a sequence cut by the end", "[\"\xf0\x9f", false},
        {"Latin-1", "[\"caf\xe9\"]", false},
        {"a control character in a string", "[\"a\tb\"]", false},
        {"a negative number", "[-1]", false},
        {"a fraction", "[1.5]", false},
        {"an exponent", "[1e3]", false},
        {"a number beyond 64 bits", "[18446744073709551616]", false},
        {"a leading zero", "[01]", false},
        {"a trailing comma", "[1,]", false},
        {"a missing colon", R"({"a" 1})", false},
        {"a key that is not a string", "{1: 2}", false},
        {"an unclosed object", R"({"a": 1)", false},
        {"an unclosed string", R"(["a)", false},
        {"text after the value", "{} x", false},
        {"two values", "1 2", false},
        {"a cut word", "[tru]", false},
        {"a longer word", "[truex]", false},
        {"a number run into a word", "[12abc]", false},
        {"nothing", "", false},
        {"spaces only", "  ", false},
        {"a byte order mark", "\xef\xbb\xbf{}", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Recorder full;
        bool fullRead = false;
        try {
            fullRead = json::sax_parse(c.text.begin(), c.text.end(), &full);
        } catch (const json::exception&) {
        }
        Recorder quick;
        const bool quickRead = zd7240::cli::PlainJson<Recorder>(c.text, quick, 16).Read();
        EXPECT_EQ(quickRead, c.plain);
        if (quickRead) {
            EXPECT_TRUE(fullRead);
            EXPECT_EQ(quick.events, full.events);
        } else {
            // Up to where it gave up, it saw what the full parser saw.
            ASSERT_LE(quick.events.size(), full.events.size());
            EXPECT_TRUE(std::equal(quick.events.begin(), quick.events.end(), full.events.begin()));
        }
    }
}

} // namespace
