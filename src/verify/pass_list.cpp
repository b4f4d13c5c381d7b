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
    const std::uint32_t at = rank(node);
    const std::size_t first = made.size();
    for (const Entry& entry : replacement) made.push_back(make(entry));
    // Physically before `node`, in logical order or against it.
    for (std::size_t i = 0; i < replacement.size(); ++i) {
        const std::uint32_t n = made[reversed_ ? made.size() - 1 - i : first + i];
        link_at(at + static_cast<std::uint32_t>(i), n);
        log_.push_back({Change::Linked, n, 0});
    }
    remove(node);
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
        }
    }
    nodes_.resize(mark.nodes);
}

}  // namespace xamo
