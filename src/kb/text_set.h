// Lists of texts that copies share, and sets over them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kb/names.h"
#include "kb/rule_names.h"
#include "kb/view_table.h"

namespace xamo {

// A list of texts that copies share: the record of a run keeps the askable lists as they were
// without copying them; assigning a new list leaves the shared one to those holding it.
class SharedTexts {
  public:
    SharedTexts() = default;
    SharedTexts(StringList texts) : texts_(std::make_shared<const StringList>(std::move(texts))) {}

    const StringList& list() const { return texts_ ? *texts_ : no_texts(); }
    operator const StringList&() const { return list(); }
    StringList::const_iterator begin() const { return list().begin(); }
    StringList::const_iterator end() const { return list().end(); }
    std::size_t size() const { return list().size(); }
    bool empty() const { return list().empty(); }
    void clear() { texts_.reset(); }

    friend bool operator==(const SharedTexts& a, const StringList& b) { return a.list() == b; }

  private:
    static const StringList& no_texts() {
        static const StringList none;
        return none;
    }
    std::shared_ptr<const StringList> texts_;
};

// Membership in a shared list of texts: the set views the list's texts and keeps the list, so
// the texts of the askable conditions are not kept a second time for their lookups.
class TextSet {
  public:
    TextSet() = default;
    explicit TextSet(SharedTexts texts);
    // The same for texts that are the members of `numbered`: they are looked up in the rules'
    // numbering those come from, which a load has made already, instead of a table of their own.
    TextSet(SharedTexts texts, const NumberedNames& numbered);

    bool contains(std::string_view text) const {
        if (!numbering_) return table_.contains(text);
        const std::uint32_t number = numbering_->find(text);
        return number != RuleNames::npos && member_[number] != 0;
    }
    // Asks the processor for what contains(text) will read first.
    void prefetch(std::string_view text) const {
        if (numbering_) {
            numbering_->prefetch(text);
        } else {
            table_.prefetch(ViewTable::hash_of(text));
        }
    }
    std::size_t size() const { return numbering_ ? members_ : table_.size(); }

  private:
    SharedTexts texts_;
    ViewTable table_;
    std::shared_ptr<const RuleNames> numbering_;
    std::vector<std::uint8_t> member_;  // by number of the numbering
    std::size_t members_ = 0;
};

}  // namespace xamo
