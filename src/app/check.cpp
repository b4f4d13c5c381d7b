#include "app/check.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

#include "analysis/numbering.h"
#include "analysis/same_results.h"
#include "app/application.h"
#include "kb/base_file.h"
#include "kb/codec.h"
#include "kb/files.h"
#include "loading/base_texts.h"
#include "loading/load_checks.h"
#include "loading/loading.h"

namespace xamo {
namespace {

namespace fs = std::filesystem;

// Answers every question as a user who wants every check would: yes to every question, the
// base file to every open dialog of a load, nothing to every other dialog. Keeps the notes.
class AutoAnswers : public UserInteraction {
  public:
    std::optional<std::string> next_file;
    std::vector<std::string> notes;  // "title: text" of every note, in order

    void note(const std::string& title, const std::string& text) override {
        notes.push_back(one_line(title) + ": " + one_line(text));
    }
    int ask(const std::string&, const std::string&,
            const std::vector<std::string>& buttons) override {
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            if (without_accelerator(buttons[i]) == "tak") return static_cast<int>(i) + 1;
        }
        return 1;
    }
    bool confirm(const std::string&, const std::string&) override { return true; }
    std::optional<std::string> choose_file_to_open(const std::string&,
                                                   const std::vector<FileFilter>&,
                                                   const std::string&) override {
        auto file = std::move(next_file);
        next_file.reset();
        return file;
    }
    std::optional<std::string> choose_file_to_save(const std::string&,
                                                   const std::vector<FileFilter>&,
                                                   const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> enter_text(const std::string&, const std::string&,
                                          const std::string&) override {
        return std::nullopt;
    }
    std::vector<int> choose_from_list(const std::string&, const std::string&,
                                      const std::vector<std::string>& items,
                                      bool multiple) override {
        if (items.empty()) return {};
        if (!multiple) return {0};
        std::vector<int> all(items.size());
        for (std::size_t i = 0; i < items.size(); ++i) all[i] = static_cast<int>(i);
        return all;
    }
    std::optional<std::string> enter_value(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void explain(const std::string&, const std::vector<std::string>&) override {}
    int choose_option(const RadioDialog& dialog) override { return dialog.preselected; }
    std::optional<int> choose_from_dropdown(const DropDownDialog&) override { return std::nullopt; }
    void show_text(const std::string&, const std::string&) override {}
    void show_picture(const std::string&, const std::string&) override {}
    bool show_picture_dialog(const std::string&) override { return false; }
    bool play_sound(const std::string&) override { return false; }
    void show_advice(const std::string&) override {}
    void show_description(const std::string&, const std::string&) override {}
    bool open_document(const std::string&) override { return false; }
    void open_editor(const std::string&) override {}
    void show_browse(const BrowseView&) override {}
    std::optional<int> select_item(const std::string&, const std::string&,
                                   const std::vector<std::string>&) override {
        return std::nullopt;
    }
    void set_main_title(const std::string&) override {}
    void clear_messages() override {}

  protected:
    void write_message(const std::string&) override {}

  private:
    static std::string without_accelerator(const std::string& caption) {
        std::string plain;
        for (char c : caption) {
            if (c == '&') continue;
            plain.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
        }
        return plain;
    }
    static std::string one_line(const std::string& text) {
        std::string line;
        for (char c : text) {
            if (c == '\r') continue;
            if (c == '\n') {
                if (!line.empty() && line.back() != ' ') line.push_back(' ');
                continue;
            }
            line.push_back(c);
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        return line;
    }
};

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

// A file name as a person reads it, in upper case (names written on Windows may be
// Windows-1250 bytes).
std::string upper_name(const fs::path& path) {
    return upper_case(utf8_from_either(path.filename().string()));
}

bool starts_with(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The base files of one knowledge base: the rule base, then the others of its directory whose
// names differ from it only in the prefix (letter case aside).
struct BaseFile {
    BaseKind kind;
    int load_command;
    std::string path;       // as the findings name it
    std::string open_path;  // absolute: the loads change the current directory
};

BaseFile base_file(BaseKind kind, int load_command, const fs::path& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    return {kind, load_command, path.string(), ec ? path.string() : absolute.string()};
}

std::vector<BaseFile> knowledge_base_files(const fs::path& rule_base) {
    std::vector<BaseFile> files;
    const std::string rest = upper_name(rule_base).substr(2);
    std::error_code ec;
    const fs::path directory = rule_base.has_parent_path() ? rule_base.parent_path() : ".";
    std::map<std::string, fs::path> by_name;  // sorted, so the choice among twins is stable
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        // Named as the rule base is: "MOx.BRD" beside "REx.BRD", "dir/MOx.BRD" beside
        // "dir/REx.BRD".
        by_name.emplace(upper_name(it->path()), rule_base.parent_path() / it->path().filename());
    }
    for (const auto& entry : kind_commands()) {
        if (entry.kind == BaseKind::Rules) {
            files.push_back(base_file(entry.kind, entry.load_command, rule_base));
            continue;
        }
        const auto found = by_name.find(upper_case(entry.prefix) + rest);
        if (found != by_name.end())
            files.push_back(base_file(entry.kind, entry.load_command, found->second));
    }
    return files;
}

// Where each numbered fact of a base file stands: (kind, number) -> lines in file order.
class SourceLines {
  public:
    void add(Kind kind, std::optional<std::int32_t> number, std::size_t line) {
        if (number) lines_[{kind, *number}].push_back(line);
        in_order_[kind].push_back(line);
    }
    // The line of the n-th fact of a kind (0-based), in file order.
    std::size_t nth(Kind kind, std::size_t n) const {
        const auto it = in_order_.find(kind);
        return it != in_order_.end() && n < it->second.size() ? it->second[n] : 0;
    }
    std::vector<std::size_t> of(const std::vector<Kind>& kinds, std::int32_t number) const {
        std::vector<std::size_t> all;
        for (Kind kind : kinds) {
            const auto it = lines_.find({kind, number});
            if (it != lines_.end()) all.insert(all.end(), it->second.begin(), it->second.end());
        }
        std::sort(all.begin(), all.end());
        return all;
    }
    std::size_t first(const std::vector<Kind>& kinds, std::int32_t number) const {
        const auto all = of(kinds, number);
        return all.empty() ? 0 : all.front();
    }

  private:
    std::map<std::pair<Kind, std::int32_t>, std::vector<std::size_t>> lines_;
    std::map<Kind, std::vector<std::size_t>> in_order_;
};

const std::vector<Kind> kRuleKinds = {Kind::regula};
const std::vector<Kind> kModelKinds = {Kind::model, Kind::model_r, Kind::model_liniowy,
                                       Kind::model_wielomianowy};

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

std::string quoted(const std::string& text) {
    std::string q = "„";
    q += text;
    q += "”";
    return q;
}

std::string rule_evidence(std::int32_t number, const StringList& conditions) {
    std::string line = "reguła ";
    line += std::to_string(number);
    line += ": ";
    line += joined(conditions);
    return line;
}

const std::string kNotChecked =
    "baza nie została sprawdzona: wcześniejsze błędy nie pozwalają jej załadować";

class Checker {
  public:
    Checker() : app_(ui_) {
        app_.start();
        app_.close_introduction();
    }

    CheckResult run(const fs::path& rule_base) {
        const auto files = knowledge_base_files(rule_base);
        for (const auto& file : files) {
            if (!check_file(file)) break;
        }
        check_model_results_without_constraints(files);
        return std::move(result_);
    }

  private:
    void add(const BaseFile& file, std::size_t line, Severity severity, std::string text,
             std::vector<std::string> evidence = {}) {
        result_.findings.push_back(
            {file.path, line, severity, std::move(text), std::move(evidence)});
    }

    // Reads the file as the load will, keeping the line of every fact. False when it cannot be
    // read or holds a syntax error (reported); the load would stop there too.
    bool read_lines(const BaseFile& file) {
        std::string bytes;
        const FileResult read = read_file_bytes(file.open_path, bytes);
        if (!read.ok) {
            add(file, 0, Severity::Error, "nie można odczytać pliku: " + read.error);
            result_.unreadable = true;
            return false;
        }
        FactStore scratch;
        std::vector<FactLine> lines;
        if (const auto error =
                read_section_bytes(scratch, base_texts(file.kind).section, bytes, &lines)) {
            std::string text = error->message();
            if (error->is_syntax()) {
                text += " (znak ";
                text += std::to_string(error->position + 1);
                text += ")";
            }
            add(file, error->line_number, Severity::Error, text);
            return false;
        }
        lines_ = SourceLines{};
        std::unordered_map<Kind, std::size_t> seen;
        for (const auto& [kind, line] : lines) {
            const Fact& fact = scratch.all(kind)[seen[kind]++];
            const bool numbered =
                !fact.fields.empty() && std::holds_alternative<std::int32_t>(fact.fields[0]);
            lines_.add(
                kind,
                numbered ? std::optional(std::get<std::int32_t>(fact.fields[0])) : std::nullopt,
                line);
        }
        return true;
    }

    // False when the knowledge base cannot be checked further.
    bool check_file(const BaseFile& file) {
        if (!read_lines(file)) return file.kind != BaseKind::Rules;
        ui_.notes.clear();
        ui_.next_file = file.open_path;
        const std::size_t before = result_.findings.size();
        const bool blocked_before = app_.flags().contradiction_found();
        const auto ran = app_.run_command(file.load_command);
        if (ran == CommandTable::RunResult::Disabled) {
            add(file, 0, Severity::Warning, kNotChecked);
            return true;
        }
        collect(file);
        if (file.kind == BaseKind::Rules) {
            rule_file_ = file;
            rule_lines_ = lines_;
        }
        const bool loaded = base_loaded(app_.store(), file.kind);
        if (!loaded && result_.findings.size() == before) {
            // A load refused in silence because of a contradiction already reported.
            if (ui_.notes.empty() && blocked_before)
                add(file, 0, Severity::Warning, kNotChecked);
            else
                add(file, 0, Severity::Error,
                    ui_.notes.empty() ? std::string("baza nie została załadowana")
                                      : ui_.notes.back());
        }
        return loaded || file.kind != BaseKind::Rules;
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
                break;
            case BaseKind::Constraints:
                collect_duplicates(file, NumberedBase::Constraints, {Kind::ograniczenie});
                collect_rule_constraint_contradictions();
                collect_rule_constraint_redundancy();
                break;
            case BaseKind::Advice:
                collect_duplicates(file, NumberedBase::Advice, {Kind::rada});
                break;
            case BaseKind::Graphics:
            case BaseKind::Sounds:
                break;
        }
    }

    void collect_external(const BaseFile& file) {
        for (const auto& finding : app_.diagnoses().reguly_sprzeczne) {
            IntegerList from_start(finding.chain.rbegin(), finding.chain.rend());
            add(file, lines_.first(kRuleKinds, finding.rule), Severity::Error,
                "sprzeczność zewnętrzna: wniosek reguły " + std::to_string(finding.rule) +
                    " zależy od niego samego albo od jego negacji (łańcuch reguł: " +
                    numbers_text(from_start) + ")");
        }
    }

    void collect_internal(const BaseFile& file) {
        const auto& memory = app_.diagnoses();
        std::set<std::pair<std::int32_t, std::string>> reported;
        for (const auto& verdict : memory.sprzecznosc_1w) {
            if (!verdict.contradictory) continue;
            if (!reported.insert({verdict.number, verdict.conclusion}).second) continue;
            std::vector<std::string> evidence;
            for (const auto& flattened : memory.regula_splaszczona_1w) {
                if (flattened.number == verdict.number &&
                    flattened.conclusion == verdict.conclusion)
                    evidence.push_back(rule_evidence(flattened.number, flattened.conditions));
            }
            add(file, lines_.first(kRuleKinds, verdict.number), Severity::Error,
                "sprzeczność wewnętrzna: każde spłaszczenie reguły " +
                    std::to_string(verdict.number) +
                    " zawiera warunek razem z jego negacją, więc wniosku " +
                    quoted(verdict.conclusion) + " nie da się nią wywnioskować",
                std::move(evidence));
        }
    }

    void collect_redundancy(const BaseFile& file) {
        std::set<std::pair<std::int32_t, std::int32_t>> reported;
        for (const auto& pair : app_.diagnoses().para_splaszczona_n1) {
            if (!reported.insert({pair.first, pair.second}).second) continue;
            add(file, lines_.first(kRuleKinds, pair.second), Severity::Warning,
                "nadmiarowość: reguły " + std::to_string(pair.first) + " i " +
                    std::to_string(pair.second) + " wnioskują " + quoted(pair.conclusion) +
                    ", a warunki spłaszczone jednej z nich zawierają warunki drugiej",
                {rule_evidence(pair.first, pair.first_conditions),
                 rule_evidence(pair.second, pair.second_conditions)});
        }
    }

    void collect_single_conditions(const BaseFile& file) {
        const auto& rules = app_.store().all(Kind::regula);
        const auto single = single_condition_rules(app_.store());
        std::size_t index = 0;
        for (const Fact* fact : single) {
            while (index < rules.size() && &rules[index] != fact) ++index;
            const Rule rule(*fact);
            add(file, lines_.nth(Kind::regula, index), Severity::Warning,
                "reguła " + std::to_string(rule.number()) + " ma pojedynczy warunek " +
                    quoted(rule.conditions().front()) +
                    ": może być tautologią, zastępującą jedno określenie innym");
        }
    }

    void collect_duplicates(const BaseFile& file, NumberedBase base,
                            const std::vector<Kind>& kinds) {
        std::set<std::int32_t> reported;
        for (const auto number : base_numbers(app_.store(), base)) {
            const auto lines = lines_.of(kinds, number);
            if (lines.size() < 2 || !reported.insert(number).second) continue;
            for (std::size_t i = 1; i < lines.size(); ++i) {
                add(file, lines[i], Severity::Error,
                    "numer " + std::to_string(number) +
                        " powtarza się w bazie (pierwszy raz w wierszu " +
                        std::to_string(lines.front()) + "); wnioskowanie nie zostanie podjęte");
            }
        }
    }

    void collect_tautologies(const BaseFile& file) {
        for (const auto& model : app_.load_memory().model_tautologiczny) {
            add(file, lines_.first({Kind::model}, model.number), Severity::Warning,
                "model " + std::to_string(model.number) +
                    " jest tautologiczny: zastępuje zmienną " + quoted(model.argument) +
                    " inną zmienną " + quoted(model.result));
        }
    }

    void collect_model_contradictions(const BaseFile& file) {
        const auto& memory = app_.model_diagnoses();
        for (const auto& finding : memory.model_arytmetyczny_sprzeczny) {
            add(file, lines_.first(kModelKinds, finding.number), Severity::Error,
                "sprzeczność modelu arytmetycznego " + std::to_string(finding.number) +
                    ": jego wynik " + quoted(finding.result) +
                    " jest zarazem jego argumentem (bezpośrednio)");
        }
        for (const auto& finding : memory.model_arytmetyczny_sprzeczny_gleboko) {
            add(file, lines_.first(kModelKinds, finding.number), Severity::Error,
                "sprzeczność modelu arytmetycznego " + std::to_string(finding.number) +
                    ": jego wynik " + quoted(finding.result) +
                    " jest argumentem łańcucha modeli, które go obliczają (pośrednio)");
        }
        for (const auto& finding : memory.model_relacyjny_sprzeczny) {
            add(file, lines_.first(kModelKinds, finding.number), Severity::Error,
                "sprzeczność modelu relacyjnego " + std::to_string(finding.number) +
                    ": wnioskowany warunek " + quoted(finding.result) +
                    " jest jego własnym warunkiem stosowania");
        }
    }

    void collect_model_rule_contradictions(const BaseFile& file) {
        for (const auto& finding : app_.model_diagnoses().modele_i_reguly_sprzeczne) {
            add(file, lines_.first(kModelKinds, finding.model), Severity::Error,
                "sprzeczność łączna modelu " + std::to_string(finding.model) + " i reguły " +
                    std::to_string(finding.rule) +
                    ": warunek stosowania modelu wynika z reguły, której spłaszczenie zawiera "
                    "ten sam warunek (reguły: " +
                    numbers_text(finding.rule_numbers) +
                    "; modele: " + numbers_text(finding.model_numbers) + ")");
        }
    }

    // Joint findings name the rule concerned, in the rule base.
    void add_to_rule(std::int32_t rule, Severity severity, std::string text,
                     std::vector<std::string> evidence) {
        if (!rule_file_) return;
        add(*rule_file_, rule_lines_.first(kRuleKinds, rule), severity, std::move(text),
            std::move(evidence));
    }

    void collect_rule_constraint_contradictions() {
        for (const auto& finding : app_.constraint_diagnoses().sprzecznosc_2_wszystko) {
            add_to_rule(finding.rule, Severity::Error,
                        "sprzeczność łączna z ograniczeniem " + std::to_string(finding.constraint) +
                            ": spłaszczenie reguły " + std::to_string(finding.rule) +
                            " zawiera dwa warunki tego ograniczenia, więc wniosku " +
                            quoted(finding.conclusion) + " nie da się nią wywnioskować",
                        {rule_evidence(finding.rule, finding.conditions),
                         "ograniczenie " + std::to_string(finding.constraint) + ": " +
                             joined(finding.constraint_conditions)});
        }
    }

    void collect_rule_constraint_redundancy() {
        for (const auto& group : app_.constraint_diagnoses().reguly_nadmiarowe_n2) {
            if (group.rules.empty()) continue;
            std::vector<std::string> evidence;
            for (const auto& flattened : group.flattenings)
                evidence.push_back(rule_evidence(flattened.number, flattened.conditions));
            evidence.push_back("ograniczenie " + std::to_string(group.constraint) + ": " +
                               joined(group.constraint_conditions));
            add_to_rule(group.rules.front(), Severity::Warning,
                        "nadmiarowość łączna z ograniczeniem " + std::to_string(group.constraint) +
                            ": reguły " + numbers_text(group.rules) +
                            " różnią się tylko warunkami tego ograniczenia i mówią tyle co "
                            "jedna reguła bez nich",
                        std::move(evidence));
        }
    }

    // Without a constraint base, models of one result are checked when inference starts.
    void check_model_results_without_constraints(const std::vector<BaseFile>& files) {
        const FactStore& store = app_.store();
        if (!base_loaded(store, BaseKind::Models) || base_loaded(store, BaseKind::Constraints))
            return;
        ui_.notes.clear();
        if (testuj_wyniki_wszystkich_modeli_bez_ograniczen(store, ui_)) return;
        for (const auto& file : files) {
            if (file.kind != BaseKind::Models) continue;
            add(file, 0, Severity::Error,
                ui_.notes.empty() ? std::string("modele jednego wyniku nie wykluczają się")
                                  : ui_.notes.back());
        }
    }

    AutoAnswers ui_;
    Application app_;
    SourceLines lines_;                  // of the file being checked
    std::optional<BaseFile> rule_file_;  // the rule base, for the joint findings
    SourceLines rule_lines_;
    CheckResult result_;
};

std::optional<fs::path> rule_base_of(const fs::path& path, CheckResult& result) {
    std::error_code ec;
    if (!fs::is_directory(path, ec)) return path;
    std::map<std::string, fs::path> rule_bases;
    for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = upper_name(it->path());
        if (starts_with(name, "RE") && name.size() >= 6 &&
            name.compare(name.size() - 4, 4, ".BRD") == 0)
            rule_bases.emplace(name, it->path());
    }
    if (rule_bases.size() == 1) return rule_bases.begin()->second;
    result.unreadable = true;
    result.findings.push_back({path.string(),
                               0,
                               Severity::Error,
                               rule_bases.empty()
                                   ? "katalog nie zawiera bazy reguł (RE*.BRD)"
                                   : "katalog zawiera więcej niż jedną bazę reguł (RE*.BRD); "
                                     "podaj plik bazy reguł",
                               {}});
    return std::nullopt;
}

std::string json_string(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    static const char* hex = "0123456789abcdef";
                    out += "\\u00";
                    out += hex[c >> 4];
                    out += hex[c & 15];
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
    return out;
}

const char* severity_word(Severity severity) {
    return severity == Severity::Error ? "błąd" : "ostrzeżenie";
}

}  // namespace

CheckResult check_knowledge_base(const std::string& path) {
    // Loading changes the current directory; the next path given is relative to the first one.
    struct KeepDirectory {
        std::error_code ec;
        fs::path start = fs::current_path(ec);
        ~KeepDirectory() {
            std::error_code ignored;
            if (!ec) fs::current_path(start, ignored);
        }
    } keep;
    CheckResult result;
    const auto rule_base = rule_base_of(fs::path(path), result);
    if (!rule_base) return result;
    Checker checker;
    return checker.run(*rule_base);
}

int check_exit_code(const CheckResult& result) {
    if (result.unreadable) return 2;
    for (const auto& finding : result.findings) {
        if (finding.severity == Severity::Error) return 1;
    }
    return 0;
}

std::string finding_text(const Finding& finding) {
    std::string text = finding.file;
    if (finding.line > 0) {
        text += ':';
        text += std::to_string(finding.line);
    }
    text += ": ";
    text += severity_word(finding.severity);
    text += ": ";
    text += finding.text;
    text += '\n';
    for (const auto& line : finding.evidence) {
        text += "    ";
        text += line;
        text += '\n';
    }
    return text;
}

std::string finding_json(const Finding& finding) {
    std::string json = "{\"file\": " + json_string(finding.file) + ", \"line\": ";
    json += finding.line > 0 ? std::to_string(finding.line) : std::string("null");
    json += ", \"severity\": ";
    json += json_string(severity_word(finding.severity));
    json += ", \"text\": ";
    json += json_string(finding.text);
    json += ", \"evidence\": [";
    for (std::size_t i = 0; i < finding.evidence.size(); ++i) {
        if (i) json += ", ";
        json += json_string(finding.evidence[i]);
    }
    json += "]}\n";
    return json;
}

}  // namespace xamo
