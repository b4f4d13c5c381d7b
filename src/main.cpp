// xamo_rd [--console [--batch]] [directory]
// xamo_rd --check [--format text|json|sarif] [--time-limit S] [--werror] [--only|--skip CODES]
//     PATH...
// xamo_rd --cases TABLE DIRECTORY [--odbc SOURCE] [--format json]
// xamo_rd --replay SCRIPT [--expect TRANSCRIPT [--update]] [--in-place] [directory]
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "ui/console/cases_command.h"
#include "ui/console/check_command.h"
#include "ui/console/console_app.h"
#include "ui/console/replay.h"

#if defined(XAMO_WITH_WINDOW)
#include "ui/qt/gui_app.h"
#else
#include <unistd.h>
#endif

#if defined(__GLIBC__)
#include <malloc.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#endif

namespace {

bool set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// A window can be shown when a display server is named, or Qt is told which platform to use.
bool display_available() {
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

const char* const kUsage =
    "Użycie: xamo_rd [--console [--batch]] [katalog]\n"
    "       xamo_rd --check [OPCJE] ŚCIEŻKA...  (xamo_rd --check --help: opcje)\n"
    "       xamo_rd --replay SKRYPT [--expect PRZEBIEG [--update]] [--in-place] [katalog]\n"
    "       xamo_rd --cases TABELA KATALOG_BAZY [--odbc ŹRÓDŁO] [--format json]\n"
    "       xamo_rd --help\n";

const char* const kHelp =
    "\n--replay SKRYPT  odtwarza zapisaną konsultację w kopii katalogu bazy (bez katalogu:\n"
    "                 w katalogu wskazanym w skrypcie, względem skryptu) i drukuje przebieg;\n"
    "                 ścieżki w katalogu bazy są w nim względne.\n"
    "  --expect PRZEBIEG  porównuje przebieg z zapisanym i drukuje różnice (diff z kontekstem).\n"
    "  --update       zapisuje nowy przebieg w pliku PRZEBIEG zamiast porównywać.\n"
    "  --in-place     odtwarza w samym katalogu bazy (zapisywane pliki zostają zmienione).\n"
    "  Kody wyjścia: 0 przebieg zgodny (wydrukowany, zapisany), 1 przebieg różni się, pytanie\n"
    "  różni się od zapisanego albo odtwarzanie sięga poza katalog, 2 błędne wywołanie,\n"
    "  3 nie można odczytać skryptu, przebiegu albo katalogu.\n"
    "\n--cases TABELA KATALOG_BAZY  jedna konsultacja na wiersz tabeli CSV (przecinek albo\n"
    "                 średnik; kolumny: warunki dopytywalne tak/nie, argumenty dopytywalne,\n"
    "                 hipoteza, oczekiwane, wykluczone - listy rozdzielone |), wynik każdego\n"
    "                 wiersza i pokrycie reguł, modeli i wniosków; z --odbc TABELA jest\n"
    "                 tabelą źródła danych ODBC.\n"
    "  Kody wyjścia: 0 wszystkie wiersze zgodne, 1 wiersz niezgodny albo bez odpowiedzi,\n"
    "  2 błędne wywołanie, 3 nie można odczytać tabeli lub bazy albo tabela jest błędna.\n"
    "Wiersze skryptu zaczynające się od # są komentarzami; \"#? \" przed odpowiedzią\n"
    "nazywa pytanie, na które odpowiada.\n"
    "\nKod wyjścia 5 (każdy tryb): nie można pisać na standardowe wyjście (np. pełny dysk).\n";

int usage() {
    std::cerr << kUsage;
    return xamo::kReplayUsage;
}

int help() {
    std::cout << kUsage << kHelp;
    return 0;
}

// The checker takes every argument but --check itself; its options are its own.
std::optional<std::vector<std::string>> check_arguments(int argc, char** argv) {
    std::vector<std::string> rest;
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--check" && !check) {
            check = true;
            continue;
        }
        rest.push_back(arg);
    }
    if (!check) return std::nullopt;
    return rest;
}

