#include "kb/rule_names.h"

#include <array>

#include "kb/conditions.h"

namespace xamo {
namespace {

// Numbers texts some texts after their slots were asked for: in a large base nearly every new
// name's slot is a cache miss, and the misses of the names in flight overlap.
class PipelinedNumbering {
  public:
    explicit PipelinedNumbering(ViewTable& table) : table_(table) {}
    ~PipelinedNumbering() { finish(); }
    PipelinedNumbering(const PipelinedNumbering&) = delete;
    PipelinedNumbering& operator=(const PipelinedNumbering&) = delete;

    // Writes the number of `text` to `*to` before finish() returns.
    void number(std::string_view text, std::uint32_t* to) {
        if (count_ == in_flight_.size()) settle_oldest();
        const std::uint64_t hash = ViewTable::hash_of(text);
        table_.prefetch(hash);
        in_flight_[(oldest_ + count_) % in_flight_.size()] = {text, hash, to};
        ++count_;
    }
    void finish() {
        while (count_ > 0) settle_oldest();
    }

  private:
    struct Pending {
        std::string_view text;
        std::uint64_t hash = 0;
        std::uint32_t* to = nullptr;
    };
    void settle_oldest() {
        const Pending& p = in_flight_[oldest_];
        *p.to = table_.insert(p.text, p.hash).first;
        oldest_ = (oldest_ + 1) % in_flight_.size();
        --count_;
    }

    ViewTable& table_;
    std::array<Pending, 16> in_flight_;
    std::size_t oldest_ = 0;
    std::size_t count_ = 0;
};

}  // namespace

RuleNames::RuleNames(std::shared_ptr<const FactStore::Facts> rules) : rules_(std::move(rules)) {
    std::size_t listed = 0;
    for (const Fact& rule : *rules_) listed += Rule(rule).conditions().size();
    // Room for a distinct conclusion per rule and as many distinct conditions: conditions repeat
    // in large bases, and the table grows in the rare base where they do not.
    names_ = ViewTable(2 * rules_->size());
    offsets_.reserve(rules_->size() + 1);
    offsets_.push_back(0);
    conditions_.resize(listed);
    positive_.resize(listed);
    conclusions_.resize(rules_->size());
    PipelinedNumbering numbering(names_);
    std::size_t at = 0;
    std::size_t r = 0;
    for (const Fact& rule : *rules_) {
        for (const std::string_view c : Rule(rule).conditions()) {
            numbering.number(c, &conditions_[at]);
            positive_[at] = npos;  // the condition's own number, once it is known
            if (is_negated(c)) {
                any_negated_ = true;
                numbering.number(c.substr(1), &positive_[at]);
            }
            ++at;
        }
        offsets_.push_back(static_cast<std::uint32_t>(at));
        numbering.number(Rule(rule).conclusion(), &conclusions_[r++]);
    }
    numbering.finish();
    for (std::size_t i = 0; i < listed; ++i) {
        if (positive_[i] == npos) positive_[i] = conditions_[i];
    }
}

std::shared_ptr<const RuleNames> FactStore::rule_names() const {
    const auto& rules = facts_[index(Kind::regula)];
    if (!rule_names_) rule_names_ = std::make_shared<const RuleNames>(rules);
    return rule_names_;
}

}  // namespace xamo
