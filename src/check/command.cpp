#include "check/command.h"

#include <algorithm>
#include <charconv>
#include <ostream>
#include <set>

#include "check/checker.h"
#include "check/report.h"

namespace xamo {
namespace {

struct CommandLine {
    CheckFormat format = CheckFormat::Text;
    CheckOptions check;
    bool werror = false;
    bool help = false;
    std::set<std::string> only;
    std::set<std::string> skip;
    std::vector<std::string> paths;
};

// "RD201,RD203" -> the codes; false on an unknown code.
bool parse_codes(const std::string& list, std::set<std::string>& codes) {
    std::string code;
    for (std::size_t i = 0; i <= list.size(); ++i) {
        const char c = i < list.size() ? list[i] : ',';
        if (c != ',') {
            code.push_back(c);
            continue;
        }
        if (!finding_kind(code)) return false;
        codes.insert(code);
        code.clear();
    }
    return true;
}

bool parse_seconds(const std::string& text, std::chrono::milliseconds& limit) {
    unsigned long seconds = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (ec != std::errc() || end != text.data() + text.size() || seconds > 86400UL * 365)
        return false;
    limit = std::chrono::seconds(seconds);
    return true;
}

bool parse_format(const std::string& text, CheckFormat& format) {
    if (text == "text" || text == "tekst")
        format = CheckFormat::Text;
    else if (text == "json")
        format = CheckFormat::Json;
    else if (text == "sarif")
        format = CheckFormat::Sarif;
    else
        return false;
    return true;
}

// The command line, or the reason it is wrong.
std::string parse(const std::vector<std::string>& arguments, CommandLine& line) {
    bool options_end = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (options_end || arg.empty() || arg[0] != '-' || arg == "-") {
            line.paths.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options_end = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            line.help = true;
            continue;
        }
        if (arg == "--werror") {
            line.werror = true;
            continue;
        }
        const bool takes_value =
            arg == "--format" || arg == "--time-limit" || arg == "--only" || arg == "--skip";
        if (!takes_value) return "nieznana opcja " + arg;
        if (i + 1 >= arguments.size()) return "brak wartości opcji " + arg;
        const std::string& value = arguments[++i];
        bool ok = true;
        if (arg == "--format") ok = parse_format(value, line.format);
        if (arg == "--time-limit") ok = parse_seconds(value, line.check.time_limit);
        if (arg == "--only") ok = parse_codes(value, line.only);
        if (arg == "--skip") ok = parse_codes(value, line.skip);
        if (!ok) return "zła wartość opcji " + arg + ": " + value;
    }
    if (!line.help && line.paths.empty()) return "nie podano ścieżki";
    return {};
}

// --only, --skip and --werror, applied before anything is printed or counted.
void select(CheckResult& result, const CommandLine& line) {
    std::erase_if(result.findings, [&line](const Finding& finding) {
        return (!line.only.empty() && !line.only.contains(finding.code)) ||
               line.skip.contains(finding.code);
    });
    if (!line.werror) return;
    for (auto& finding : result.findings) {
        if (finding.severity == Severity::Warning) finding.severity = Severity::Error;
    }
}

}  // namespace

const std::string& check_usage() {
    static const std::string text =
        "Użycie: xamo_rd --check [OPCJE] [--] ŚCIEŻKA...\n"
        "Sprawdza bazy wiedzy: katalog z jedną bazą wiedzy albo pliki jej baz.\n"
        "  --format text|json|sarif  postać wyniku (domyślnie text)\n"
        "  --time-limit SEKUNDY      limit czasu diagnoz bazy wiedzy (domyślnie 60, 0: bez "
        "limitu)\n"
        "  --werror                  ostrzeżenia liczą się jak błędy\n"
        "  --only KODY               tylko ustalenia o tych kodach (np. RD201,RD203)\n"
        "  --skip KODY               bez ustaleń o tych kodach\n"
        "  --help                    ten opis\n"
        "Kod wyjścia: 0 bez błędów, 1 błędy, 2 nie można odczytać pliku,\n"
        "3 diagnoza nie skończyła się (limit czasu, pamięć), 4 zły wiersz polecenia,\n"
        "5 nie można pisać na standardowe wyjście.\n";
    return text;
}

int run_check_command(const std::vector<std::string>& arguments, std::ostream& out,
                      std::ostream& err) {
    CommandLine line;
    if (const std::string problem = parse(arguments, line); !problem.empty()) {
        err << "xamo_rd --check: " << problem << " (opcje: xamo_rd --check --help)\n";
        return kCheckUsage;
    }
    if (line.help) {
        out << check_usage();
        return kCheckClean;
    }
    const auto start = std::chrono::steady_clock::now();
    CheckResult result = check_paths(line.paths, line.check);
    select(result, line);
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    switch (line.format) {
        case CheckFormat::Text:
            for (const auto& finding : result.findings) out << finding_text(finding);
            out << summary_text(result, elapsed);
            break;
        case CheckFormat::Json:
            for (const auto& finding : result.findings) out << finding_json(finding);
            break;
        case CheckFormat::Sarif:
            out << sarif_log(result);
            break;
    }
    out.flush();
    return check_exit_code(result);
}

}  // namespace xamo
