#include "kb/text_set.h"

namespace xamo {

TextSet::TextSet(SharedTexts texts) : texts_(std::move(texts)), table_(texts_.size()) {
    const auto settled = [](std::uint32_t, bool, std::string_view) {};
    PipelinedInserts<std::string_view, decltype(settled)> inserts(table_, settled);
    for (const std::string& text : texts_) inserts.insert(text, text);
}

}  // namespace xamo
