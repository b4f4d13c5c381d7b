#include "kb/text_set.h"

namespace xamo {

TextSet::TextSet(const TextSet& other) : table_(other.size()) {
    for (const auto& text : other.texts_) insert(text);
}

TextSet& TextSet::operator=(const TextSet& other) {
    if (this != &other) {
        TextSet copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void TextSet::keep(std::uint32_t number, std::string_view text) {
    texts_.emplace_back(text);
    table_.retarget(number, texts_.back());
}

bool TextSet::insert(std::string_view text) {
    const auto [number, inserted] = table_.insert(text);
    if (inserted) keep(number, text);
    return inserted;
}

void TextSet::insert_all(const std::vector<std::string>& texts) {
    const auto keep = [this](std::uint32_t number, bool inserted, std::string_view text) {
        if (inserted) this->keep(number, text);
    };
    PipelinedInserts<std::string_view, decltype(keep)> inserts(table_, keep);
    for (const std::string& text : texts) inserts.insert(text, text);
}

void TextSet::reserve(std::size_t count) {
    if (empty()) table_ = ViewTable(count);
}

void TextSet::clear() {
    texts_.clear();
    table_.clear();
}

}  // namespace xamo
