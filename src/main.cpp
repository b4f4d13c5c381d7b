// xamo_rd [--console [--batch]] [directory]
#include <filesystem>
#include <iostream>
#include <string>

#include "ui/console/console_app.h"

namespace {

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
        if (arg == "--console") console = true;
        else if (arg == "--batch") batch = true;
        else if (!arg.empty() && arg[0] != '-' && directory.empty()) directory = arg;
        else return usage();
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
    std::ios::sync_with_stdio(false);
    if (!console) {
        std::cout << "Interfejs graficzny nie jest dostępny; uruchamiam wersję konsolową.\n";
    }
    return xamo::run_console(std::cin, std::cout, batch);
}
