#include "check/checker.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <new>
#include <optional>
#include <set>
#include <unordered_map>

#include "analysis/numbering.h"
#include "analysis/same_results.h"
#include "app/application.h"
#include "askable/askable.h"
#include "check/auto_answers.h"
#include "kb/base_file.h"
#include "kb/codec.h"
#include "kb/conditions.h"
#include "kb/files.h"
#include "loading/base_texts.h"
#include "loading/load_checks.h"
#include "loading/loading.h"
#include "media/media_files.h"

namespace xamo {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxSyntaxErrors = 100;

struct KindCommand {
    BaseKind kind;
    int load_command;
    std::string prefix;  // upper case
};

const std::vector<KindCommand>& kind_commands() {
    static const std::vector<KindCommand> table = {
        {BaseKind::Rules, 10058, "RE"},       {BaseKind::Models, 10071, "MO"},
        {BaseKind::Constraints, 10087, "OG"}, {BaseKind::Advice, 10097, "RA"},
        {BaseKind::Graphics, 10108, "GR"},    {BaseKind::Sounds, 10118, "DŹ"},
    };
    return table;
}

// Paths are shown in UTF-8; a name written on Windows may hold Windows-1250 bytes.
std::string shown(const fs::path& path) { return utf8_from_either(path.string()); }

// A file name as a person reads it, in upper case.
std::string upper_name(const fs::path& path) { return upper_case(shown(path.filename())); }

bool starts_with(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool ends_with(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The kind prefix of a base file's name ("RE", "MO", ...); nullptr when it has none.
const KindCommand* kind_of_name(const std::string& upper) {
    if (!ends_with(upper, ".BRD")) return nullptr;
    for (const auto& entry : kind_commands()) {
        if (starts_with(upper, entry.prefix) && upper.size() > entry.prefix.size() + 4)
            return &entry;
    }
    return nullptr;
}

struct BaseFile {
    BaseKind kind;
    int load_command;
    std::string path;       // as the findings name it
    std::string open_path;  // absolute: the loads change the current directory
};

BaseFile base_file(BaseKind kind, int load_command, const fs::path& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    return {kind, load_command, shown(path), ec ? path.string() : absolute.string()};
}

// The files of a directory by their upper-case names, sorted so the choice among twins is stable.
std::map<std::string, fs::path> files_by_name(const fs::path& directory) {
    std::map<std::string, fs::path> by_name;
    std::error_code ec;
    for (fs::directory_iterator it(directory.empty() ? fs::path(".") : directory, ec), end;
         !ec && it != end; it.increment(ec)) {
        // Named as the rule base is: "MOx.BRD" beside "REx.BRD", "dir/MOx.BRD" beside
        // "dir/REx.BRD".
        by_name.emplace(upper_name(it->path()), directory / it->path().filename());
    }
    return by_name;
}

// The rule base, then the other bases of its directory whose names differ from it only in the
// prefix (letter case aside).
std::vector<BaseFile> knowledge_base_files(const fs::path& rule_base) {
    std::vector<BaseFile> files;
    const std::string rest = upper_name(rule_base).substr(2);
    const auto by_name = files_by_name(rule_base.parent_path());
    for (const auto& entry : kind_commands()) {
        if (entry.kind == BaseKind::Rules) {
            files.push_back(base_file(entry.kind, entry.load_command, rule_base));
            continue;
        }
        const auto found = by_name.find(entry.prefix + rest);
        if (found != by_name.end())
            files.push_back(base_file(entry.kind, entry.load_command, found->second));
    }
    return files;
}

const std::vector<Kind> kRuleKinds = {Kind::regula};
const std::vector<Kind> kModelKinds = {Kind::model, Kind::model_r, Kind::model_liniowy,
                                       Kind::model_wielomianowy};

bool is_remark(Kind kind) { return starts_with(std::string(kind_info(kind).functor), "rem_"); }

// A remark "check: pomiń CODE..." silences those codes for the next fact.
std::set<std::string> suppressed_codes(const Fact& remark) {
    static const std::string marker = "check: pomiń";
    std::set<std::string> found;
    const std::string text = TextFact(remark).text().str();
    if (!starts_with(text, marker)) return found;
    std::string code;
    for (std::size_t i = marker.size(); i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ' ';
        if (c == ' ' || c == ',') {
            if (!code.empty()) found.insert(code);
            code.clear();
        } else {
            code.push_back(c);
        }
    }
    return found;
}

// The facts of one base file with the line each stands at, and the codes silenced per line.
class FileFacts {
  public:
    FactStore store;
    std::map<std::size_t, std::set<std::string>> silenced;

    void add_lines(const std::vector<FactLine>& lines, std::size_t first_line) {
        for (const auto& [kind, line] : lines) {
            const Fact& fact = store.all(kind)[seen_[kind]++];
            const std::size_t at = first_line + line - 1;
            if (is_remark(kind)) {
                auto codes = suppressed_codes(fact);
                pending_.insert(codes.begin(), codes.end());
                continue;
            }
            if (!pending_.empty()) silenced[at] = std::move(pending_);
            pending_.clear();
            const bool numbered =
                !fact.fields.empty() && std::holds_alternative<std::int32_t>(fact.fields[0]);
            if (numbered) by_number_[{kind, std::get<std::int32_t>(fact.fields[0])}].push_back(at);
            in_order_[kind].push_back(at);
        }
    }
    // The line of the n-th fact of a kind (0-based), in file order.
    std::size_t nth(Kind kind, std::size_t n) const {
        const auto it = in_order_.find(kind);
        return it != in_order_.end() && n < it->second.size() ? it->second[n] : 0;
    }
    std::vector<std::size_t> of(const std::vector<Kind>& kinds, std::int32_t number) const {
        std::vector<std::size_t> all;
        for (Kind kind : kinds) {
            const auto it = by_number_.find({kind, number});
            if (it != by_number_.end()) all.insert(all.end(), it->second.begin(), it->second.end());
        }
        std::sort(all.begin(), all.end());
        return all;
    }
    std::size_t first(const std::vector<Kind>& kinds, std::int32_t number) const {
        const auto all = of(kinds, number);
        return all.empty() ? 0 : all.front();
    }

  private:
    std::unordered_map<Kind, std::size_t> seen_;
    std::set<std::string> pending_;
    std::map<std::pair<Kind, std::int32_t>, std::vector<std::size_t>> by_number_;
    std::map<Kind, std::vector<std::size_t>> in_order_;
};

std::string joined(const StringList& items) {
    std::string text;
    for (const auto& item : items) {
        if (!text.empty()) text += ", ";
        text += item;
    }
    return text;
}

std::string numbers_text(const IntegerList& numbers) {
    std::string text;
    for (auto n : numbers) {
        if (!text.empty()) text += ", ";
        text += std::to_string(n);
    }
    return text;
}

std::string quoted(const std::string& text) { return "„" + text + "”"; }

std::string rule_evidence(std::int32_t number, const StringList& conditions) {
    return "reguła " + std::to_string(number) + ": " + joined(conditions);
}

// Flattenings listed once each, whatever the order of their conditions.
class DistinctSets {
  public:
    bool first_time(const StringList& items) {
        StringList key = items;
        std::sort(key.begin(), key.end());
        return seen_.insert(std::move(key)).second;
    }

  private:
    std::set<StringList> seen_;
};

bool contains_all(const StringList& big, const StringList& small) {
    const std::set<std::string> have(big.begin(), big.end());
    return std::all_of(small.begin(), small.end(),
                       [&have](const std::string& item) { return have.contains(item); });
}

// The lines of a dialog's text, trimmed, blank ones left out.
std::vector<std::string> text_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        const auto first = line.find_first_not_of(" \r\t");
        const auto last = line.find_last_not_of(" \r\t");
        if (first != std::string::npos) lines.push_back(line.substr(first, last - first + 1));
        start = end + 1;
    }
    return lines;
}

// A file saved in UTF-8: a byte-order mark, or well-formed multi-byte sequences (Windows-1250
// text with Polish letters practically never is). The line of the first such character.
std::optional<std::size_t> utf8_line(const std::string& bytes) {
    if (starts_with(bytes, "\xEF\xBB\xBF")) return 1;
    const auto first = std::find_if(bytes.begin(), bytes.end(),
                                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (first == bytes.end() || !valid_utf8(bytes)) return std::nullopt;
    return 1 + static_cast<std::size_t>(std::count(bytes.begin(), first, '\n'));
}

class Checker {
  public:
    Checker(CheckResult& result, const CheckOptions& options) : app_(ui_), result_(result) {
        app_.start();
        app_.close_introduction();
        if (options.time_limit.count() > 0)
            ui_.set_deadline(std::chrono::steady_clock::now() + options.time_limit);
    }

    void run(const fs::path& rule_base) {
        const std::size_t first_finding = result_.findings.size();
        const auto files = knowledge_base_files(rule_base);
        std::map<std::string, std::size_t> rank;
        for (const auto& file : files) rank.emplace(file.path, rank.size());
        try {
            for (const auto& file : files) {
                if (stopper_) {
                    not_checked(file);
                    continue;
                }
                check_file(file);
            }
            check_model_results_without_constraints(files);
        } catch (const std::bad_alloc&) {
            ui_.out_of_memory = true;
        }
        report_unfinished(files.front());
        // In file and line order; findings outside these files (none today) go last.
        std::stable_sort(result_.findings.begin() + static_cast<std::ptrdiff_t>(first_finding),
                         result_.findings.end(), [&rank](const Finding& a, const Finding& b) {
                             const auto ra = rank.find(a.location.file);
                             const auto rb = rank.find(b.location.file);
                             const std::size_t ia = ra == rank.end() ? rank.size() : ra->second;
                             const std::size_t ib = rb == rank.end() ? rank.size() : rb->second;
                             return std::tie(ia, a.location.line, a.location.column) <
                                    std::tie(ib, b.location.line, b.location.column);
                         });
    }

  private:
    // Adds a finding of a code's kind; false when a remark before the fact silenced it.
    bool add(std::string_view code, Location location, std::string message,
             std::vector<std::string> evidence = {}, std::vector<Location> related = {}) {
        const auto facts = facts_.find(location.file);
        if (facts != facts_.end()) {
            const auto codes = facts->second.silenced.find(location.line);
            if (codes != facts->second.silenced.end() &&
                codes->second.contains(std::string(code))) {
                ++result_.suppressed;
                return false;
            }
        }
        Finding finding;
        finding.code = code;
        finding.severity = finding_kind(code)->severity;
        finding.location = std::move(location);
        finding.message = std::move(message);
        finding.evidence = std::move(evidence);
        finding.related = std::move(related);
        result_.findings.push_back(std::move(finding));
        return true;
    }

    Location at(const BaseFile& file, std::size_t line, std::string message = {}) const {
        return {file.path, line, 0, std::move(message)};
    }
    const FileFacts& facts(const BaseFile& file) { return facts_[file.path]; }

    // The knowledge base goes no further than this finding (the last one added).
    void stop_here() {
        if (!result_.findings.empty()) stopper_ = result_.findings.back().location;
    }

    // The finding that keeps a base from loading: the one that ended the knowledge base, or
    // else the last error.
    std::optional<Location> cause_of_stop() const {
        if (stopper_) return stopper_;
        for (auto it = result_.findings.rbegin(); it != result_.findings.rend(); ++it) {
            if (it->severity == Severity::Error) return it->location;
        }
        return std::nullopt;
    }

    void not_checked(const BaseFile& file) {
        std::vector<Location> related;
        if (auto cause = cause_of_stop(); cause && !cause->file.empty()) {
            cause->message = "to ustalenie zatrzymało sprawdzanie";
            related.push_back(std::move(*cause));
        }
        add(codes::not_checked, at(file, 0), "baza nie została sprawdzona", {}, std::move(related));
    }

    // Reads every line of the file, reporting each syntax error. False when the file cannot be
    // loaded.
    bool read_file(const BaseFile& file) {
        std::string bytes;
        const FileResult read = read_file_bytes(file.open_path, bytes);
        if (!read.ok) {
            add(codes::unreadable, at(file, 0), "nie można odczytać pliku", {read.error});
            result_.unreadable = true;
            return false;
        }
        ++result_.files_checked;
        if (const auto line = utf8_line(bytes)) {
            add(codes::utf8, at(file, *line),
                "plik zapisany w UTF-8; zapisz go w kodowaniu Windows-1250");
            return false;
        }
        FileFacts& facts = facts_[file.path];
        facts = FileFacts{};
        const Section section = base_texts(file.kind).section;
        std::size_t errors = 0;
        std::size_t number = 0;
        std::string line;
        for (const std::string_view text : base_file_lines(bytes)) {
            ++number;
            line.assign(text);
            std::vector<FactLine> lines;
            std::optional<ReadError> error;
            if (line.empty()) {
                error = ReadError{};
                error->kind = ReadErrorKind::EmptyLine;
                error->line_number = number;
            } else {
                error = read_section_bytes(facts.store, section, line, &lines);
            }
            facts.add_lines(lines, number);
            if (!error) continue;
            if (++errors <= kMaxSyntaxErrors) syntax_error(file, number, *error);
        }
        if (errors > kMaxSyntaxErrors) {
            add(codes::more_syntax, at(file, 0),
                "pominięto dalsze błędy składni: " + std::to_string(errors - kMaxSyntaxErrors));
        }
        return errors == 0;
    }

    void syntax_error(const BaseFile& file, std::size_t line, const ReadError& error) {
        // The caret of the load stands under the character at `position` (1-based).
        Location location = at(file, line);
        if (error.is_syntax()) location.column = std::max<std::size_t>(error.position, 1);
        if (add(codes::syntax, std::move(location), error.message())) {
            // A long line comes as an excerpt around the caret.
            result_.findings.back().source_line = error.shown_line();
            result_.findings.back().source_caret = error.caret_column();
        }
    }

    void check_file(const BaseFile& file) {
        const std::size_t before = result_.findings.size();
        if (file.kind != BaseKind::Rules && !base_loaded(app_.store(), BaseKind::Rules)) {
            not_checked(file);
            return;
        }
        if (!read_file(file)) {
            if (file.kind == BaseKind::Rules && result_.findings.size() > before) {
                // The first finding of the file is the reason.
                stopper_ = result_.findings[before].location;
            }
            return;
        }
        ui_.notes.clear();
        ui_.next_file = file.open_path;
        const bool blocked_before = app_.flags().contradiction_found();
        const auto ran = app_.run_command(file.load_command);
        if (ran == CommandTable::RunResult::Disabled) {
            not_checked(file);
            return;
        }
        if (ui_.out_of_memory) return;
        collect(file);
        const bool loaded = base_loaded(app_.store(), file.kind);
        if (!loaded && result_.findings.size() == before) {
            // A load refused in silence because of a contradiction already reported.
            if (ui_.notes.empty() && blocked_before)
                not_checked(file);
            else
                load_refused(file);
        }
        if (file.kind == BaseKind::Rules) {
            rule_file_ = file;
            if (!loaded) stop_here();
        }
    }

    // What a load check refused, at the fact the dialog names when one can be found.
    void load_refused(const BaseFile& file) {
        const std::string text =
            ui_.notes.empty() ? std::string("baza nie została załadowana") : ui_.notes.back();
        if (file.kind == BaseKind::Rules && report_wrong_facts(file, text)) return;
        add(codes::load_refused, at(file, numbered_line_in(file, text)),
            "baza odrzucona przy ładowaniu", text_lines(text));
    }

    // Declared facts that are no askable conditions: one finding per fact, at its line.
    bool report_wrong_facts(const BaseFile& file, const std::string& text) {
        static const std::string marker = "nie są warunkami dopytywalnymi";
        if (text.find(marker) == std::string::npos) return false;
        // The load's own list: every condition of a rule, negation stripped.
        AskableMemory memory;
        askable_conditions_of_rules(facts(file).store, memory);
        std::set<std::string, std::less<>> allowed;
        for (const std::string_view c : memory.lista_warunkow) allowed.emplace(c);
        const auto& declared = facts(file).store.all(Kind::fakt);
        bool any = false;
        for (std::size_t i = 0; i < declared.size(); ++i) {
            const std::string name = TextFact(declared[i]).text().str();
            if (allowed.contains(strip_negations({name}).front())) continue;
            any = true;
            add(codes::load_refused, at(file, facts(file).nth(Kind::fakt, i)),
                "fakt " + quoted(name) + " nie jest warunkiem dopytywalnym", text_lines(text));
        }
        return any;
    }

    // The line of the first numbered fact the dialog names ("ograniczeniu 3", "modelu 2").
    std::size_t numbered_line_in(const BaseFile& file, const std::string& text) {
        static const std::vector<std::pair<std::string, std::vector<Kind>>> words = {
            {"ograniczenie ", {Kind::ograniczenie}},
            {"ograniczeniu ", {Kind::ograniczenie}},
            {"modelu ", kModelKinds},
            {"model ", kModelKinds},
            {"reguły ", kRuleKinds},
            {"reguła ", kRuleKinds},
        };
        for (const auto& [word, kinds] : words) {
            for (auto pos = text.find(word); pos != std::string::npos;
                 pos = text.find(word, pos + 1)) {
                std::size_t end = pos + word.size();
                std::int32_t number = 0;
                bool digits = false;
                while (end < text.size() && text[end] >= '0' && text[end] <= '9' &&
                       number < 100000000) {
                    number = number * 10 + (text[end++] - '0');
                    digits = true;
                }
                if (!digits) continue;
                if (const auto line = facts(file).first(kinds, number)) return line;
            }
        }
        return 0;
    }

    void report_unfinished(const BaseFile& rule_base) {
        if (!ui_.stopped_searches.empty()) {
            result_.incomplete = true;
            add(codes::time_limit, at(rule_base, 0),
                "diagnozy przerwane po limicie czasu: " +
                    std::to_string(ui_.stopped_searches.size()),
                ui_.stopped_searches);
            ui_.stopped_searches.clear();
        }
        if (ui_.out_of_memory) {
            result_.incomplete = true;
            add(codes::out_of_memory, at(rule_base, 0),
                "zabrakło pamięci; sprawdzenie jest niepełne", {kOutOfMemoryNote});
        }
    }

    void collect(const BaseFile& file) {
        switch (file.kind) {
            case BaseKind::Rules:
                collect_external(file);
                collect_internal(file);
                collect_redundancy(file);
                // A contradiction stops the load before this check.
                if (!app_.flags().sprzecznosc_1z) collect_single_conditions(file);
                collect_duplicates(file, NumberedBase::Rules, kRuleKinds);
                break;
            case BaseKind::Models:
                collect_duplicates(file, NumberedBase::Models, kModelKinds);
                collect_tautologies(file);
                collect_model_contradictions(file);
                collect_model_rule_contradictions(file);
                collect_models_of_one_condition(file);
                break;
            case BaseKind::Constraints:
                collect_duplicates(file, NumberedBase::Constraints, {Kind::ograniczenie});
                collect_rule_constraint_contradictions(file);
                collect_rule_constraint_redundancy(file);
                break;
            case BaseKind::Advice:
                collect_duplicates(file, NumberedBase::Advice, {Kind::rada});
                collect_media(file, MediaKind::Advice);
                break;
            case BaseKind::Graphics:
                collect_media(file, MediaKind::Picture);
                break;
            case BaseKind::Sounds:
                collect_media(file, MediaKind::Sound);
                break;
        }
    }

    Location rule_at(std::int32_t rule, std::string message = {}) {
        if (!rule_file_) return {};
        return at(*rule_file_, facts(*rule_file_).first(kRuleKinds, rule), std::move(message));
    }

    // One finding per cycle, at its first rule, the other rules of the cycle related.
    void collect_external(const BaseFile& file) {
        std::map<std::set<std::int32_t>, std::vector<std::string>> cycles;
        for (const auto& finding : app_.diagnoses().reguly_sprzeczne) {
            std::set<std::int32_t> rules(finding.chain.begin(), finding.chain.end());
            rules.insert(finding.rule);
            IntegerList from_start(finding.chain.rbegin(), finding.chain.rend());
            cycles[rules].push_back("łańcuch reguł: " + numbers_text(from_start));
        }
        for (auto& [rules, chains] : cycles) {
            std::vector<std::pair<std::size_t, std::int32_t>> by_line;
            for (auto rule : rules) by_line.push_back({facts(file).first(kRuleKinds, rule), rule});
            std::sort(by_line.begin(), by_line.end());
            std::vector<Location> related;
            for (std::size_t i = 1; i < by_line.size(); ++i)
                related.push_back(at(file, by_line[i].first,
                                     "reguła " + std::to_string(by_line[i].second) + " w cyklu"));
            add(codes::external, at(file, by_line.front().first),
                "sprzeczność zewnętrzna: wniosek reguły " + std::to_string(by_line.front().second) +
                    " zależy od niego samego",
                {chains.front()}, std::move(related));
        }
    }

    void collect_internal(const BaseFile& file) {
        const auto& memory = app_.diagnoses();
        // The flattenings of each rule and conclusion, gathered once: a base may hold thousands.
        std::map<std::pair<std::int32_t, std::string>, std::vector<const StringList*>> flattenings;
        for (const auto& flattened : memory.regula_splaszczona_1w)
            flattenings[{flattened.number, flattened.conclusion}].push_back(&flattened.conditions);
        std::set<std::pair<std::int32_t, std::string>> reported;
        for (const auto& verdict : memory.sprzecznosc_1w) {
            if (!verdict.contradictory) continue;
            if (!reported.insert({verdict.number, verdict.conclusion}).second) continue;
            std::vector<std::string> evidence;
            DistinctSets distinct;
            for (const StringList* conditions : flattenings[{verdict.number, verdict.conclusion}]) {
                if (distinct.first_time(*conditions))
                    evidence.push_back(rule_evidence(verdict.number, *conditions));
            }
            add(codes::internal, at(file, facts(file).first(kRuleKinds, verdict.number)),
                "sprzeczność wewnętrzna: reguła " + std::to_string(verdict.number) +
                    " nie wywnioskuje " + quoted(verdict.conclusion),
                std::move(evidence));
        }
    }

    // The rule whose flattened conditions hold the other's adds nothing: the finding stands at
    // its line, the other rule related.
    void collect_redundancy(const BaseFile& file) {
        std::set<std::pair<std::int32_t, std::int32_t>> reported;
        for (const auto& pair : app_.diagnoses().para_splaszczona_n1) {
            const bool first_redundant =
                contains_all(pair.first_conditions, pair.second_conditions) &&
                (!contains_all(pair.second_conditions, pair.first_conditions) ||
                 pair.first > pair.second);
            const auto redundant = first_redundant ? pair.first : pair.second;
            const auto other = first_redundant ? pair.second : pair.first;
            if (!reported.insert({std::min(redundant, other), std::max(redundant, other)}).second)
                continue;
            add(codes::redundant, at(file, facts(file).first(kRuleKinds, redundant)),
                "reguła " + std::to_string(redundant) + " jest nadmiarowa wobec reguły " +
                    std::to_string(other) + " (wniosek " + quoted(pair.conclusion) + ")",
                {rule_evidence(pair.first, pair.first_conditions),
                 rule_evidence(pair.second, pair.second_conditions)},
                {at(file, facts(file).first(kRuleKinds, other),
                    "reguła " + std::to_string(other) +
                        " wnioskuje to samo przy mniejszych "
                        "wymaganiach")});
        }
    }

    void collect_single_conditions(const BaseFile& file) {
        const auto& rules = app_.store().all(Kind::regula);
        std::size_t index = 0;
        for (const Fact* fact : single_condition_rules(app_.store())) {
            while (index < rules.size() && &rules[index] != fact) ++index;
            const Rule rule(*fact);
            add(codes::single_condition, at(file, facts(file).nth(Kind::regula, index)),
                "reguła " + std::to_string(rule.number()) + " ma pojedynczy warunek " +
                    quoted(rule.conditions().front().str()));
        }
    }

    void collect_duplicates(const BaseFile& file, NumberedBase base,
                            const std::vector<Kind>& kinds) {
        std::set<std::int32_t> reported;
        for (const auto number : base_numbers(app_.store(), base)) {
            const auto lines = facts(file).of(kinds, number);
            if (lines.size() < 2 || !reported.insert(number).second) continue;
            for (std::size_t i = 1; i < lines.size(); ++i) {
                add(codes::repeated_number, at(file, lines[i]),
                    "numer " + std::to_string(number) + " powtarza się w bazie",
                    {"wnioskowanie nie zostanie podjęte"},
                    {at(file, lines.front(), "pierwszy raz tutaj")});
            }
        }
    }

    void collect_tautologies(const BaseFile& file) {
        for (const auto& model : app_.load_memory().model_tautologiczny) {
            add(codes::tautological_model, at(file, facts(file).first({Kind::model}, model.number)),
                "model " + std::to_string(model.number) + " jest tautologiczny",
                {"zastępuje zmienną " + quoted(model.argument) + " zmienną " +
                 quoted(model.result)});
        }
    }

    void collect_model_contradictions(const BaseFile& file) {
        const auto& memory = app_.model_diagnoses();
        const auto add_model = [&](std::string_view code, std::int32_t number,
                                   const std::string& what, std::string evidence) {
            add(code, at(file, facts(file).first(kModelKinds, number)),
                what + " " + std::to_string(number), {std::move(evidence)});
        };
        for (const auto& finding : memory.model_arytmetyczny_sprzeczny)
            add_model(codes::model_arithmetic, finding.number, "sprzeczność modelu arytmetycznego",
                      "wynik " + quoted(finding.result) + " jest zarazem argumentem modelu");
        for (const auto& finding : memory.model_arytmetyczny_sprzeczny_gleboko)
            add_model(codes::model_arithmetic_deep, finding.number,
                      "pośrednia sprzeczność modelu arytmetycznego",
                      "wynik " + quoted(finding.result) +
                          " jest argumentem łańcucha modeli, które go obliczają");
        for (const auto& finding : memory.model_relacyjny_sprzeczny)
            add_model(codes::model_relational, finding.number, "sprzeczność modelu relacyjnego",
                      "wnioskowany warunek " + quoted(finding.result) +
                          " jest jego własnym warunkiem stosowania");
    }

    void collect_model_rule_contradictions(const BaseFile& file) {
        for (const auto& finding : app_.model_diagnoses().modele_i_reguly_sprzeczne) {
            add(codes::model_rule, at(file, facts(file).first(kModelKinds, finding.model)),
                "sprzeczność łączna modelu " + std::to_string(finding.model) + " i reguły " +
                    std::to_string(finding.rule),
                {"reguły: " + numbers_text(finding.rule_numbers),
                 "modele: " + numbers_text(finding.model_numbers)},
                {rule_at(finding.rule, "reguła " + std::to_string(finding.rule))});
        }
    }

    // Which of two models of one result under one condition counts depends on their order.
    void collect_models_of_one_condition(const BaseFile& file) {
        std::map<std::pair<std::string, std::string>, std::int32_t> first;
        for (Kind kind : kModelKinds) {
            for (const Fact& fact : facts(file).store.all(kind)) {
                const AnyModel model(fact);
                const auto [it, fresh] =
                    first.emplace(std::pair(model.result(), model.condition()), model.number());
                if (fresh) continue;
                add(codes::models_same_condition,
                    at(file, facts(file).first(kModelKinds, model.number())),
                    "modele " + std::to_string(it->second) + " i " +
                        std::to_string(model.number()) + " obliczają " +
                        quoted(model.result().str()) + " przy tym samym warunku",
                    {"warunek stosowania: " + model.condition()},
                    {at(file, facts(file).first(kModelKinds, it->second),
                        "model " + std::to_string(it->second))});
            }
        }
    }

    void collect_rule_constraint_contradictions(const BaseFile& file) {
        for (const auto& finding : app_.constraint_diagnoses().sprzecznosc_2_wszystko) {
            add(codes::rule_constraint, rule_at(finding.rule),
                "sprzeczność łączna reguły " + std::to_string(finding.rule) + " z ograniczeniem " +
                    std::to_string(finding.constraint),
                {rule_evidence(finding.rule, finding.conditions),
                 "ograniczenie " + std::to_string(finding.constraint) + ": " +
                     joined(finding.constraint_conditions)},
                {at(file, facts(file).first({Kind::ograniczenie}, finding.constraint),
                    "ograniczenie " + std::to_string(finding.constraint))});
        }
    }

    void collect_rule_constraint_redundancy(const BaseFile& file) {
        for (const auto& group : app_.constraint_diagnoses().reguly_nadmiarowe_n2) {
            if (group.rules.empty()) continue;
            std::vector<std::string> evidence;
            DistinctSets distinct;
            for (const auto& flattened : group.flattenings) {
                if (distinct.first_time(flattened.conditions))
                    evidence.push_back(rule_evidence(flattened.number, flattened.conditions));
            }
            evidence.push_back("ograniczenie " + std::to_string(group.constraint) + ": " +
                               joined(group.constraint_conditions));
            std::vector<Location> related;
            for (std::size_t i = 1; i < group.rules.size(); ++i)
                related.push_back(
                    rule_at(group.rules[i], "reguła " + std::to_string(group.rules[i])));
            related.push_back(at(file, facts(file).first({Kind::ograniczenie}, group.constraint),
                                 "ograniczenie " + std::to_string(group.constraint)));
            add(codes::rule_constraint_redundant, rule_at(group.rules.front()),
                "nadmiarowość łączna reguł " + numbers_text(group.rules) + " z ograniczeniem " +
                    std::to_string(group.constraint),
                std::move(evidence), std::move(related));
        }
    }

    // Entries naming no rule or model, and files that are not there.
    void collect_media(const BaseFile& file, MediaKind kind) {
        const FactStore& store = app_.store();
        std::set<std::int32_t> numbers;
        for (const Fact& rule : store.all(Kind::regula)) numbers.insert(number_of(rule));
        for (Kind model : kModelKinds) {
            for (const Fact& fact : store.all(model)) numbers.insert(number_of(fact));
        }
        std::set<std::string> missing;
        for (Kind entry_kind : {positive_entry_kind(kind), negated_entry_kind(kind)}) {
            const auto& entries = facts(file).store.all(entry_kind);
            for (std::size_t i = 0; i < entries.size(); ++i) {
                const MediaEntry entry(entries[i]);
                const Location where = at(file, facts(file).nth(entry_kind, i));
                if (!numbers.contains(entry.number()))
                    add(codes::entry_without_fact, where,
                        "brak reguły lub modelu o numerze " + std::to_string(entry.number()));
                const std::string name = entry.name().str();
                if (missing.contains(name)) continue;
                if (resolve_media(app_.store(), kind, name).exists) continue;
                missing.insert(name);
                add(codes::missing_media, where, "brak pliku " + quoted(name),
                    {"katalog: " + media_directory(app_.store(), kind)});
            }
        }
    }

    // Without a constraint base, models of one result are checked when inference starts.
    void check_model_results_without_constraints(const std::vector<BaseFile>& files) {
        const FactStore& store = app_.store();
        if (!base_loaded(store, BaseKind::Models) || base_loaded(store, BaseKind::Constraints))
            return;
        ui_.notes.clear();
        if (testuj_wyniki_wszystkich_modeli_bez_ograniczen(store, ui_)) return;
        const std::string text = ui_.notes.empty() ? std::string() : ui_.notes.back();
        for (const auto& file : files) {
            if (file.kind == BaseKind::Models) models_of_one_result(file, text);
        }
    }

    // The note names the result on the line after "o tych samych wynikach/wnioskach:"; the
    // finding stands at the first model of that result.
    void models_of_one_result(const BaseFile& file, const std::string& text) {
        const auto lines = text_lines(text);
        const auto marker = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
            return starts_with(line, "o tych samych wynikach");
        });
        const std::string result =
            marker != lines.end() && marker + 1 != lines.end() ? *(marker + 1) : std::string();
        std::vector<std::pair<std::size_t, std::int32_t>> models;
        for (Kind kind : kModelKinds) {
            const auto& all = facts(file).store.all(kind);
            for (std::size_t i = 0; i < all.size(); ++i) {
                if (AnyModel(all[i]).result() == result)
                    models.push_back({facts(file).nth(kind, i), AnyModel(all[i]).number()});
            }
        }
        std::sort(models.begin(), models.end());
        std::vector<Location> related;
        for (std::size_t i = 1; i < models.size(); ++i)
            related.push_back(
                at(file, models[i].first, "model " + std::to_string(models[i].second)));
        add(codes::model_results, at(file, models.empty() ? 0 : models.front().first),
            "warunki stosowania modeli wyniku " + quoted(result) + " nie wykluczają się",
            text_lines(text), std::move(related));
    }

