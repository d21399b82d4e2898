#include "messages.h"

#include <algorithm>
#include <csignal>
#include <iostream>
#include <unistd.h>

#include "int32text.h"
#include "processguard.h"

namespace zd7240::cli {

int UsageError(const std::string& message) {
    std::cerr << "zd7240-gen: " << EscapeText(message) << "\n"
              << "Try 'zd7240-gen --help' for more information.\n";
    return kExitUsage;
}

std::string Quoted(std::string_view text) {
    return "\"" + EscapeText(text) + "\"";
}

// At most `limit` bytes of `text` for a message, cut before a UTF-8 sequence, with
// "..." when cut.
std::string Shortened(std::string_view text, std::size_t limit) {
    if (text.size() <= limit)
        return std::string(text);
    while (limit > 0 && (static_cast<unsigned char>(text[limit]) & 0xC0) == 0x80)
        --limit;
    return std::string(text.substr(0, limit)) + "...";
}

namespace {

// Edits (insert, delete, replace, swap two neighbours) from a to b, ignoring letter case.
std::size_t Distance(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    std::vector<std::size_t> before(b.size() + 1), row(b.size() + 1), prior(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        prior = before;
        before = row;
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const bool same = lower(a[i - 1]) == lower(b[j - 1]);
            row[j] = std::min({before[j] + 1, row[j - 1] + 1, before[j - 1] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && lower(a[i - 1]) == lower(b[j - 2]) &&
                lower(a[i - 2]) == lower(b[j - 1]))
                row[j] = std::min(row[j], prior[j - 2] + 1);
        }
    }
    return row[b.size()];
}

} // namespace

std::string DidYouMean(std::string_view word, const std::vector<std::string_view>& names) {
    if (word.size() > 64)
        return {};
    const std::size_t allowed = std::max<std::size_t>(1, word.size() / 4);
    std::string_view best;
    std::size_t bestDistance = allowed + 1;
    for (std::string_view name : names) {
        const std::size_t d = Distance(word, name);
        if (d < bestDistance && d < name.size()) {
            best = name;
            bestDistance = d;
        }
    }
    if (best.empty())
        return {};
    return "; did you mean '" + std::string(best) + "'?";
}

std::string GroupCaption(const PageTable& page, std::string_view group) {
    const GroupRow* row = FindGroup(page, group);
    if (!row)
        return std::string(group);
    if (row->parent.empty())
        return std::string(row->caption);
    return GroupCaption(page, row->parent) + " / " + std::string(row->caption);
}

std::string FieldName(const PageTable& page, const FieldRow& field) {
    return std::string(field.name) + ", " + Quoted(field.label) + " in " +
           Quoted(GroupCaption(page, field.group));
}

std::string KeyName(const PageTable& page, const FieldRow& field) {
    return std::string(field.key) + " (" + Quoted(field.label) + " in " +
           Quoted(GroupCaption(page, field.group)) + ")";
}

std::vector<std::string> FieldRefusals(const PageTable& page, const FieldAccess& fields) {
    std::vector<std::string> refusals;
    for (const FieldRow* field : CheckedFields(page)) {
        const std::string text = fields.Text(field->name);
        if (text.empty()) {
            refusals.push_back(KeyName(page, *field) + " is empty");
        } else if (!IsAllDigits(text)) {
            refusals.push_back(KeyName(page, *field) + ": '" + EchoedText(text) +
                               "' is not a number: digits only, no sign or spaces");
        } else if (std::any_of(
                       page.walkFields.begin(), page.walkFields.end(),
                       [&](std::string_view walk) { return SameName(walk, field->name); })) {
            try {
                ToInt32(text);
            } catch (const ConversionError&) {
                refusals.push_back(KeyName(page, *field) + ": '" + EchoedText(text) +
                                   "' is above 2147483647");
            }
        }
    }
    return refusals;
}

std::string EndLine(const PageTable& page, std::int32_t value) {
    const FieldRow* end = FindField(page, page.endField);
    return std::string(end ? end->label : "End:") + " " + FormatInt32(value);
}

std::string InvalidFieldNote(const PageTable& page, const FieldRow& field, std::string_view text) {
    return " (" + FieldName(page, field) + ": \"" + EchoedText(text) + "\")";
}

} // namespace zd7240::cli
