// xamo_generate RULES FILE: writes a generated rule base for trying the program on a large base.
// xamo_generate chain|reversed|wide RULES FILE [DISPLAY]: one of the shapes every rule of which
// fires once, with every askable condition declared (DISPLAY is the rules' display semaphore,
// 0 when omitted).
// xamo_generate --warstwy RULES FILE: a layered base without cycles, for the diagnoses.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "generators.h"

int main(int argc, char** argv) {
    std::string text;
    if (argc == 3) {
        text = xamo::bench::generate_rule_base(std::atoi(argv[1]));
    } else if (argc == 4 && std::strcmp(argv[1], "--warstwy") == 0) {
        text =
            xamo::bench::layered_rule_base(xamo::bench::generate_layered_rules(std::atoi(argv[2])));
    } else if ((argc == 4 || argc == 5) && xamo::bench::shape_named(argv[1])) {
        text = xamo::bench::generate_shaped_base(*xamo::bench::shape_named(argv[1]),
                                                 std::atoi(argv[2]),
                                                 argc == 5 ? std::atoi(argv[4]) : 0);
    } else {
        std::cerr << "Użycie: xamo_generate LICZBA_REGUŁ PLIK\n"
                     "        xamo_generate --warstwy LICZBA_REGUŁ PLIK\n"
                     "        xamo_generate chain|reversed|wide LICZBA_REGUŁ PLIK [SEMAFOR]\n";
        return 2;
    }
    std::ofstream out(argc == 3 ? argv[2] : argv[3], std::ios::binary);
    out << text;
    return out ? 0 : 1;
}
