// xamo_rd [--console [--batch]] [directory]
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "ui/console/console_app.h"
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

int usage() {
    std::cerr << "Użycie: xamo_rd [--console [--batch]] [katalog]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool console = false;
    bool batch = false;
    std::string directory;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--console")
            console = true;
        else if (arg == "--batch")
            batch = true;
        else if (!arg.empty() && arg[0] != '-' && directory.empty())
            directory = arg;
        else
            return usage();
    }
    if (batch && !console) return usage();
    if (!directory.empty()) {
        std::error_code ec;
        std::filesystem::current_path(std::filesystem::path(directory), ec);
        if (ec) {
            std::cerr << "Nie można przejść do katalogu " << directory << "\n";
            return 1;
        }
    }
    if (!console) {
        if (display_available()) return xamo::run_gui(argc, argv);
        std::cout << "Brak ekranu graficznego (nie ustawiono DISPLAY ani WAYLAND_DISPLAY); "
                     "uruchamiam wersję konsolową.\n";
    }
    std::ios::sync_with_stdio(false);
    return xamo::run_console(std::cin, std::cout, batch);
}
