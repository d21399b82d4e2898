#include "pagefields.h"

#include "processguard.h"

namespace zd7240::cli {

PageFields::PageFields(const PageTable& page) : page_(&page) {
    numbers_.reserve(page.fields.size() + page.selectors.size());
    for (const FieldRow& field : page.fields) {
        texts_ += field.initial;
        numbers_.push_back(static_cast<std::uint32_t>(texts_.size()));
    }
    numbers_.resize(numbers_.size() + page.selectors.size(), 0); // the first entries
}

std::string_view PageFields::TextAt(std::size_t field) const {
    const std::size_t begin = field == 0 ? 0 : numbers_[field - 1];
    return std::string_view(texts_).substr(begin, numbers_[field] - begin);
}

int PageFields::FieldIndex(std::string_view control) const {
    // The frame, the checks and the renderer mostly ask for fields in table order: the
    // search starts after the field found last.
    const std::size_t count = page_->fields.size();
    std::size_t i = lastFound_;
    for (std::size_t k = 0; k < count; ++k) {
        if (++i >= count)
            i = 0;
        if (SameName(page_->fields[i].name, control)) {
            lastFound_ = i;
            return static_cast<int>(i);
        }
    }
    return -1;
}

int PageFields::SelectorIndex(std::string_view selector) const {
    for (std::size_t i = 0; i < page_->selectors.size(); ++i) {
        if (SameName(page_->selectors[i].name, selector))
            return static_cast<int>(i);
    }
    return -1;
}

std::string PageFields::Text(std::string_view control) const {
    const int i = FieldIndex(control);
    return i < 0 ? std::string() : std::string(TextAt(static_cast<std::size_t>(i)));
}

void PageFields::SetText(std::string_view control, const std::string& text) {
    if (const int i = FieldIndex(control); i >= 0)
        SetAt(static_cast<std::size_t>(i), text);
}

void PageFields::SetAt(std::size_t field, std::string_view text) {
    const std::size_t begin = field == 0 ? 0 : numbers_[field - 1];
    const std::size_t length = numbers_[field] - begin;
    texts_.replace(begin, length, text);
    // Texts are at most a job file's 64 MiB, so their ends fit 32 bits.
    const auto grown = static_cast<std::uint32_t>(text.size() - length);
    for (std::size_t k = field; k < page_->fields.size(); ++k)
        numbers_[k] += grown; // modulo 2^32, which also takes a shorter text off
}

int PageFields::ItemIndex(std::string_view selector) const {
    const int i = SelectorIndex(selector);
    return i < 0 ? -1
                 : static_cast<int>(numbers_[page_->fields.size() + static_cast<std::size_t>(i)]);
}

void PageFields::SetIndex(std::string_view selector, int index) {
    if (const int i = SelectorIndex(selector); i >= 0)
        numbers_[page_->fields.size() + static_cast<std::size_t>(i)] =
            static_cast<std::uint32_t>(index);
}

PageFields::Named PageFields::Find(std::string_view name) const {
    if (const FieldRow* f = FindField(*page_, name))
        return {f, nullptr};
    return {nullptr, FindSelector(*page_, name)};
}

std::string PageFields::Assign(std::string_view name, std::string_view value, FieldNaming naming) {
    const PageTable& page = *page_;
    const Named named = Find(name);
    if (const FieldRow* f = named.field) {
        if (f->role == FieldRole::End)
            return std::string(naming == FieldNaming::Key ? f->key : f->name) + " (" +
                   std::string(f->label) + ") is computed by the page and cannot be set";
        SetAt(static_cast<std::size_t>(f - page.fields.data()), value);
        return {};
    }
    if (const SelectorRow* s = named.selector) {
        for (int i = 0; i < 2; ++i) {
            if (EqualsIgnoreCase(value, s->items[static_cast<std::size_t>(i)]) ||
                value == std::to_string(i)) {
                SetIndex(s->name, i);
                return {};
            }
        }
        if (value == "-1") {
            SetIndex(s->name, -1);
            return {};
        }
        return "'" + EchoedText(value) + "' is not a card type of " +
               std::string(naming == FieldNaming::Key ? s->key : s->name) + ": use " +
               std::string(s->items[0]) + " (0) or " + std::string(s->items[1]) + " (1)";
    }
    return "page " + std::string(page.caption) + " has no field '" + std::string(name) +
           "' (see 'zd7240-gen " + std::string(page.slug) + " --list')";
}

std::optional<PageFields::Repeat> PageFields::NoteGiven(std::string_view name,
                                                        std::string_view as) {
    const Named named = Find(name);
    if (!named.field && !named.selector)
        return std::nullopt;
    const std::string_view control = named.field ? named.field->name : named.selector->name;
    for (const Given& given : given_) {
        if (given.control == control)
            return Repeat{std::string(control), given.as};
    }
    if (given_.empty()) // one block for every field a job can give
        given_.reserve(page_->fields.size() + page_->selectors.size());
    given_.push_back({control, std::string(as)});
    return std::nullopt;
}

void PageFields::ForgetGiven() {
    std::vector<Given>().swap(given_);
}

} // namespace zd7240::cli
