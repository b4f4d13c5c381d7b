// xamo_generate RULES FILE: writes a generated rule base for trying the program on a large base.
// xamo_generate --warstwy RULES FILE: a layered base without cycles, for the diagnoses.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>

#include "generators.h"

int main(int argc, char** argv) {
    const bool layered = argc == 4 && std::strcmp(argv[1], "--warstwy") == 0;
    if (argc != 3 && !layered) {
        std::cerr << "Użycie: xamo_generate [--warstwy] LICZBA_REGUŁ PLIK\n";
        return 2;
    }
    const int rules = std::atoi(argv[argc - 2]);
    std::ofstream out(argv[argc - 1], std::ios::binary);
    if (layered) {
        out << xamo::bench::layered_rule_base(xamo::bench::generate_layered_rules(rules));
    } else {
        out << xamo::bench::generate_rule_base(rules);
    }
    return out ? 0 : 1;
}
