#include "analysis/numbering.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "dialog/interaction.h"
#include "dialog/write_lines.h"

namespace xamo {
namespace {

struct NumberingTexts {
    const char* first_line;   // + base name + " występuje "
    const char* second_line;  // + number + "."
    std::vector<const char*> consequences;
    std::vector<const char*> advice;
    const char* note_opening;  // + base name
    const char* note_entry;    // + number + "."
    std::vector<const char*> note_rest;
    const char* note_title;
};

const NumberingTexts& texts(NumberedBase base) {
    static const NumberingTexts table[] = {
        {"W bazie reguł ",
         "conajmniej dwukrotnie reguła o numerze ",
         {"Może to zakłócić przebieg wnioskowania.", "Dlatego nie można wnioskować z bazami reguł,",
          "których reguły mają powtarzające się numery."},
         {"Przejdź do opcji 'Baza reguł/Edycja bazy reguł'", "i popraw numerację reguł w bazie."},
         "W bazie reguł rozwiniętej dokladnej\n   ",
         "\nreguła o numerze ",
         {"\nMoże to zakłócić przebieg wnioskowania.",
          "\nDlatego nie można wnioskować z bazami reguł,",
          "\nktórych reguły mają powtarzające się numery.",
          "\nPrzejdź do opcji\n   Baza reguł dokładna\n   Edycja bazy reguł'",
          "\ni popraw numerację reguł w bazie."},
         "Błąd bazy reguł"},
        {"W bazie modeli ",
         "conajmniej dwukrotnie model o numerze ",
         {"Może to zakłócić przebieg wnioskowania.",
          "Dlatego nie można wnioskować z bazami modeli,",
          "których modele mają powtarzające się numery."},
         {"Przejdź do opcji 'Baza modeli/Edycja bazy modeli'",
          "i popraw numerację modeli w bazie."},
         "W bazie modeli rozwiniętej dokladnej\n   ",
         "\nmodel o numerze ",
         {"\nDlatego nie można wnioskować z bazami modeli,",
          "\nktórych modele mają powtarzające się numery.",
          "\nPrzejdź do opcji\n   'Baza modeli dokładna\n   Edycja bazy modeli'",
          "\ni popraw numerację modeli w bazie."},
         "Błąd bazy modeli"},
        {"W bazie ograniczeń ",
         "conajmniej dwukrotnie ograniczenie o numerze ",
         {"Może to zakłócić przebieg wnioskowania.",
          "Dlatego nie można wnioskować z bazami ograniczeń,",
          "których ograniczenia mają powtarzające się numery."},
         {"Przejdź do opcji 'Baza ograniczeń/Edycja bazy ograniczeńä'",
          "i popraw numerację ograniczeń w bazie."},
         "W bazie ograniczeń dokładnej\n   ",
         "\nograniczenie o numerze ",
         {"\nDlatego nie można wnioskować z bazami ograniczeń,",
          "\nktórych ograniczenia mają powtarzające się numery.",
          "\nPrzejdź do opcji\n   Baza ograniczeń dokładna\n   Edycja bazy ograniczeń'",
          "\ni popraw numerację ograniczeń w bazie."},
         "Błąd bazy ograniczeń"},
        {"W bazie rad ",
         "conajmniej dwukrotnie rada o numerze ",
         {"Może to zakłócić przebieg udzielania rad.", "Dlatego nie można wnioskować z bazami rad,",
          "których rady mają powtarzające się numery."},
         {"Przejdź do opcji 'Baza rad/Edycja bazy rad'", "i popraw numerację rad w bazie."},
         "W bazie rad rozwiniętej dokładnej\n   ",
         "\nrada o numerze ",
         {"\nMoże to zakłócić przebieg udzielania rad.",
          "\nDlatego nie można wnioskować z bazami rad,",
          "\nktórych rady mają powtarzające się numery.",
          "\nPrzejdź do opcji\n   'Baza rad dokładna\n   Edycja bazy rad'",
          "\ni popraw numerację rad w bazie."},
         "Błąd bazy rad"},
    };
    return table[static_cast<std::size_t>(base)];
}

void report_repeated(UserInteraction& ui, const NumberingTexts& t, const std::string& name,
                     std::int32_t number) {
    const std::string n = std::to_string(number);
    write_line(ui, t.first_line + name + " występuje ");
    write_line(ui, t.second_line + n + ".");
    for (const char* line : t.consequences) write_line(ui, line);
    ui.new_line();
    for (const char* line : t.advice) write_line(ui, line);
    ui.new_line();
    std::string text =
        t.note_opening + name + "\nwystępuje conajmniej dwukrotnie " + t.note_entry + n + ".";
    for (const char* piece : t.note_rest) text += piece;
    ui.note(t.note_title, text);
}

}  // namespace

IntegerList base_numbers(const FactStore& store, NumberedBase base) {
    static const std::vector<Kind> kinds[] = {
        {Kind::regula},
        {Kind::model, Kind::model_r, Kind::model_liniowy, Kind::model_wielomianowy},
        {Kind::ograniczenie},
        {Kind::rada},
    };
    IntegerList numbers;
    for (Kind kind : kinds[static_cast<std::size_t>(base)]) {
        for (const Fact& fact : store.all(kind)) numbers.push_back(number_of(fact));
    }
    return numbers;
}

std::optional<std::int32_t> first_repeated(const IntegerList& numbers) {
    // A sorted copy finds the repeated numbers without a node per number.
    IntegerList sorted = numbers;
    std::sort(sorted.begin(), sorted.end());
    IntegerList repeated;
    for (std::size_t i = 1; i < sorted.size(); ++i) {
        if (sorted[i] == sorted[i - 1] && (repeated.empty() || repeated.back() != sorted[i]))
            repeated.push_back(sorted[i]);
    }
    for (auto n : numbers) {
        if (std::binary_search(repeated.begin(), repeated.end(), n)) return n;
    }
    return std::nullopt;
}

bool testuj_numery(const FactStore& store, UserInteraction& ui, NumberingMemory& memory,
                   NumberedBase base, const std::string& base_name) {
    const auto repeated = first_repeated(base_numbers(store, base));
    if (!repeated) return true;
    report_repeated(ui, texts(base), base_name, *repeated);
    memory.duplicates[static_cast<std::size_t>(base)] = true;
    return false;
}

}  // namespace xamo
