// xamo_generate RULES FILE: writes a generated rule base for trying the program on a large base.
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "generators.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "Użycie: xamo_generate LICZBA_REGUŁ PLIK\n";
        return 2;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << xamo::bench::generate_rule_base(std::atoi(argv[1]));
    return out ? 0 : 1;
}
