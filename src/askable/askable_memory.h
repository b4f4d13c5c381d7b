// Askable conditions and arguments computed when the rule and model bases are loaded. Lists are
// UTF-8 strings; "sorted" means by the Windows-1250 bytes (cp1250_less).
#pragma once

#include <string>
#include <vector>

#include "kb/facts.h"
#include "kb/rule_names.h"
#include "kb/text_set.h"

namespace xamo {

struct AskableMemory : WorkingSection {
    NumberedNames lista_warunkow;              // rule conditions, negations stripped, reduced
    NumberedNames lista_wnioskow_regul;        // rule conclusions, reduced, without "koniec"
    SharedTexts lista_warunkow_dopytywalnych;  // askable conditions of the rule base, sorted
    TextSet dopytywalny;                       // the same, for lookups
    StringList lista_argumentow_modeli;
    StringList lista_warunkow_stosowania;
    StringList lista_wnioskow_modeli;
    StringList lista_wynikow_modeli;
    StringList argumenty_zredukowane;
    StringList wyniki_zredukowane;
    SharedTexts lista_argumentow_dopytywalnych;                  // of the model base, sorted
    StringList lista_wszystkich_dopytywalnych_dla_wyswietlania;  // rule base with models, sorted
    SharedTexts lista_warunkow_i_argumentow_dopytywalnych;       // whole knowledge base, sorted
    StringList lista_wszystkich_zmiennych_logicznych;

    void clear() override { *this = AskableMemory{}; }
    // Clears what the model base contributed (on unloading the model base).
    void clear_model_lists() {
        lista_argumentow_modeli.clear();
        lista_warunkow_stosowania.clear();
        lista_wnioskow_modeli.clear();
        lista_wynikow_modeli.clear();
        argumenty_zredukowane.clear();
        wyniki_zredukowane.clear();
        lista_argumentow_dopytywalnych.clear();
        lista_wszystkich_dopytywalnych_dla_wyswietlania.clear();
        lista_warunkow_i_argumentow_dopytywalnych.clear();
        lista_wszystkich_zmiennych_logicznych.clear();
    }
};

}  // namespace xamo
