#include "kb/base_file.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <iterator>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>
#include <unordered_map>

#include "kb/batch_thread.h"
#include "kb/codec.h"
#include "kb/numbers.h"

namespace xamo {
namespace {

// Looks functors up by the view of the line that holds them, without copying.
struct FunctorHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>{}(text);
    }
};
using FunctorTable = std::unordered_map<std::string, Kind, FunctorHash, std::equal_to<>>;

// Functors of one section in Windows-1250 bytes, for byte-exact comparison.
const FunctorTable& functors(Section section) {
    static const auto tables = [] {
        std::array<FunctorTable, kSectionCount> t;
        for (std::size_t s = 0; s < kSectionCount; ++s) {
            for (Kind kind : section_kinds(static_cast<Section>(s))) {
                t[s].emplace(*utf8_to_cp1250(kind_info(kind).functor), kind);
            }
        }
        return t;
    }();
    return tables[static_cast<std::size_t>(section)];
}

struct LineError {
    ReadErrorKind kind;
    std::size_t position;
};

// Parses one line (Windows-1250 bytes, CR removed) into a fact of the section.
class LineParser {
  public:
    // A batch of parsed lines whose names are not yet given: their texts are interned together,
    // so that the lookups overlap.
    struct Scratch {
        // A list field waiting for its names: texts `first` to `first + count` of the batch; a
        // text field waits for the one name `first`.
        struct PendingList {
            std::size_t fact;
            std::size_t field;
            std::size_t first;
            std::size_t count;
            bool text = false;
        };
        std::vector<Fact> facts;  // parsed, not yet stored
        std::vector<PendingList> lists;
        std::string texts;  // of the batch's lists, one after another: the first texts_used bytes
        std::size_t texts_used = 0;
        std::vector<std::size_t> ends;  // of each text in `texts`
        std::string escaped;

        // Empty, its room kept for the next batch.
        void clear() {
            facts.clear();
            lists.clear();
            texts_used = 0;
            ends.clear();
        }
    };
    LineParser(std::string_view line, Section section, Scratch& scratch)
        : line_(line), section_(section), scratch_(scratch) {}

    std::optional<LineError> parse(Fact& fact) {
        skip_blanks();
        const std::size_t functor_start = pos_;
        while (pos_ < line_.size() && !is_functor_end(line_[pos_])) ++pos_;
        const auto& table = functors(section_);
        const auto found = table.find(line_.substr(functor_start, pos_ - functor_start));
        if (found == table.end()) return fail(ReadErrorKind::UnknownFunctor, functor_start);
        fact.kind = found->second;
        if (!take('(')) return fail(ReadErrorKind::OpenParenExpected, pos_);
        const auto& types = kind_info(fact.kind).fields;
        fact.fields.clear();
        fact.fields.reserve(types.size());
        for (std::size_t i = 0; i < types.size(); ++i) {
            if (i > 0) {
                skip_blanks();
                if (!take(',')) return fail(ReadErrorKind::CommaOrParenExpected, pos_);
            }
            if (auto error = field(types[i], fact)) return error;
        }
        skip_blanks();
        if (!take(')')) return fail(ReadErrorKind::CommaOrParenExpected, pos_);
        return std::nullopt;  // the rest of the line is ignored
    }

  private:
    static bool is_functor_end(char c) { return c == '(' || c == ',' || c == ')' || c == ']'; }

    // Errors point at the character where they were found (1-based).
    static std::optional<LineError> fail(ReadErrorKind kind, std::size_t at) {
        return LineError{kind, at + 1};
    }

    void skip_blanks() {
        while (pos_ < line_.size() && line_[pos_] == ' ') ++pos_;
    }

