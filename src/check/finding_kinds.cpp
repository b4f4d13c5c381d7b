#include <algorithm>

#include "check/finding.h"

namespace xamo {

const std::vector<FindingKind>& finding_kinds() {
    using enum Severity;
    static const std::vector<FindingKind> table = {
        {codes::unreadable, Error, "nie można odczytać pliku",
         "Pliku nie ma albo nie można go otworzyć; baza nie została sprawdzona."},
        {codes::no_rule_base, Error, "brak jednoznacznej bazy reguł",
         "Podany katalog albo plik nie wskazuje jednej bazy reguł (RE*.BRD); podaj plik bazy "
         "reguł."},
        {codes::syntax, Error, "błąd składni",
         "Wiersz nie jest poprawnym faktem bazy; ładowanie bazy zatrzyma się na nim."},
        {codes::utf8, Error, "plik zapisany w UTF-8",
         "Pliki baz muszą być zapisane w kodowaniu Windows-1250; zapisz plik ponownie w tym "
         "kodowaniu."},
        {codes::more_syntax, Note, "dalsze błędy składni pominięto",
         "Po stu błędach składni jednego pliku pozostałe są tylko liczone."},
        {codes::load_refused, Error, "baza odrzucona przy ładowaniu",
         "Sprawdzenie wykonywane przy ładowaniu bazy nie przepuściło jej; szczegóły podaje "
         "komunikat ładowania."},
        {codes::external, Error, "sprzeczność zewnętrzna",
         "Wniosek reguły zależy od niego samego albo od jego negacji (cykl reguł)."},
        {codes::internal, Error, "sprzeczność wewnętrzna",
         "Każde spłaszczenie reguły zawiera warunek razem z jego negacją; reguła nigdy nie "
         "zadziała."},
        {codes::redundant, Warning, "reguła nadmiarowa",
         "Spłaszczone warunki reguły zawierają warunki innej reguły o tym samym wniosku; "
         "reguła nic nie dodaje."},
        {codes::single_condition, Warning, "reguła z pojedynczym warunkiem",
         "Reguła o jednym warunku może być tautologią zastępującą jedno określenie innym."},
        {codes::repeated_number, Error, "powtórzony numer",
         "Numer faktu powtarza się w bazie; wnioskowanie nie zostanie podjęte."},
        {codes::tautological_model, Warning, "model tautologiczny",
         "Model zastępuje jedną zmienną inną zmienną, nic nie obliczając."},
        {codes::model_arithmetic, Error, "sprzeczność modelu arytmetycznego",
         "Wynik modelu jest zarazem jego argumentem."},
        {codes::model_arithmetic_deep, Error, "pośrednia sprzeczność modelu arytmetycznego",
         "Wynik modelu jest argumentem łańcucha modeli, które go obliczają."},
        {codes::model_relational, Error, "sprzeczność modelu relacyjnego",
         "Wnioskowany warunek modelu jest jego własnym warunkiem stosowania."},
        {codes::model_rule, Error, "sprzeczność łączna modelu i reguły",
         "Warunek stosowania modelu wynika z reguły, której spłaszczenie zawiera ten sam "
         "warunek."},
        {codes::rule_constraint, Error, "sprzeczność łączna z ograniczeniem",
         "Spłaszczenie reguły zawiera dwa warunki jednego ograniczenia; reguła nigdy nie "
         "zadziała."},
        {codes::rule_constraint_redundant, Warning, "nadmiarowość łączna z ograniczeniem",
         "Reguły różnią się tylko warunkami jednego ograniczenia i mówią tyle, co jedna reguła "
         "bez nich."},
        {codes::model_results, Error, "modele jednego wyniku nie wykluczają się",
         "Bez bazy ograniczeń warunki stosowania modeli jednego wyniku muszą się wykluczać; "
         "wnioskowanie tego nie przyjmie."},
        {codes::models_same_condition, Warning, "dwa modele jednego wyniku przy tym samym warunku",
         "Który wynik zostanie przyjęty, zależy od kolejności modeli w bazie."},
        {codes::entry_without_fact, Warning, "wpis dla nieistniejącej reguły lub modelu",
         "Rada, grafika albo dźwięk podaje numer reguły lub modelu, których nie ma w bazie."},
        {codes::missing_media, Warning, "brak pliku rady, grafiki lub dźwięku",
         "Plik wskazany przez rady, grafiki albo dźwięki nie istnieje."},
        {codes::not_checked, Note, "baza nie została sprawdzona",
         "Wcześniejsze ustalenie (wskazane jako powiązane miejsce) nie pozwoliło załadować "
         "tej bazy."},
        {codes::time_limit, Error, "diagnoza przerwana po limicie czasu",
         "Diagnoza nie skończyła się w czasie --time-limit; jej ustalenia są niepełne."},
        {codes::out_of_memory, Error, "zabrakło pamięci",
         "Diagnoza przerwała pracę z braku pamięci; jej ustalenia są niepełne."},
    };
    return table;
}

const FindingKind* finding_kind(std::string_view code) {
    const auto& table = finding_kinds();
    const auto it = std::find_if(table.begin(), table.end(),
                                 [&](const FindingKind& kind) { return kind.code == code; });
    return it == table.end() ? nullptr : &*it;
}

const char* severity_word(Severity severity) {
    switch (severity) {
        case Severity::Error:
            return "błąd";
        case Severity::Warning:
            return "ostrzeżenie";
        case Severity::Note:
            return "uwaga";
    }
    return "";
}

}  // namespace xamo
