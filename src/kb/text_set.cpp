#include "kb/text_set.h"

namespace xamo {

TextSet::TextSet(SharedTexts texts) : texts_(std::move(texts)), table_(texts_.size()) {
    const auto settled = [](std::uint32_t, bool, std::string_view) {};
    PipelinedInserts<std::string_view, decltype(settled)> inserts(table_, settled);
    for (const std::string& text : texts_) inserts.insert(text, text);
}

TextSet::TextSet(SharedTexts texts, const NumberedNames& numbered)
    : texts_(std::move(texts)), numbering_(numbered.numbering()) {
    if (!numbering_) {
        *this = TextSet(std::move(texts_));
        return;
    }
    member_.assign(numbering_->size(), 0);
    for (const std::uint32_t number : numbered.numbers()) {
        members_ += member_[number] == 0 ? 1 : 0;
        member_[number] = 1;
    }
}

}  // namespace xamo
