#include "app/command_catalog.h"

#include <map>
#include <string>

namespace xamo {
namespace {

// The top-level menus and "&Pomoc", "&O programie" each have an access letter of their own.
const std::string kRules = "Baza &reguł dokładna";
const std::string kRulesBrowse = "Przegląd bazy reguł";
const std::string kModels = "Baza &modeli dokładna";
const std::string kModelsSelect = "Selektywny wybór modeli";
// "i" here leaves "n" to the window's menu "Ok&na", whose other letters are all taken.
const std::string kConstraints = "Baza ogran&iczeń dokładna";
const std::string kAdvice = "Baza ra&d dokładna";
const std::string kGraphics = "Baza &grafiki";
const std::string kSounds = "Baza dźwię&ków";
const std::string kAnalysis = "&Analiza bazy wiedzy";
const std::string kFlattened = "Baza reguł spłaszczona";
const std::string kReports = "Opi&sy i raporty";
const std::string kAskable = "Dop&ytywalne";
const std::string kInference = "&Wnioskowanie";
const std::string kSettings = "&Ustawienia";

}  // namespace

const std::vector<CommandInfo>& command_catalog() {
    static const std::vector<CommandInfo> catalog = {
        {10058, {kRules}, "Ładowanie bazy &reguł"},
        {10059,
         {kRules},
         "Import warunków i argumentów dopytywalnych z zewnętrznego źródła danych"},
        {10061, {kRules, kRulesBrowse}, "Selektywny wybór reguł"},
        {10062, {kRules, kRulesBrowse}, "Przegląd wszystkich reguł"},
        {10063, {kRules, kRulesBrowse}, "Przegląd warunków dopytywalnych bazy reguł"},
        {10064, {kRules}, "Edycja bazy reguł"},
        {10065, {kRules}, "Tworzenie bazy reguł"},
        {10066, {kRules}, "Kasowanie bazy reguł"},
        {10067, {kRules}, "Diagnostyka sprzeczności zewnętrznych bazy reguł"},
        {10068, {kRules}, "Diagnostyka sprzeczności wewnętrznych bazy reguł"},
        {10069, {kRules}, "Diagnostyka nadmiarowości bazy reguł"},

        {10071, {kModels}, "Ładowanie bazy modeli"},
        {10074, {kModels, kModelsSelect}, "Modele liniowe"},
        {10075, {kModels, kModelsSelect}, "Modele podstawowe"},
        {10076, {kModels, kModelsSelect}, "Modele rozszerzone"},
        {10077, {kModels, kModelsSelect}, "Modele wielomianowe"},
        {10078, {kModels}, "Przegląd wszystkich modeli"},
        {10079, {kModels}, "Przegląd warunków i argumentów dopytywalnych bazy modeli"},
        {10080, {kModels}, "Przegląd warunków i argumentów dopytywalnych bazy reguł i bazy modeli"},
        {10081, {kModels}, "Edycja bazy modeli"},
        {10082, {kModels}, "Tworzenie bazy modeli"},
        {10083, {kModels}, "Kasowanie bazy modeli"},
        {10084, {kModels}, "Diagnostyka sprzeczności bazy modeli"},
        {10085, {kModels}, "Diagnostyka sprzeczności łącznych bazy modeli i bazy reguł"},

        {10087, {kConstraints}, "Ładowanie bazy ograniczeń"},
        {10089, {kConstraints}, "Selektywny wybór ograniczeń"},
        {10090, {kConstraints}, "Przegląd wszystkich ograniczeń"},
        {10091, {kConstraints}, "Edycja bazy ograniczeń"},
        {10092, {kConstraints}, "Tworzenie bazy ograniczeń"},
        {10093, {kConstraints}, "Kasowanie bazy ograniczeń"},
        {10094, {kConstraints}, "Diagnostyka sprzeczności łącznych baz reguł i ograniczeń"},
        {10095, {kConstraints}, "Diagnostyka nadmiarowości łącznych baz reguł i ograniczeń"},

        {10097, {kAdvice}, "Ładowanie bazy rad"},
        {10098, {kAdvice}, "Przegląd nazw rad z bazy rad"},
        {10099, {kAdvice}, "Edycja bazy rad"},
        {10100, {kAdvice}, "Tworzenie bazy rad"},
        {10101, {kAdvice}, "Kasowanie bazy rad"},
        {10102, {kAdvice}, "Obejrzenie pliku tekstowego rady"},
        {10103, {kAdvice}, "Obejrzenie podkartotek i plików tekstowych rad"},
        {10104, {kAdvice}, "Tworzenie lub kasowanie podkartoteki plików tekstowych rad"},
        {10105, {kAdvice}, "Tworzenie pliku tekstowego rady"},
        {10106, {kAdvice}, "Kasowanie pliku tekstowego rady"},

        {10108, {kGraphics}, "Ładowanie bazy grafiki"},
        {10109, {kGraphics}, "Przegląd nazw grafik z bazy grafiki"},
        {10110, {kGraphics}, "Edycja bazy grafiki"},
        {10111, {kGraphics}, "Tworzenie bazy grafiki"},
        {10112, {kGraphics}, "Kasowanie bazy grafiki"},
        {10113, {kGraphics}, "Obejrzenie pliku graficznego"},
        {10114, {kGraphics}, "Obejrzenie podkartotek i plików graficznych"},
        {10115, {kGraphics}, "Tworzenie lub kasowanie podkartoteki plików grafiki"},
        {10116, {kGraphics}, "Kasowanie pliku grafiki"},

        {10118, {kSounds}, "Ładowanie bazy dźwięków"},
        {10119, {kSounds}, "Przegląd nazw plików  dźwięków z bazy  dźwięków"},
        {10120, {kSounds}, "Edycja bazy  dźwięków"},
        {10121, {kSounds}, "Tworzenie bazy  dźwięków"},
        {10122, {kSounds}, "Kasowanie bazy  dźwięków"},
        {10123, {kSounds}, "Przesłuchiwanie  dźwięku z bazy  dźwięków"},
        {10124, {kSounds}, "Obejrzenie podkartotek lub przesłuchanie plików dźwięków"},
        {10125, {kSounds}, "Tworzenie lub kasowanie podkartoteki plików dźwięków"},
        {10126, {kSounds}, "Kasowanie pliku dźwięku"},

        {10127, {}, kAnalysis, true},
        {10128, {kAnalysis}, kFlattened, true},
        {10129, {kAnalysis, kFlattened}, "Spłaszczanie wybranej reguły"},
        {10130, {kAnalysis, kFlattened}, "Spłaszczanie kolejne wszystkich reguł"},
        {10131, {kAnalysis}, "Wnioski wykluczające się do jednego"},
        {10132, {kAnalysis}, "Wnioski wykluczające się do żadnego"},
        {10133, {kAnalysis}, "Wnioski niewykluczające się"},

        {10135, {kReports}, "Czytanie raportu wnioskowania/diagnostyki"},
        {10136, {kReports}, "Kasowanie raportu wnioskowania/diagnostyki"},
        {10137, {kReports}, "Przegląd opisów"},
        {10138, {kReports}, "Edycja opisu"},
        {10139, {kReports}, "Tworzenie opisu"},
        {10140, {kReports}, "Kasowanie opisu"},
        {10141, {kReports}, "Czytanie raportu podsumowania"},
        {10142, {kReports}, "Kasowanie raportu podsumowania"},
        {10161, {kReports}, "Zapisanie konsultacji jako skryptu"},

        {10144, {kAskable}, "Tworzenie pliku warunków i argumentów dopytywalnych"},
        {10145, {kAskable}, "Czytanie pliku warunków i argumentów dopytywalnych"},
        {10146, {kAskable}, "Kasowanie pliku warunków i argumentów dopytywalnych"},

        {10148, {kInference}, "Wnioskowanie rozwinięte dokładne w przód"},
        {10149, {kInference}, "Wnioskowanie rozwinięte dokładne wstecz"},
        {10160, {kInference}, "Dlaczego nie?"},
        {10162, {kInference}, "Sprawdzenie bazy na tabeli przypadków"},

        {10150, {}, kSettings, true},
        {10151, {kSettings}, "Utwórz nowe Okno Pomocnicze"},
        {10152, {kSettings}, "Ustawienie ścieżek dostępu do baz"},
        {10153, {}, "&Pomoc"},
        {10154, {}, "&O programie"},
    };
    return catalog;
}

// Deleting an advice text file (10106) is available from the start, as deleting a picture or a
// sound file is; no load would enable it otherwise.
const std::vector<int>& startup_commands() {
    static const std::vector<int> ids = {
        10058, 10064, 10065, 10066, 10081, 10082, 10083, 10091, 10092, 10093, 10099,
        10100, 10101, 10104, 10105, 10106, 10110, 10111, 10112, 10115, 10116, 10120,
        10121, 10122, 10125, 10126, 10135, 10136, 10137, 10138, 10139, 10140, 10141,
        10142, 10145, 10146, 10151, 10152, 10153, 10154, 10128, 10150,
    };
    return ids;
}

const std::vector<int>& commands_enabled_after_load(int load_command) {
    static const std::map<int, std::vector<int>> table = {
        {10058,
         {10059, 10061, 10062, 10063, 10127, 10129, 10130, 10071, 10087, 10097, 10108, 10118, 10148,
          10149, 10144, 10131, 10132, 10133, 10162}},
        {10071, {10074, 10075, 10076, 10077, 10078, 10079, 10080}},
        {10087, {10089, 10090, 10094, 10095}},
        {10097, {10098, 10102, 10103}},
        // The directory commands of pictures and sounds follow their base, as the advice one does.
        {10108, {10109, 10113, 10114}},
        {10118, {10119, 10123, 10124}},
    };
    static const std::vector<int> none;
    const auto it = table.find(load_command);
    return it == table.end() ? none : it->second;
}

// Commands that need a run that has ended.
const std::vector<int>& commands_enabled_after_run() {
    static const std::vector<int> ids = {10161};
    return ids;
}

const std::vector<int>& browse_commands() {
    static const std::vector<int> ids = {10061, 10062, 10063, 10074, 10075, 10076,
                                         10077, 10079, 10080, 10089, 10090};
    return ids;
}

}  // namespace xamo
