// xamo_rd [--console [--batch]] [directory]
// xamo_rd --check [--format text|json|sarif] [--time-limit S] [--werror] [--only|--skip CODES]
// PATH... xamo_rd --replay SCRIPT [--expect TRANSCRIPT] [directory]
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "ui/console/check_command.h"
#include "ui/console/console_app.h"
#include "ui/console/replay.h"
#include "ui/qt/gui_app.h"

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
    "       xamo_rd --replay SKRYPT [--expect PRZEBIEG] [katalog]\n";

int usage() {
    std::cerr << kUsage;
    return 2;
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
    std::optional<std::string> replay;
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
        } else if (arg == "--replay") {
            if (!take_value(argc, argv, i, options.replay)) return std::nullopt;
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
    if (options.expect && !replay) return std::nullopt;
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

int run(int argc, char** argv) {
    if (const auto arguments = check_arguments(argc, argv))
        return xamo::run_check(*arguments, std::cout, std::cerr);
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    auto options = parse(argc, argv);
    if (!options) return usage();
    if (options->replay) options->replay = absolute(*options->replay);
    if (options->expect) options->expect = absolute(*options->expect);
    if (!options->directory.empty()) {
        std::error_code ec;
        std::filesystem::current_path(std::filesystem::path(options->directory), ec);
        if (ec) {
            std::cerr << "Nie można przejść do katalogu " << options->directory << "\n";
            return options->replay ? 2 : 1;
        }
    }
    if (options->replay) return xamo::run_replay(*options->replay, options->expect, std::cout);
    if (!options->console) {
        if (display_available()) return xamo::run_gui(argc, argv);
        std::cout << "Brak ekranu graficznego (nie ustawiono DISPLAY ani WAYLAND_DISPLAY); "
                     "uruchamiam wersję konsolową.\n";
    }
    return xamo::run_console(std::cin, std::cout, options->batch);
}

}  // namespace

int main(int argc, char** argv) {
    // A file-size limit then fails the write with EFBIG, which the program reports, instead of
    // killing it mid-save.
    std::signal(SIGXFSZ, SIG_IGN);
    std::ios::sync_with_stdio(false);
    return checked_output(run(argc, argv));
}
