// The condition list of one flattening pass as one balanced tree (a treap by position, with
// parent links) that every later pass changes in place. A pass reverses the list and puts each
// replaced condition's list where it stood, so reversing is a flag and replacing costs the size of
// the replacement: a chain's flattening grows by its new conditions only, not by a copy of the
// whole list at every pass. Every change is logged, and undo_to() takes the list back to an
// earlier state, which is how a flattener returns to an earlier pass to try another choice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace xamo {

class PassList {
  public:
    static constexpr std::uint32_t kNone = 0xffffffffu;

    struct Entry {
        std::uint32_t condition;
        std::uint32_t ancestry;
        bool flagged;  // counted by flagged()
    };
    struct Mark {
        std::size_t log;
        std::size_t nodes;
    };

    // Appends at the logical end; only before the first change.
    void append(Entry entry);
    // Reverses the logical order.
    void reverse();
    // Puts `replacement` (in logical order) where `node` stands and removes `node`. The new nodes'
    // handles are appended to `made`, in logical order.
    void replace(std::uint32_t node, const std::vector<Entry>& replacement,
                 std::vector<std::uint32_t>& made);
    void remove(std::uint32_t node);
    bool before(std::uint32_t a, std::uint32_t b) const;  // in logical order

    const Entry& entry(std::uint32_t node) const { return nodes_[node].entry; }
    bool linked(std::uint32_t node) const { return nodes_[node].linked; }
    std::size_t size() const { return size_of(root_); }
    // Flagged entries in the list.
    std::size_t flagged() const { return flagged_; }
    template <typename Visit>
    void for_each(Visit&& visit) const;

    // The state to come back to: undo_to() reverts every change made since and forgets the nodes
    // made since.
    Mark mark() const { return {log_.size(), nodes_.size()}; }
    void undo_to(Mark mark);

  private:
    struct Node {
        Entry entry;
        std::uint32_t left = kNone, right = kNone, parent = kNone;
        std::uint32_t size = 1;
        std::uint32_t priority = 0;
        bool linked = false;
    };
    struct Change {
        enum Kind : std::uint8_t { Linked, Unlinked, Reversed, Rewritten } kind;
        std::uint32_t node;
        std::uint32_t rank;  // physical, where an unlinked node stood
    };

    std::uint32_t make(Entry entry);
    std::uint32_t size_of(std::uint32_t t) const { return t == kNone ? 0 : nodes_[t].size; }
    void update(std::uint32_t t);
    std::uint32_t merge(std::uint32_t a, std::uint32_t b);
    void split(std::uint32_t t, std::uint32_t k, std::uint32_t& a, std::uint32_t& b);
    void rewrite(std::uint32_t node, const Entry& entry);
    std::uint32_t rank(std::uint32_t node) const;
    void link_at(std::uint32_t rank, std::uint32_t node);
    std::uint32_t unlink(std::uint32_t node);

    std::vector<Node> nodes_;
    std::vector<Change> log_;
    std::vector<Entry> rewritten_;  // the entries Rewritten changes replaced, in log order
    std::uint32_t root_ = kNone;
    std::uint32_t seed_ = 2463534242u;
    bool reversed_ = false;
    std::size_t flagged_ = 0;
};

template <typename Visit>
void PassList::for_each(Visit&& visit) const {
    // In-order walk without a call stack, then from either end.
    std::vector<std::uint32_t> order;
    order.reserve(size());
    std::vector<std::uint32_t> stack;
    for (std::uint32_t t = root_; t != kNone || !stack.empty();) {
        if (t != kNone) {
            stack.push_back(t);
            t = nodes_[t].left;
            continue;
        }
        t = stack.back();
        stack.pop_back();
        order.push_back(t);
        t = nodes_[t].right;
    }
    if (reversed_) {
        for (auto it = order.rbegin(); it != order.rend(); ++it) visit(nodes_[*it].entry);
    } else {
        for (std::uint32_t node : order) visit(nodes_[node].entry);
    }
}

}  // namespace xamo
