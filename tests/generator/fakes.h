#pragma once
// Small stand-ins for the window: fields in a map, a chooser that answers a fixed path,
// a messenger and an error report that record what they were told.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "frame.h"

namespace zd7240::test {

class MapFields : public FieldAccess {
public:
    explicit MapFields(const PageTable& page) {
        for (const FieldRow& f : page.fields)
            texts[std::string(f.name)] = std::string(f.initial);
        for (const SelectorRow& s : page.selectors)
            indices[std::string(s.name)] = 0;
    }
    std::string Text(std::string_view control) const override {
        reads.push_back(std::string(control));
        auto it = texts.find(std::string(control));
        return it == texts.end() ? std::string() : it->second;
    }
    void SetText(std::string_view control, const std::string& text) override {
        texts[std::string(control)] = text;
    }
    int ItemIndex(std::string_view selector) const override {
        auto it = indices.find(std::string(selector));
        return it == indices.end() ? -1 : it->second;
    }
    // Sets fields by readable key or control name.
    MapFields& Set(const std::vector<std::pair<const char*, const char*>>& values,
                   const PageTable& page) {
        for (auto [key, value] : values) {
            const FieldRow* f = FindField(page, key);
            if (f)
                texts[std::string(f->name)] = value;
            else if (const SelectorRow* s = FindSelector(page, key))
                indices[std::string(s->name)] = std::stoi(value);
        }
        return *this;
    }

    std::map<std::string, std::string> texts;
    std::map<std::string, int> indices;
    mutable std::vector<std::string> reads;
};

class FixedChooser : public FileChooser {
public:
    explicit FixedChooser(std::optional<std::string> path) : path_(std::move(path)) {}
    std::optional<std::string> ChooseFile() override {
        ++calls;
        return path_;
    }
    int calls = 0;

private:
    std::optional<std::string> path_;
};

class RecordingMessenger : public Messenger {
public:
    void ShowMessage(std::string_view caption, std::string_view text) override {
        messages.emplace_back(std::string(caption) + "|" + std::string(text));
    }
    std::vector<std::string> messages;
};

class RecordingErrors : public ErrorReport {
public:
    void ReportError(std::string_view message) override { errors.emplace_back(message); }
    std::vector<std::string> errors;
};

} // namespace zd7240::test