struct Options {
    bool console = false;
    bool batch = false;
    bool json = false;
    bool help = false;
    bool in_place = false;
    bool update = false;
    std::optional<std::string> replay;
    std::optional<std::string> cases;
    std::optional<std::string> odbc;
    std::optional<std::string> expect;
    std::string directory;
};

// The value after an option; false when there is none.
bool take_value(int argc, char** argv, int& i, std::optional<std::string>& value) {
    if (i + 1 >= argc || value) return false;
    value = argv[++i];
    return true;
}

std::optional<Options> parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--console") {
            options.console = true;
        } else if (arg == "--batch") {
            options.batch = true;
        } else if (arg == "--format") {
            if (i + 1 >= argc) return std::nullopt;
            const std::string format = argv[++i];
            if (format != "json" && format != "tekst" && format != "text") return std::nullopt;
            options.json = format == "json";
        } else if (arg == "--replay") {
            if (!take_value(argc, argv, i, options.replay)) return std::nullopt;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--in-place") {
            options.in_place = true;
        } else if (arg == "--update") {
            options.update = true;
        } else if (arg == "--cases") {
            if (!take_value(argc, argv, i, options.cases)) return std::nullopt;
        } else if (arg == "--odbc") {
            if (!take_value(argc, argv, i, options.odbc)) return std::nullopt;
        } else if (arg == "--expect") {
            if (!take_value(argc, argv, i, options.expect)) return std::nullopt;
        } else if (!arg.empty() && arg[0] != '-' && options.directory.empty()) {
            options.directory = arg;
        } else {
            return std::nullopt;
        }
    }
    const bool replay = options.replay.has_value();
    if (options.batch && !options.console) return std::nullopt;
    if (replay && options.console) return std::nullopt;
    if (options.odbc && !options.cases) return std::nullopt;
    if (options.cases && (options.console || replay || options.directory.empty()))
        return std::nullopt;
    if ((options.expect && !replay) || (options.json && !options.cases)) return std::nullopt;
    if ((options.in_place && !replay) || (options.update && !options.expect)) return std::nullopt;
    return options;
}

// Files named on the command line are found before the program moves to its directory.
std::string absolute(const std::string& path) {
    std::error_code ec;
    const auto full = std::filesystem::absolute(std::filesystem::path(path), ec);
    return ec ? path : full.string();
}

// Output that never arrived (a full disk, a closed pipe) must not pass as a clean run.
constexpr int kOutputFailed = 5;

int checked_output(int status) {
    std::cout.flush();
    if (std::cout) return status;
    std::cerr << "Błąd zapisu na standardowe wyjście: wyniki nie zostały w całości wypisane.\n";
    return kOutputFailed;
}

#if defined(XAMO_WITH_WINDOW)
int open_window(int& argc, char** argv) { return xamo::run_gui(argc, argv); }
#else
// The window is a program of its own beside this one (xamo_rd_gui), so that a console run does
// not load the window toolkit: a sixth of the memory of a run over 100,000 rules, and its start.
// Returns only when it cannot be started.
void start_window_program(char** argv) {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const auto window = (ec ? std::filesystem::path(argv[0]) : self).parent_path() / "xamo_rd_gui";
    execv(window.c_str(), argv);
    std::cout << "Nie można uruchomić programu okienkowego " << window.string()
              << "; uruchamiam wersję konsolową.\n";
}
#endif

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// Where the kernel gives huge pages to memory that asks for them, glibc's allocator asks only when
// told so by GLIBC_TUNABLES, read as a process starts. A large base touches a hundred megabytes:
// 4 KB pages cost 40,000 faults, a third of its load (huge pages: a quarter of them). The
// program therefore starts itself once more with the setting, unless it is set already (a user
// may turn it off with glibc.malloc.hugetlb=0) or a library is preloaded (a tool such as a
// memory checker, or another allocator: the restart would leave the tool behind or the setting
// would not apply); when that fails it goes on as it is.
bool huge_pages_on_request() {
    std::ifstream setting("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string line;
    return std::getline(setting, line) && line.find("[madvise]") != std::string::npos;
}

void restart_with_huge_pages(char** argv) {
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    if (tunables != nullptr && std::strstr(tunables, "glibc.malloc.hugetlb") != nullptr) return;
    if (set("LD_PRELOAD") || !huge_pages_on_request()) return;
    std::string value = tunables != nullptr && *tunables != '\0' ? tunables + std::string(":") : "";
    value += "glibc.malloc.hugetlb=1";
    if (setenv("GLIBC_TUNABLES", value.c_str(), 1) != 0) return;
    // By its own path, not /proc/self/exe: the process keeps its name for ps and pkill.
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) execv(self.c_str(), argv);
}
#else
void restart_with_huge_pages(char**) {}
#endif

