#pragma once
// A reader for the plain JSON that job files are made of, several times quicker than the
// full parser on a file of a hundred thousand jobs: objects, lists, strings of UTF-8 text
// without escapes, whole numbers that fit 64 bits, true, false and null. It hands a
// SAX handler the very events the full parser (nlohmann::json::sax_parse) would, in the
// same order, and gives up at the first thing outside that set: an escape, a control
// character, bytes that are not UTF-8, a sign, a fraction or exponent, a number beyond 64
// bits, a syntax error. The
// caller then reads the text again from the start with the full parser, which accepts or
// refuses it with its own messages.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace zd7240::cli {

template <class Sax> class PlainJson {
public:
    // At most `maxDepth` levels of objects and lists; deeper text is given up.
    PlainJson(std::string_view text, Sax& sax, int maxDepth)
        : text_(text), sax_(sax), maxDepth_(maxDepth) {}

    // True when the whole text was read and handed on; false when given up (the handler
    // has then seen part of the events and is to be thrown away). Exceptions of the
    // handler pass through.
    bool Read() {
        SkipSpace();
        if (!Value(0))
            return false;
        SkipSpace();
        return at_ == text_.size();
    }

private:
    void SkipSpace() {
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
                return;
            ++at_;
        }
    }

    // Reads a string from its opening quote; false when it is not plain.
    bool String(std::string& out) {
        const std::size_t begin = ++at_;
        while (at_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[at_]);
            if (c == '"') {
                out.assign(text_.data() + begin, at_ - begin);
                ++at_;
                return true;
            }
            if (c >= 0x80) {
                const std::size_t length = Utf8Length();
                if (length == 0)
                    return false;
                at_ += length;
                continue;
            }
            if (c < 0x20 || c == '\\')
                return false;
            ++at_;
        }
        return false;
    }

    // The length of the UTF-8 sequence at at_ as the full parser takes it (RFC 3629: no
    // overlong form, no surrogate, nothing past U+10FFFF); 0 for any other bytes.
    std::size_t Utf8Length() const {
        const auto byte = [this](std::size_t k) -> unsigned {
            return at_ + k < text_.size() ? static_cast<unsigned char>(text_[at_ + k]) : 0u;
        };
        const auto in = [](unsigned b, unsigned low, unsigned high) {
            return b >= low && b <= high;
        };
        const unsigned c = byte(0);
        const bool tail2 = in(byte(2), 0x80, 0xBF);
        const bool tail3 = tail2 && in(byte(3), 0x80, 0xBF);
        if (in(c, 0xC2, 0xDF))
            return in(byte(1), 0x80, 0xBF) ? 2 : 0;
        if (c == 0xE0)
            return in(byte(1), 0xA0, 0xBF) && tail2 ? 3 : 0;
        if (in(c, 0xE1, 0xEC) || in(c, 0xEE, 0xEF))
            return in(byte(1), 0x80, 0xBF) && tail2 ? 3 : 0;
        if (c == 0xED)
            return in(byte(1), 0x80, 0x9F) && tail2 ? 3 : 0;
        if (c == 0xF0)
            return in(byte(1), 0x90, 0xBF) && tail3 ? 4 : 0;
        if (in(c, 0xF1, 0xF3))
            return in(byte(1), 0x80, 0xBF) && tail3 ? 4 : 0;
        if (c == 0xF4)
            return in(byte(1), 0x80, 0x8F) && tail3 ? 4 : 0;
        return 0;
    }

    bool Number() {
        using Unsigned = typename Sax::number_unsigned_t;
        constexpr Unsigned kMax = std::numeric_limits<Unsigned>::max();
        if (text_[at_] == '0' && at_ + 1 < text_.size() && text_[at_ + 1] >= '0' &&
            text_[at_ + 1] <= '9')
            return false; // a leading zero: refused by the full parser
        Unsigned value = 0;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
            const auto digit = static_cast<Unsigned>(text_[at_] - '0');
            if (value > (kMax - digit) / 10)
                return false; // beyond 64 bits: a floating-point number to the full parser
            value = value * 10 + digit;
            ++at_;
        }
        if (at_ < text_.size() && (text_[at_] == '.' || text_[at_] == 'e' || text_[at_] == 'E'))
            return false;
        sax_.number_unsigned(value);
        return true;
    }

    bool Word(std::string_view word) {
        if (text_.substr(at_, word.size()) != word)
            return false;
        at_ += word.size();
        return true;
    }

    bool Value(int depth) {
        if (at_ >= text_.size())
            return false;
        const char c = text_[at_];
        if (c == '{' || c == '[')
            return depth < maxDepth_ && (c == '{' ? Object(depth + 1) : List(depth + 1));
        if (c == '"') {
            std::string value;
            if (!String(value))
                return false;
            sax_.string(value);
            return true;
        }
        if (c >= '0' && c <= '9')
            return Number();
        if (c == 't' && Word("true")) {
            sax_.boolean(true);
            return true;
        }
        if (c == 'f' && Word("false")) {
            sax_.boolean(false);
            return true;
        }
        if (c == 'n' && Word("null")) {
            sax_.null();
            return true;
        }
        return false;
    }

    bool Object(int depth) {
        ++at_;
        sax_.start_object(static_cast<std::size_t>(-1));
        SkipSpace();
        if (at_ < text_.size() && text_[at_] == '}') {
            ++at_;
            sax_.end_object();
            return true;
        }
        std::string key;
        for (;;) {
            if (at_ >= text_.size() || text_[at_] != '"' || !String(key))
                return false;
            sax_.key(key);
            SkipSpace();
            if (at_ >= text_.size() || text_[at_] != ':')
                return false;
            ++at_;
            SkipSpace();
            bool closed = false;
            if (!Value(depth) || !Separator('}', closed))
                return false;
            if (closed) {
                sax_.end_object();
                return true;
            }
        }
    }

    bool List(int depth) {
        ++at_;
        sax_.start_array(static_cast<std::size_t>(-1));
        SkipSpace();
        if (at_ < text_.size() && text_[at_] == ']') {
            ++at_;
            sax_.end_array();
            return true;
        }
        for (;;) {
            bool closed = false;
            if (!Value(depth) || !Separator(']', closed))
                return false;
            if (closed) {
                sax_.end_array();
                return true;
            }
        }
    }

    // What follows a member or an element: `close` ends the container (`closed` set), a
    // comma is followed by the next one; anything else is not plain.
    bool Separator(char close, bool& closed) {
        SkipSpace();
        if (at_ >= text_.size() || (text_[at_] != close && text_[at_] != ','))
            return false;
        closed = text_[at_] == close;
        ++at_;
        SkipSpace();
        return true;
    }

    std::string_view text_;
    Sax& sax_;
    int maxDepth_;
    std::size_t at_ = 0;
};

} // namespace zd7240::cli
