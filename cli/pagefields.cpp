#include "pagefields.h"

namespace zd7240::cli {

PageFields::PageFields(const PageTable& page)
    : page_(&page), texts_(page.fields.size()), indices_(page.selectors.size(), 0) {
    for (std::size_t i = 0; i < page.fields.size(); ++i)
        texts_[i] = std::string(page.fields[i].initial);
}

int PageFields::FieldIndex(std::string_view control) const {
    for (std::size_t i = 0; i < page_->fields.size(); ++i) {
        if (page_->fields[i].name == control)
            return static_cast<int>(i);
    }
    return -1;
}

int PageFields::SelectorIndex(std::string_view selector) const {
    for (std::size_t i = 0; i < page_->selectors.size(); ++i) {
        if (page_->selectors[i].name == selector)
            return static_cast<int>(i);
    }
    return -1;
}

std::string PageFields::Text(std::string_view control) const {
    const int i = FieldIndex(control);
    return i < 0 ? std::string() : texts_[static_cast<std::size_t>(i)];
}

void PageFields::SetText(std::string_view control, const std::string& text) {
    if (const int i = FieldIndex(control); i >= 0)
        texts_[static_cast<std::size_t>(i)] = text;
}

int PageFields::ItemIndex(std::string_view selector) const {
    const int i = SelectorIndex(selector);
    return i < 0 ? -1 : indices_[static_cast<std::size_t>(i)];
}

void PageFields::SetIndex(std::string_view selector, int index) {
    if (const int i = SelectorIndex(selector); i >= 0)
        indices_[static_cast<std::size_t>(i)] = index;
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
        SetText(f->name, std::string(value));
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
        return "'" + std::string(value) + "' is not a card type of " +
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
    given_.push_back({control, std::string(as)});
    return std::nullopt;
}

void PageFields::ForgetGiven() {
    std::vector<Given>().swap(given_);
}

} // namespace zd7240::cli
