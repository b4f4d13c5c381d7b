// Askable conditions and arguments computed when the rule and model bases are loaded. Lists are
// UTF-8 strings; "sorted" means by the Windows-1250 bytes (cp1250_less).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kb/facts.h"
#include "kb/rule_names.h"
#include "kb/text_set.h"

namespace xamo {

// A list of texts that copies share: the record of a run keeps the askable lists as they were
// without copying them; assigning a new list leaves the shared one to those holding it.
class SharedTexts {
  public:
    SharedTexts() = default;
    SharedTexts(StringList texts) : texts_(std::make_shared<const StringList>(std::move(texts))) {}

    const StringList& list() const { return texts_ ? *texts_ : no_texts(); }
    operator const StringList&() const { return list(); }
    StringList::const_iterator begin() const { return list().begin(); }
    StringList::const_iterator end() const { return list().end(); }
    std::size_t size() const { return list().size(); }
    bool empty() const { return list().empty(); }
    void clear() { texts_.reset(); }

    friend bool operator==(const SharedTexts& a, const StringList& b) { return a.list() == b; }

  private:
    static const StringList& no_texts() {
        static const StringList none;
        return none;
    }
    std::shared_ptr<const StringList> texts_;
};

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