    bool take(char c) {
        if (pos_ < line_.size() && line_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    std::optional<LineError> field(FieldType type, Fact& fact) {
        skip_blanks();
        switch (type) {
            case FieldType::Integer: {
                std::int32_t value = 0;
                if (auto error = integer(value)) return error;
                fact.fields.emplace_back(value);
                return std::nullopt;
            }
            case FieldType::Real: {
                double value = 0;
                const std::size_t start = pos_;
                const auto scan = scan_real(line_, pos_, value);
                if (scan == NumberScan::NotANumber) return fail(ReadErrorKind::RealExpected, start);
                if (scan == NumberScan::OutOfRange)
                    return fail(ReadErrorKind::IllegalNumber, start);
                fact.fields.emplace_back(value);
                return std::nullopt;
            }
            case FieldType::String: {
                std::string_view bytes;
                if (auto error = string(bytes)) return error;
                scratch_.lists.push_back(
                    {scratch_.facts.size(), fact.fields.size(), scratch_.ends.size(), 1, true});
                add_text(bytes);
                fact.fields.emplace_back(Name());
                return std::nullopt;
            }
            case FieldType::StringList: {
                // The texts are collected; the list gets its names when the batch is stored.
                const std::size_t first = scratch_.ends.size();
                auto error = list([&] {
                    std::string_view bytes;
                    auto e = string(bytes);
                    if (!e) add_text(bytes);
                    return e;
                });
                if (error) return error;
                scratch_.lists.push_back({scratch_.facts.size(), fact.fields.size(), first,
                                          scratch_.ends.size() - first});
                fact.fields.emplace_back(NameList());
                return std::nullopt;
            }
            case FieldType::IntegerList: {
                IntegerList values;
                auto error = list([&] {
                    std::int32_t value = 0;
                    auto e = integer(value);
                    if (!e) values.push_back(value);
                    return e;
                });
                if (error) return error;
                fact.fields.emplace_back(std::move(values));
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    // The UTF-8 form of a text joins the batch's texts, to be interned with them.
    void add_text(std::string_view bytes) {
        scratch_.texts_used = append_utf8_of_cp1250(bytes, scratch_.texts, scratch_.texts_used);
        scratch_.ends.push_back(scratch_.texts_used);
    }

    std::optional<LineError> integer(std::int32_t& value) {
        const std::size_t start = pos_;
        const auto scan = scan_integer(line_, pos_, value);
        if (scan == NumberScan::NotANumber) return fail(ReadErrorKind::IllegalNumber, start);
        if (scan == NumberScan::OutOfRange) return fail(ReadErrorKind::IntegerOutOfRange, start);
        return std::nullopt;
    }

    // The Windows-1250 bytes of a quoted string, escapes resolved.
    std::optional<LineError> string(std::string_view& value) {
        if (!take('"')) return fail(ReadErrorKind::StringExpected, pos_);
        // Most strings hold no escape: taken straight from the line (the searches are memchr).
        const std::size_t end = line_.find('"', pos_);
        if (end != std::string_view::npos) {
            const std::string_view text = line_.substr(pos_, end - pos_);
            if (text.find('\\') == std::string_view::npos &&
                text.find('\0') == std::string_view::npos) {
                value = text;
                pos_ = end + 1;
                return std::nullopt;
            }
        }
        std::string& bytes = scratch_.escaped;
        bytes.clear();
        while (true) {
            if (pos_ >= line_.size()) return fail(ReadErrorKind::StringExpected, pos_);
            const char c = line_[pos_];
            if (c == '\0') return fail(ReadErrorKind::StringExpected, pos_);
            ++pos_;
            if (c == '"') break;
            if (c == '\\' && pos_ < line_.size()) {
                const char next = line_[pos_];
                const char escaped = next == 'n'    ? '\n'
                                     : next == 'r'  ? '\r'
                                     : next == '\\' ? '\\'
                                     : next == '"'  ? '"'
                                                    : '\0';
                if (escaped != '\0') {
                    bytes.push_back(escaped);
                    ++pos_;
                    continue;
                }
            }
            bytes.push_back(c);
        }
        value = bytes;
        return std::nullopt;
    }

    template <typename Element>
    std::optional<LineError> list(Element element) {
        if (!take('[')) return fail(ReadErrorKind::OpenBracketExpected, pos_);
        skip_blanks();
        if (take(']')) return std::nullopt;
        while (true) {
            skip_blanks();
            if (auto error = element()) return error;
            skip_blanks();
            if (take(']')) return std::nullopt;
            if (!take(',')) return fail(ReadErrorKind::CommaOrBracketExpected, pos_);
        }
    }

    std::string_view line_;
    Section section_;
    Scratch& scratch_;
    std::size_t pos_ = 0;
};

ReadError make_error(ReadErrorKind kind, std::string_view line, std::size_t position,
                     std::size_t line_number) {
    ReadError error;
    error.kind = kind;
    // Bytes of the line are its characters.
    const std::size_t caret = position > 0 ? position - 1 : 0;
    const std::size_t from = caret > kErrorExcerptBefore ? caret - kErrorExcerptBefore : 0;
    const std::string_view excerpt =
        line.substr(std::min(from, line.size()), caret - from + kErrorExcerptBefore);
    error.line = cp1250_to_utf8(excerpt);
    error.line_offset = from;
    error.line_cut = from + excerpt.size() < line.size();
    error.position = position;
    error.line_number = line_number;
    return error;
}

void append_escaped(std::string& out, std::string_view text) {
    out.push_back('"');
    for (char c : text) {
        switch (c) {
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out.push_back(c);
        }
    }
    out.push_back('"');
}

void append_field(std::string& out, const FieldValue& value) {
    if (const auto* i = std::get_if<std::int32_t>(&value)) {
        out += std::to_string(*i);
    } else if (const auto* r = std::get_if<double>(&value)) {
        out += format_real(*r);
    } else if (const auto* s = std::get_if<Name>(&value)) {
        append_escaped(out, *s);
    } else if (const auto* sl = std::get_if<NameList>(&value)) {
        out.push_back('[');
        for (std::size_t k = 0; k < sl->size(); ++k) {
            if (k) out.push_back(',');
            append_escaped(out, (*sl)[k]);
        }
        out.push_back(']');
    } else if (const auto* il = std::get_if<IntegerList>(&value)) {
        out.push_back('[');
        for (std::size_t k = 0; k < il->size(); ++k) {
            if (k) out.push_back(',');
            out += std::to_string((*il)[k]);
        }
        out.push_back(']');
    }
}

}  // namespace

std::string ReadError::shown_line() const {
    std::string shown = line_offset > 0 ? "..." : "";
    shown += line;
    if (line_cut) shown += "...";
    return shown;
}

std::size_t ReadError::caret_column() const {
    const std::size_t caret = position > 0 ? position - 1 : 0;
    return caret - line_offset + (line_offset > 0 ? 3 : 0);
}

bool ReadError::is_syntax() const {
    switch (kind) {
        case ReadErrorKind::EmptyLine:
        case ReadErrorKind::IntegerOutOfRange:
        case ReadErrorKind::InputOutput:
            return false;
        default:
            return true;
    }
}

std::string ReadError::message() const {
    switch (kind) {
        case ReadErrorKind::IllegalNumber:
            return "Niedozwolona liczba";
        case ReadErrorKind::RealExpected:
            return "Oczekiwana liczba rzeczywista";
        case ReadErrorKind::StringExpected:
            return "Oczekiwany łańcuch znaków w cudzysłowie";
        case ReadErrorKind::OpenBracketExpected:
            return "Oczekiwany znak [";
        case ReadErrorKind::CommaOrBracketExpected:
            return "Oczekiwany znak , lub ]";
        case ReadErrorKind::UnknownFunctor:
            return "Nieznana nazwa faktu";
        case ReadErrorKind::OpenParenExpected:
            return "Oczekiwany znak (";
        case ReadErrorKind::CommaOrParenExpected:
            return "Oczekiwany znak , lub )";
        case ReadErrorKind::EmptyLine:
            return "Pusta linia";
        case ReadErrorKind::IntegerOutOfRange:
            return "Liczba całkowita poza zakresem";
        case ReadErrorKind::InputOutput:
            return detail.empty() ? "Błąd wejścia/wyjścia" : detail;
    }
    return {};
}

namespace {

// Calls `visit` with every line of `bytes` as the reader splits them, until it returns false.
template <typename Visit>
void for_each_line(std::string_view bytes, Visit&& visit) {
    std::size_t start = 0;
    // The next LF, kept until it is passed, so that a file of lone CRs is not searched to its end
    // again for every line.
    std::size_t next_lf = std::min(bytes.find('\n'), bytes.size());
    while (start < bytes.size()) {
        // A line ends at LF, at CR LF, or at a CR alone (as old editors write); CRs before an LF
        // belong to that one line end.
        if (next_lf < start) next_lf = std::min(bytes.find('\n', start), bytes.size());
        const std::size_t cr = bytes.substr(0, next_lf).find('\r', start);
        const std::size_t end = cr == std::string_view::npos ? next_lf : cr;
        if (!visit(bytes.substr(start, end - start))) return;
        std::size_t after_crs = end;
        while (after_crs < bytes.size() && bytes[after_crs] == '\r') ++after_crs;
        if (after_crs < bytes.size() && bytes[after_crs] == '\n')
            start = after_crs + 1;
        else
            start = end + 1;  // LF, a lone CR, or the end of the file
    }
}

// Gives the names of parsed lines and stores their facts, batch after batch: the names of one
// file are interned together. It may work on a thread of its own beside the parser's members:
// none of them shares a cache line with it, or each write would take the line from the other
// processor.
class alignas(64) BatchStorer {
  public:
    explicit BatchStorer(FactStore& store) : store_(store) {}

    void store(LineParser::Scratch& batch) {
        make_views(batch);
        names_.clear();
        // A few hundred texts at a time: their lookups overlap, and their slots are still in the
        // processor's caches when they are resolved.
        constexpr std::size_t kInterned = 256;
        for (std::size_t from = 0; from < views_.size(); from += kInterned) {
            const std::size_t count = std::min(kInterned, views_.size() - from);
            interner_.intern_all(std::span(views_).subspan(from, count), names_);
        }
        give_names(batch);
        for (Fact& fact : batch.facts) store_.add(std::move(fact));
        batch.clear();
    }
    void reserve(std::size_t names) { interner_.reserve(names); }

  private:
    void make_views(const LineParser::Scratch& batch) {
        views_.clear();
        std::size_t begin = 0;
        for (const std::size_t end : batch.ends) {
            views_.push_back(std::string_view(batch.texts).substr(begin, end - begin));
            begin = end;
        }
    }

    void give_names(LineParser::Scratch& batch) {
        for (const auto& list : batch.lists) {
            const auto first = names_.begin() + static_cast<std::ptrdiff_t>(list.first);
            auto& field = batch.facts[list.fact].fields[list.field];
            if (list.text) {
                field = std::move(*first);
                continue;
            }
            std::get<NameList>(field).names().assign(
                std::make_move_iterator(first),
                std::make_move_iterator(first + static_cast<std::ptrdiff_t>(list.count)));
        }
    }

    FactStore& store_;
    NameInterner interner_;
    std::vector<std::string_view> views_;
    std::vector<Name> names_;
};

// Parses lines into the store, numbering them on from `line_number`. A large file's lines are
// stored on a second thread while the next ones are parsed (each takes about half the reading);
// a small one's are stored when it ends, on the reader's thread.
class SectionReader {
  public:
    SectionReader(FactStore& store, Section section, std::vector<FactLine>* lines)
        : storer_(store), section_(section), lines_(lines) {}

    // False when a line is in error (then error() holds it); the lines before it are stored by
    // finish().
    bool read(std::string_view bytes) {
        for_each_line(bytes, [this](std::string_view line) { return read_line(line); });
        return !error_;
    }
    // Stores the lines read last; called once the whole file was read, or a line failed.
    void finish() {
        if (!thread_) {
            storer_.store(batch_);
            return;
        }
        thread_->hand_over(batch_);
        thread_->finish();
    }
    std::optional<ReadError>& error() { return error_; }
    // Readies the names' table for a file of `bytes`: a name and its quotes and separators take
    // some sixteen bytes in most bases. A file of very long names wastes at most the largest
    // table made so (1,048,576 slots); a larger one grows as it is read.
    void expect(std::uintmax_t bytes) {
        constexpr std::uintmax_t kMostNames = 786'432;
        storer_.reserve(static_cast<std::size_t>(std::min(bytes / 16, kMostNames)));
    }

  private:
    using Batch = LineParser::Scratch;
    static constexpr std::size_t kBatchLines = 1024;

    bool read_line(std::string_view line) {
        ++line_number_;
        if (line.empty()) return fail(make_error(ReadErrorKind::EmptyLine, line, 0, line_number_));
        const std::size_t lists_before = batch_.lists.size();
        const std::size_t texts_before = batch_.ends.size();
        LineParser parser(line, section_, batch_);
        if (auto failed = parser.parse(fact_)) {
            // Not one name of a failed line is interned.
            batch_.lists.resize(lists_before);
            batch_.ends.resize(texts_before);
            return fail(make_error(failed->kind, line, failed->position, line_number_));
        }
        if (lines_) lines_->push_back({fact_.kind, line_number_});
        batch_.facts.push_back(std::move(fact_));
        fact_ = Fact{};
        if (batch_.facts.size() == kBatchLines) hand_over();
        return true;
    }

    bool fail(ReadError error) {
        error_ = std::move(error);
        return false;
    }

    // The storing thread starts when the first batch is full: a file of fewer lines never starts
    // it. Where no thread can be started the batch is stored here.
    void hand_over() {
        if (!thread_ && !no_thread_) {
            try {
                thread_.emplace([this](Batch& batch) { storer_.store(batch); });
            } catch (const std::system_error&) {
                no_thread_ = true;
            }
        }
        if (thread_) {
            thread_->hand_over(batch_);
            return;
        }
        storer_.store(batch_);
    }

    BatchStorer storer_;
    Section section_;
    std::vector<FactLine>* lines_;
    std::size_t line_number_ = 0;
    Fact fact_{};
    Batch batch_;
    std::optional<ReadError> error_;
    bool no_thread_ = false;
    std::optional<BatchThread<Batch>> thread_;  // last: it stops before the members it uses go
};

}  // namespace

std::vector<std::string_view> base_file_lines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    for_each_line(bytes, [&lines](std::string_view line) {
        lines.push_back(line);
        return true;
    });
    return lines;
}

std::optional<ReadError> read_section_bytes(FactStore& store, Section section,
                                            const std::string& bytes,
                                            std::vector<FactLine>* lines) {
    SectionReader reader(store, section, lines);
    reader.read(bytes);
    reader.finish();
    return std::move(reader.error());
}

std::optional<ReadError> read_section(FactStore& store, Section section, const std::string& path) {
    // The file is parsed as it is read, never held whole beside the facts made from it: what
    // follows the last LF read so far waits for the next piece, since an LF always ends a line
    // and a new one begins after it.
    SectionReader reader(store, section, nullptr);
    std::error_code size_unknown;
    const std::uintmax_t size = std::filesystem::file_size(path, size_unknown);
    if (!size_unknown) reader.expect(size);
    std::string pending;
    const auto result = read_file_pieces(path, [&](std::string_view piece) {
        // Only the new piece is searched: a line without an LF is not scanned again each time.
        const std::size_t lf_in_piece = piece.rfind('\n');
        const std::size_t last_lf = pending.size() + lf_in_piece;
        pending.append(piece);
        if (lf_in_piece == std::string_view::npos) return true;
        if (!reader.read(std::string_view(pending).substr(0, last_lf + 1))) return false;
        pending.erase(0, last_lf + 1);
        return true;
    });
    if (result.ok && !reader.error()) reader.read(pending);
    // The lines read before a failure are stored, as they always were.
    reader.finish();
    if (reader.error()) return std::move(reader.error());
    if (!result.ok) {
        ReadError error;
        error.kind = ReadErrorKind::InputOutput;
        error.detail = result.error;
        return error;
    }
    return std::nullopt;
}

namespace {

void append_fact(std::string& out, const Fact& fact) {
    out += kind_info(fact.kind).functor;
    out.push_back('(');
    for (std::size_t i = 0; i < fact.fields.size(); ++i) {
        if (i) out.push_back(',');
        append_field(out, fact.fields[i]);
    }
    out.push_back(')');
}

}  // namespace

std::string section_text(const FactStore& store, Section section) {
    std::string out;
    for (Kind kind : section_kinds(section)) {
        for (const Fact& fact : store.all(kind)) {
            append_fact(out, fact);
            out += "\r\n";
        }
    }
    return out;
}

std::string fact_text(const Fact& fact) {
    std::string out;
    append_fact(out, fact);
    return out;
}

FileResult write_section(const FactStore& store, Section section, const std::string& path) {
    return write_text_file(path, section_text(store, section));
}

}  // namespace xamo