int run(int argc, char** argv) {
    if (const auto arguments = check_arguments(argc, argv))
        return xamo::run_check(*arguments, std::cout, std::cerr);
    auto options = parse(argc, argv);
    if (!options) return usage();
    if (options->help) return help();
    if (options->cases) {
        return xamo::run_cases({*options->cases, options->directory, options->odbc, options->json},
                               std::cout, std::cerr);
    }
    if (options->replay) {
        xamo::ReplayOptions replay{absolute(*options->replay), std::nullopt, std::nullopt,
                                   options->in_place, options->update};
        if (options->expect) replay.expected = absolute(*options->expect);
        if (!options->directory.empty()) replay.directory = absolute(options->directory);
        return xamo::run_replay(replay, std::cout, std::cerr);
    }
#if !defined(XAMO_WITH_WINDOW)
    // Before moving to the directory: the window program is given the same arguments.
    if (!options->console && display_available()) start_window_program(argv);
#endif
    if (!options->directory.empty()) {
        std::error_code ec;
        std::filesystem::current_path(std::filesystem::path(options->directory), ec);
        if (ec) {
            std::cerr << "Nie można przejść do katalogu " << options->directory << "\n";
            return 1;
        }
    }
    if (!options->console) {
#if defined(XAMO_WITH_WINDOW)
        if (display_available()) return open_window(argc, argv);
#endif
        if (!display_available()) {
            std::cout << "Brak ekranu graficznego (nie ustawiono DISPLAY ani WAYLAND_DISPLAY); "
                         "uruchamiam wersję konsolową.\n";
        }
    }
    return xamo::run_console(std::cin, std::cout, options->batch, nullptr,
                             xamo::AtEnd::ProcessEnds);
}

}  // namespace

int main(int argc, char** argv) {
    restart_with_huge_pages(argv);
    // A file-size limit then fails the write with EFBIG, which the program reports, instead of
    // killing it mid-save.
    std::signal(SIGXFSZ, SIG_IGN);
#if defined(__GLIBC__)
    // Heaps grow 32 MB at a time: a second thread's heap otherwise grows a page per call to the
    // kernel (7,000 calls, a fifth of the load, while a large file's names are stored there).
    // Blocks under 32 MB come from the heaps, whose freed room the next tables of a load reuse:
    // with pages of their own from 128 KB on, every table was fresh memory the kernel cleared,
    // 6,500 page faults on a base of 100,000 rules instead of 700, for up to 8 MB less at the
    // peak.
    // A fixed limit also keeps glibc from moving it as tables are freed.
    constexpr int kHeapStep = 32 * 1024 * 1024;
    mallopt(M_TOP_PAD, kHeapStep);
    mallopt(M_MMAP_THRESHOLD, kHeapStep);
#endif
    std::ios::sync_with_stdio(false);
    return checked_output(run(argc, argv));
}