    AutoAnswers ui_;
    Application app_;
    CheckResult& result_;
    std::map<std::string, FileFacts> facts_;  // by the path findings name
    std::optional<BaseFile> rule_file_;       // the rule base, for the joint findings
    std::optional<Location> stopper_;         // the finding that ends the knowledge base
};

// The rule base a path names: the rule base of a directory, or of a base file's distinguisher.
std::optional<fs::path> rule_base_of(const fs::path& path, CheckResult& result) {
    std::error_code ec;
    std::string problem;
    if (fs::is_directory(path, ec)) {
        std::vector<fs::path> rule_bases;
        for (const auto& [name, file] : files_by_name(path)) {
            const KindCommand* kind = kind_of_name(name);
            if (kind && kind->kind == BaseKind::Rules) rule_bases.push_back(file);
        }
        if (rule_bases.size() == 1) return rule_bases.front();
        problem = rule_bases.empty() ? "katalog nie zawiera bazy reguł (RE*.BRD)"
                                     : "katalog zawiera więcej niż jedną bazę reguł (RE*.BRD); "
                                       "podaj plik bazy reguł";
    } else {
        const std::string name = upper_name(path);
        const KindCommand* kind = kind_of_name(name);
        // A file of another name is taken for a rule base, as the load would take it.
        if (!kind || kind->kind == BaseKind::Rules) return path;
        const auto by_name = files_by_name(path.parent_path());
        const auto rule_base = by_name.find("RE" + name.substr(kind->prefix.size()));
        if (rule_base != by_name.end()) return rule_base->second;
        problem = "brak bazy reguł tej bazy wiedzy (RE" + name.substr(kind->prefix.size()) + ")";
    }
    result.unreadable = true;
    Finding finding;
    finding.code = codes::no_rule_base;
    finding.location.file = shown(path);
    finding.message = problem;
    result.findings.push_back(std::move(finding));
    return std::nullopt;
}

}  // namespace

CheckResult check_paths(const std::vector<std::string>& paths, const CheckOptions& options) {
    CheckResult result;
    std::set<fs::path> checked;
    for (const auto& path : paths) {
        // Loading changes the current directory; every path is relative to the starting one.
        struct KeepDirectory {
            std::error_code ec;
            fs::path start = fs::current_path(ec);
            ~KeepDirectory() {
                std::error_code ignored;
                if (!ec) fs::current_path(start, ignored);
            }
        } keep;
        const auto rule_base = rule_base_of(fs::path(path), result);
        if (!rule_base) continue;
        std::error_code ec;
        const fs::path canonical = fs::weakly_canonical(*rule_base, ec);
        if (!checked.insert(ec ? *rule_base : canonical).second) continue;
        Checker checker(result, options);
        checker.run(*rule_base);
    }
    return result;
}

}  // namespace xamo
