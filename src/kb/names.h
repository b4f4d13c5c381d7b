// The names that facts list (a rule's conditions, a constraint's members, a model's variables).
// A name's text is kept once however many facts list it: the reader gives every repetition of a
// name in one file the same text, so a condition used by a thousand rules costs a pointer in each.
// Texts are immutable and counted; copies of facts, stores and snapshots share them, also across
// threads.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace xamo {

class Name {
  public:
    Name() noexcept = default;
    explicit Name(std::string_view text);
    // Texts of the program's own (messages, the facts that commands make) become names as strings
    // did; a view must be made a name on purpose.
    Name(const std::string& text) : Name(std::string_view(text)) {}
    Name(const char* text) : Name(std::string_view(text)) {}
    Name(const Name& other) : block_(other.block_) { hold(); }
    Name(Name&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    Name& operator=(Name other) noexcept {  // a copy is made before: nothing throws here
        std::swap(block_, other.block_);
        return *this;
    }
    ~Name() { release(); }

    std::string_view view() const {
        return block_ ? std::string_view(block_->chars(), block_->size()) : std::string_view();
    }
    operator std::string_view() const { return view(); }
    std::string str() const { return std::string(view()); }
    std::size_t size() const { return block_ ? block_->size() : 0; }
    // An empty text has no block.
    bool empty() const { return block_ == nullptr; }
    // Asks the processor for the text, which a comparison will read.
    void prefetch() const { __builtin_prefetch(block_); }
    // Appends to the text, in place when this is its only holder and it grew so before (such a
    // text keeps room to double): a text written line by line costs time linear in its length.
    void append(std::string_view more);
    // True when both were made by one interning: they are then the same text.
    bool same_text_object(const Name& other) const { return block_ == other.block_; }

    friend bool operator==(const Name& a, const Name& b) {
        return a.block_ == b.block_ || a.view() == b.view();
    }
    friend bool operator==(const Name& a, std::string_view b) { return a.view() == b; }
    friend bool operator==(const Name& a, const std::string& b) { return a.view() == b; }
    friend bool operator==(const Name& a, const char* b) { return a.view() == b; }
    friend std::string operator+(const std::string& a, const Name& b) { return a + b.str(); }
    friend std::string operator+(std::string&& a, const Name& b) {
        return std::move(a.append(b.view()));
    }
    friend std::string operator+(const char* a, const Name& b) { return a + b.str(); }
    friend std::string operator+(const Name& a, std::string_view b) { return a.str().append(b); }
    friend std::ostream& operator<<(std::ostream& out, const Name& name);

  private:
    friend class NameInterner;

    struct Block {
        std::atomic<std::uint32_t> references;
        std::uint32_t bits;  // the size; the top bit marks a text with room to grow
        std::uint32_t size() const { return bits & ~kGrowing; }
        bool growing() const { return (bits & kGrowing) != 0; }
        char* chars() { return reinterpret_cast<char*>(this + 1); }
        const char* chars() const { return reinterpret_cast<const char*>(this + 1); }
    };
    static constexpr std::uint32_t kGrowing = std::uint32_t{1} << 31;
    // A text that grew has room for at least this many bytes: the size's power of two.
    static std::size_t room_for(std::size_t size);
    static Block* allocate(std::size_t size, std::size_t room, bool growing);
    // A text shared by very many copies is copied instead: its count never overflows (the limit
    // leaves room for the copies other threads make meanwhile).
    static constexpr std::uint32_t kMostShared = std::uint32_t{1} << 31;
    void hold() {
        if (block_ && block_->references.fetch_add(1, std::memory_order_relaxed) >= kMostShared)
            unshare();
    }
    void unshare();
    void release() noexcept;
    // One more holder of a block kept elsewhere.
    static Name held(Block* block) {
        Name name;
        name.block_ = block;
        name.hold();
        return name;
    }

    Block* block_ = nullptr;
};

using StringList = std::vector<std::string>;

// The names of one field, in order; compares and converts with lists of texts.
class NameList {
  public:
    using value_type = Name;
    using const_iterator = std::vector<Name>::const_iterator;

    NameList() = default;
    // A list of texts becomes a list of names, each with a text of its own (not interned).
    NameList(const StringList& texts);
    NameList(std::initializer_list<std::string_view> texts);

    const_iterator begin() const { return names_.begin(); }
    const_iterator end() const { return names_.end(); }
    std::size_t size() const { return names_.size(); }
    bool empty() const { return names_.empty(); }
    const Name& operator[](std::size_t i) const { return names_[i]; }
    const Name& front() const { return names_.front(); }
    const Name& back() const { return names_.back(); }
    std::vector<Name>& names() { return names_; }

    // The texts, for the operations on lists of texts.
    StringList texts() const;

    friend bool operator==(const NameList& a, const NameList& b) = default;
    friend bool operator==(const NameList& a, const StringList& b);

  private:
    std::vector<Name> names_;
};

std::ostream& operator<<(std::ostream& out, const NameList& names);

// Gives every repetition of a text the same Name. One reader keeps one while it reads a file.
// It points at the texts of the names it made without holding them: every name it gives out is
// stored in a fact of the store being read, which outlives it, so the texts stay; and its end
// touches none of them (a cache miss and an atomic decrement each, on a large file).
class NameInterner {
  public:
    // The names of several texts, appended to `out`: their lookups overlap (a large file's
    // reading keeps the table out of the processor's caches).
    void intern_all(std::span<const std::string_view> texts, std::vector<Name>& out);
    // Makes room for about `names` distinct names at once, so that the table is not rebuilt
    // again and again as a large file is read (each rebuilding places every name anew).
    void reserve(std::size_t names);

  private:
    // Open addressing over the names made so far; the low bits of the hash pick the slot.
    struct Slot {
        std::size_t hash = 0;
        Name::Block* block = nullptr;  // not held
    };
    void make_room(std::size_t count);
    void grow();
    // The first slot, from `from` on in probe order, that is empty or holds a name of that hash.
    std::size_t candidate(std::size_t hash, std::size_t from) const;
    Name resolve(std::string_view text, std::size_t hash, std::size_t from);

    std::vector<Slot> slots_;
    std::size_t used_ = 0;
    std::vector<std::size_t> hashes_;  // of the batch, reused
    std::vector<std::size_t> places_;
};

}  // namespace xamo
