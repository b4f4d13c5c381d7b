#include "verify/pass_list.h"

namespace xamo {

std::uint32_t PassList::make(Entry entry) {
    // xorshift: the same tree shape on every run.
    seed_ ^= seed_ << 13;
    seed_ ^= seed_ >> 17;
    seed_ ^= seed_ << 5;
    Node node;
    node.entry = entry;
    node.priority = seed_;
    nodes_.push_back(node);
    return static_cast<std::uint32_t>(nodes_.size() - 1);
}

void PassList::update(std::uint32_t t) {
    Node& node = nodes_[t];
    node.size = 1 + size_of(node.left) + size_of(node.right);
    if (node.left != kNone) nodes_[node.left].parent = t;
    if (node.right != kNone) nodes_[node.right].parent = t;
}

// Recursion depth is the tree's height, logarithmic in the size with random priorities.
std::uint32_t PassList::merge(std::uint32_t a, std::uint32_t b) {
    if (a == kNone) return b;
    if (b == kNone) return a;
    if (nodes_[a].priority > nodes_[b].priority) {
        nodes_[a].right = merge(nodes_[a].right, b);
        update(a);
        return a;
    }
    nodes_[b].left = merge(a, nodes_[b].left);
    update(b);
    return b;
}

// `a` takes the first k nodes of t, `b` the rest.
void PassList::split(std::uint32_t t, std::uint32_t k, std::uint32_t& a, std::uint32_t& b) {
    if (t == kNone) {
        a = b = kNone;
        return;
    }
    if (size_of(nodes_[t].left) >= k) {
        split(nodes_[t].left, k, a, nodes_[t].left);
        update(t);
        b = t;
    } else {
        split(nodes_[t].right, k - size_of(nodes_[t].left) - 1, nodes_[t].right, b);
        update(t);
        a = t;
    }
}

std::uint32_t PassList::rank(std::uint32_t node) const {
    std::uint32_t r = size_of(nodes_[node].left);
    for (std::uint32_t t = node; nodes_[t].parent != kNone; t = nodes_[t].parent) {
        const std::uint32_t parent = nodes_[t].parent;
        if (nodes_[parent].right == t) r += size_of(nodes_[parent].left) + 1;
    }
    return r;
}

void PassList::link_at(std::uint32_t rank, std::uint32_t node) {
    Node& n = nodes_[node];
    n.left = n.right = n.parent = kNone;
    n.size = 1;
    n.linked = true;
    if (n.entry.flagged) ++flagged_;
    std::uint32_t a = kNone, b = kNone;
    split(root_, rank, a, b);
    root_ = merge(merge(a, node), b);
    nodes_[root_].parent = kNone;
}

std::uint32_t PassList::unlink(std::uint32_t node) {
    const std::uint32_t r = rank(node);
    std::uint32_t a = kNone, rest = kNone, middle = kNone, b = kNone;
    split(root_, r, a, rest);
    split(rest, 1, middle, b);
    root_ = merge(a, b);
    if (root_ != kNone) nodes_[root_].parent = kNone;
    nodes_[node].linked = false;
    if (nodes_[node].entry.flagged) --flagged_;
    return r;
}

void PassList::append(Entry entry) { link_at(static_cast<std::uint32_t>(size()), make(entry)); }

void PassList::reverse() {
    reversed_ = !reversed_;
    log_.push_back({Change::Reversed, kNone, 0});
}

void PassList::replace(std::uint32_t node, const std::vector<Entry>& replacement,
                       std::vector<std::uint32_t>& made) {
    if (replacement.empty()) {
        remove(node);
        return;
    }
    // The node takes the first entry in logical order; the rest go physically before it when
    // the order is reversed, after it otherwise.
    const std::uint32_t at = rank(node);
    made.push_back(node);
    rewrite(node, replacement.front());
    const std::size_t first = made.size();
    for (std::size_t i = 1; i < replacement.size(); ++i) made.push_back(make(replacement[i]));
    const std::size_t rest = replacement.size() - 1;
    for (std::size_t i = 0; i < rest; ++i) {
        const std::uint32_t n = made[reversed_ ? made.size() - 1 - i : first + i];
        link_at(
            reversed_ ? at + static_cast<std::uint32_t>(i) : at + 1 + static_cast<std::uint32_t>(i),
            n);
        log_.push_back({Change::Linked, n, 0});
    }
}

void PassList::rewrite(std::uint32_t node, const Entry& entry) {
    Entry& old = nodes_[node].entry;
    rewritten_.push_back(old);
    log_.push_back({Change::Rewritten, node, 0});
    if (old.flagged) --flagged_;
    if (entry.flagged) ++flagged_;
    old = entry;
}

void PassList::remove(std::uint32_t node) {
    const std::uint32_t at = unlink(node);
    log_.push_back({Change::Unlinked, node, at});
}

bool PassList::before(std::uint32_t a, std::uint32_t b) const {
    return reversed_ ? rank(a) > rank(b) : rank(a) < rank(b);
}

void PassList::undo_to(Mark mark) {
    while (log_.size() > mark.log) {
        const Change change = log_.back();
        log_.pop_back();
        switch (change.kind) {
            case Change::Linked:
                unlink(change.node);
                break;
            case Change::Unlinked:
                link_at(change.rank, change.node);
                break;
            case Change::Reversed:
                reversed_ = !reversed_;
                break;
            case Change::Rewritten: {
                Entry& entry = nodes_[change.node].entry;
                if (entry.flagged) --flagged_;
                entry = rewritten_.back();
                rewritten_.pop_back();
                if (entry.flagged) ++flagged_;
                break;
            }
        }
    }
    nodes_.resize(mark.nodes);
}

}  // namespace xamo
