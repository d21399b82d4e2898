#include "pagefields.h"

namespace zd7240::cli {

PageFields::PageFields(const PageTable& page) : page_(&page) {
    for (const FieldRow& f : page.fields)
        texts_[std::string(f.name)] = std::string(f.initial);
    for (const SelectorRow& s : page.selectors)
        indices_[std::string(s.name)] = 0;
}

std::string PageFields::Text(std::string_view control) const {
    auto it = texts_.find(control);
    return it == texts_.end() ? std::string() : it->second;
}

void PageFields::SetText(std::string_view control, const std::string& text) {
    texts_[std::string(control)] = text;
}

int PageFields::ItemIndex(std::string_view selector) const {
    auto it = indices_.find(selector);
    return it == indices_.end() ? -1 : it->second;
}

void PageFields::SetIndex(std::string_view selector, int index) {
    indices_[std::string(selector)] = index;
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
    const auto [it, fresh] = given_.emplace(std::string(control), std::string(as));
    if (fresh)
        return std::nullopt;
    return Repeat{it->first, it->second};
}

} // namespace zd7240::cli
