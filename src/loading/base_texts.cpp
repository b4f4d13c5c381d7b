#include "loading/base_texts.h"

namespace xamo {
namespace {

const char* const kAdviceHint =
    "Po zapisaniu treści bazy rad możesz przystąpić\ndo tworzenia podkartoteki plików tekstowych "
    "rad.\nPodkartotekę należy umieścić w kartotece 'RADY'.\n\nW tym celu wybierz 'Baza rad'\n"
    "'Tworzenie lub kasowanie podkartoteki plików tekstowych rad'.";
const char* const kGraphicsHint =
    "Po zapisaniu treści bazy grafiki możesz przystąpić\ndo tworzenia podkartoteki plików "
    "grafik.\nPodkartotekę należy umieścić w kartotece 'GRAFIKA'.\n\nW tym celu wybierz 'Baza "
    "grafiki'\n'Tworzenie lub kasowanie podkartoteki plików grafiki'.";
const char* const kSoundHint =
    "Po zapisaniu treści bazy dźwięku możesz przystąpić\ndo tworzenia podkartoteki plików "
    "dźwięków.\nPodkartotekę należy umieścić w kartotece 'DŹWIĘKI'.\n\nW tym celu wybierz 'Baza "
    "dźwięku'\n'Tworzenie lub kasowanie podkartoteki plików dźwiękowych'.";

std::vector<BaseTexts> make_table() {
    std::vector<BaseTexts> table(6);

    BaseTexts& re = table[0];
    re.section = Section::Rules;
    re.name_fact = Kind::nazwa_re;
    re.path_fact = Kind::nazwa_re_pelna;
    re.blank_lines_after_read = true;
    re.open_title = "Wybierz nazwę bazy reguł : ";
    re.mask = "RE*.BRD";
    re.filter = {"Bazy reguł (RE*.BRD)", "re*.BRD"};
    re.loaded_output = "Baza reguł ";
    re.loaded_note_title = "Wynik ładowania bazy reguł";
    re.loaded_note_text = "Baza reguł rozwinięta dokładna\n   ";
    re.syntax_hint_lines = {"Przejdź do 'Bazy reguł', wybierz opcję 'Edycja bazy reguł', ",
                            "wybierz błędną bazę i usuń błąd."};
    re.syntax_note_title = "Błąd";
    re.syntax_note_text =
        "Przejdź do 'Bazy reguł dokładnej' i wybierz opcję 'Edycja bazy reguł',\nwybierz błędną "
        "bazę i usuń błąd.";
    re.read_error_first = "Błąd w trakcie wczytywania bazy reguł. ";
    re.read_error_lines = {"Przejdź do 'Bazy reguł, wybierz opcję 'Edycja bazy reguł',"};
    re.read_error_note_title = "Błąd";
    re.read_error_note_text =
        "Błąd w trakcie wczytywania bazy reguł.\nBaza zawiera puste linie!\nPrzejdź do 'Bazy "
        "reguł dokładnej,\nwybierz opcję 'Edycja bazy reguł'\nwybierz błędną bazę i usuń puste "
        "linie,\nktóre najczęściej są na końcu bazy.";
    re.save_title = "Podaj nazwę nowej bazy reguł";
    re.save_mask = "RE*.BRD";
    re.words = "reguł";
    re.create_note_title = "Tworzenie nowej bazy reguł";
    re.create_ask_title = "Tworzenie bazy reguł";
    re.delete_title = "Wybierz bazę reguł przeznaczoną do usunięcia";
    re.delete_mask = "RE*.BRD";
    re.delete_filter = {"Pliki baz reguł", "RE*.BRD"};
    re.delete_ask_title = "Usunięcie bazy reguł";
    re.delete_question = "Czy jesteś pewien, że chcesz usunąć bazę reguł ";
    re.deleted_words = "Baza reguł ";

    BaseTexts& mo = table[1];
    mo.section = Section::Models;
    mo.name_fact = Kind::nazwa_mo;
    mo.path_fact = Kind::nazwa_mo_pelna;
    mo.blank_lines_after_read = true;
    mo.open_title = "Wybierz nazwę bazy modeli : ";
    mo.mask = "MO*.BRD";
    mo.filter = {"Bazy modeli (MO*.BRD)", "mo*.BRD"};
    mo.loaded_output = "Baza modeli ";
    mo.loaded_note_title = "Wynik ładowania bazy modeli";
    mo.loaded_note_text = "Baza modeli rozwinięta dokładna\n   ";
    mo.syntax_hint_lines = {"Przejdż do 'Bazy modeli'", "wybierz opcję 'Edycja bazy modeli',",
                            "wybierz błędną bazę i usuń błąd."};
    mo.syntax_note_title = "Uwaga błąd!";
    mo.syntax_note_text =
        "Przejdź do 'Bazy modeli dokładnej', wybierz opcję 'Edycja bazy modeli',\nnastępnie "
        "wybierz błędną bazę i usuń błąd.";
    mo.read_error_first = "Błąd w trakcie wczytywania bazy modeli. ";
    mo.read_error_lines = {"Przejdź do 'Bazy modeli, ", "wybierz opcję 'Edycja bazy modeli', "};
    mo.read_error_note_title = "Uwaga błąd!";
    mo.read_error_note_text =
        "Błąd w trakcie wczytywania bazy modeli. Baza zawiera puste linie!\nPrzejdź do 'Bazy "
        "modeli dokładnej', wybierz opcję 'Edycja bazy modeli',\n następnie wybierz błędną bazę "
        "i usuń puste linie, które najczęściej są na końcu bazy.";
    mo.save_title = "Podaj nazwę nowej bazy modeli";
    mo.save_mask = "MO*.BRD";
    mo.words = "modeli";
    mo.create_note_title = "Tworzenie nowej bazy modeli";
    mo.create_ask_title = "Tworzenie bazy modeli";
    mo.delete_title = "Wybierz bazę modeli przeznaczoną do usunięcia";
    mo.delete_mask = "MO*.BRD";
    mo.delete_filter = mo.filter;
    mo.delete_ask_title = "Usunięcie bazy modeli";
    mo.delete_question = "Czy jesteś pewien, że chcesz usunąć bazę modeli ";
    mo.deleted_words = "Baza modeli ";

    BaseTexts& og = table[2];
    og.section = Section::Constraints;
    og.name_fact = Kind::nazwa_og;
    og.path_fact = Kind::nazwa_og_pelna;
    og.blank_lines_after_read = false;
    og.open_title = "Wybierz nazwę bazy ograniczeń : ";
    og.mask = "OG*.BRD";
    og.filter = {"Bazy ograniczeń (OG*.BRD)", "og*.BRD"};
    og.loaded_output = "Baza ograniczeń ";
    og.loaded_note_title = "Wynik ładowania bazy ograniczeń";
    og.loaded_note_text = "Baza ograniczeń rozwinięta dokładna\n   ";
    og.syntax_hint_lines = {"Przejdż do 'Bazy ograniczeń'",
                            "wybierz opcję 'Edycja bazy ograniczeń',",
                            "wybierz błędną bazę i usuń błąd."};
    og.syntax_note_title = "Uwaga błąd!";
    og.syntax_note_text =
        "Przejdź do 'Bazy ograniczeń dokładnej', wybierz opcję 'Edycja bazy ograniczeń',\n"
        "następnie wybierz błędną bazę i usuń błąd.";
    og.read_error_first = "Błąd w trakcie wczytywania bazy ograniczeń. ";
    og.read_error_lines = {"Przejdź do 'Bazy ograniczeń, ",
                           "wybierz opcję 'Edycja bazy ograniczeń',"};
    og.read_error_note_title = "Uwaga błąd!";
    og.read_error_note_text =
        "Błąd w trakcie wczytywania bazy ograniczeń dokładnych. Baza zawiera puste linie!"
        "\nPrzejdź do 'Bazy ograniczeń dokładnej',"
        "wybierz opcję 'Edycja bazy ograniczeń',"
        "\nnastępnie wybierz błędną bazę i usuń puste linie, które najczęściej są na końcu bazy.";
    og.save_title = "Podaj nazwę nowej bazy ograniczeń";
    og.save_mask = "OG*.BRD";
    og.words = "ograniczeń";
    og.create_note_title = "Tworzenie nowej bazy ograniczeń";
    og.create_ask_title = "Tworzenie bazy ograniczeń";
    og.delete_title = "Wybierz bazę ograniczeń przeznaczoną do usunięcia";
    og.delete_mask = "OG*.BRD";
    og.delete_filter = og.filter;
    og.delete_ask_title = "Usunięcie bazy ograniczeń";
    og.delete_question = "Czy jesteś pewien, że chcesz usunąć bazę ograniczeń ";
    og.deleted_words = "Baza ograniczeń ";

    BaseTexts& ra = table[3];
    ra.section = Section::Advice;
    ra.name_fact = Kind::nazwa_ra;
    ra.path_fact = Kind::nazwa_ra_pelna;
    ra.blank_lines_after_read = false;
    ra.open_title = "Wybierz nazwę bazy rad : ";
    ra.mask = "RA*.BRD";
    ra.filter = {"Bazy rad (RA*.BRD)", "ra*.BRD"};
    ra.loaded_output = "Baza rad ";
    ra.loaded_note_title = "Baza rad została załadowana !";
    ra.loaded_note_text = "Baza rad rozwinięta dokłdna\n   ";
    ra.syntax_hint_lines = {"Przejdź do 'Baza rad'", "wybierz opcję 'Edycja bazy rad',",
                            "wybierz błędną bazę i usuń błąd."};
    ra.syntax_note_title = "Uwaga błąd!";
    ra.syntax_note_text =
        "Przejdź do 'Bazy rad dokładnej', wybierz opcję 'Edycja bazy rad',\nnastępnie wybierz "
        "błędną bazę i usuń błąd.";
    ra.read_error_first = "Błąd w trakcie wczytywania bazy rad. ";
    ra.read_error_lines = {"Przejdź do 'Baza rad', ", "wybierz opcję 'Edycja bazy rad',"};
    ra.read_error_note_title = "Uwaga błąd!";
    ra.read_error_note_text =
        "Błąd w trakcie wczytywania bazy rad. Baza zawiera puste linie!\nPrzejdź do 'Bazy rad "
        "dokładnej', wybierz opcję 'Edycja bazy rad',\nnastępnie wybierz błędną bazę i usuń "
        "puste linie, które najczęściej są na końcu bazy.";
    ra.save_title = "Podaj nazwę nowej bazy rad";
    ra.save_mask = "RA*.BRD";
    ra.words = "rad";
    ra.create_note_title = "Tworzenie nowej bazy rad";
    ra.create_ask_title = "Tworzenie bazy rad";
    ra.media_hint = kAdviceHint;
    ra.delete_title = "Wybierz bazę rad przeznaczoną do usunięcia";
    ra.delete_mask = "RA*.BRD";
    ra.delete_filter = ra.filter;
    ra.delete_ask_title = "Usunięcie bazy rad";
    ra.delete_question = "Czy jesteś pewien, że chcesz usunąć bazę rad ";
    ra.deleted_words = "Baza rad ";

    BaseTexts& gr = table[4];
    gr.section = Section::Graphics;
    gr.path_fact = Kind::nazwa_gr;
    gr.blank_lines_after_read = false;
    gr.open_title = "Podaj nazwę istniejącej bazy grafiki : ";
    gr.mask = "GR*.BRD";
    gr.filter = {"Bazy grafiki (GR*.BRD)", "gr*.BRD"};
    gr.loaded_output = "Baza grafiki ";
    gr.loaded_note_title = "Baza grafiki została załadowana !";
    gr.loaded_note_text = "Baza grafiki rozwinięta dokładna\n   ";
    gr.syntax_hint_lines = {"Przejdź do 'Baza grafiki'", "wybierz opcję 'Edycja bazy grafiki',",
                            "wybierz błędną bazę i usuń błąd."};
    gr.syntax_note_title = "Uwaga błąd!";
    gr.syntax_note_text =
        "Przejdź do 'Bazy grafiki', wybierz opcję 'Edycja bazy grafiki',\nnastępnie wybierz "
        "błędną bazę i usuń błąd.";
    gr.read_error_first = "Błąd w trakcie wczytywania bazy grafiki. ";
    gr.read_error_lines = {"Przejdź do 'Baza grafiki', ", "wybierz opcję 'Edycja bazy grafiki',"};
    gr.read_error_note_title = "Uwaga błąd!";
    gr.read_error_note_text =
        "Błąd w trakcie wczytywania bazy grafiki. Baza zawiera puste linie!\nPrzejdź do 'Bazy "
        "grafiki', wybierz opcję 'Edycja bazy grafiki',\nnastępnie wybierz błędną bazę i usuń "
        "puste linie, które najczęściej są na końcu bazy.";
    gr.save_title = "Podaj nazwę nowej bazy grafiki";
    gr.save_mask = "GR*.BRD";
    gr.words = "grafiki";
    gr.create_note_title = "Tworzenie nowej bazy grafiki";
    gr.create_ask_title = "Tworzenie bazy grafiki";
    gr.media_hint = kGraphicsHint;
    gr.delete_title = "Wybierz Bazę Grafiki przeznaczoną do usunięcia";
    gr.delete_mask = "GR*.BRD";
    gr.delete_filter = gr.filter;
    gr.delete_ask_title = "Usunięcie bazy grafiki";
    gr.delete_question = "Czy jesteś pewien, że chcesz usunąć bazę grafiki ";
    gr.deleted_words = "Baza grafiki ";

    BaseTexts& dz = table[5];
    dz.section = Section::Sounds;
    dz.path_fact = Kind::nazwa_me;
    dz.blank_lines_after_read = false;
    dz.open_title = "Wybierz nazwę bazy dźwięku : ";
    dz.mask = "DŹ*.BRD";
    dz.filter = {"Bazy dźwięku (DŹ*.BRD)", "DŹ*.BRD"};
    dz.loaded_output = "Baza dźwięku ";
    dz.loaded_note_title = "Baza dźwięku została załadowana !";
    dz.loaded_note_text = "Baza dźwięku rozwinięta dokładna\n   ";
    dz.syntax_hint_lines = {"Przejdź do 'Baza dźwięku'", "wybierz opcję 'Edycja bazy dźwięku',",
                            "wybierz błędną bazę i usuń błąd."};
    dz.syntax_note_title = "Uwaga błąd!";
    dz.syntax_note_text =
        "Przejdź do 'Bazy dźwięku', wybierz opcję 'Edycja bazy dźwięku',\nnastępnie wybierz "
        "błędną bazę i usuń błąd.";
    dz.read_error_first = "Błąd w trakcie wczytywania bazy dźwięku. ";
    dz.read_error_lines = {"Przejdź do 'Baza dźwięku', ", "wybierz opcję 'Edycja bazy dźwięku',"};
    dz.read_error_note_title = "Uwaga błąd!";
    dz.read_error_note_text =
        "Błąd w trakcie wczytywania bazy dźwięku. Baza zawiera puste linie!\nPrzejdź do 'Bazy "
        "dźwięku', wybierz opcję 'Edycja bazy dźwięku',\nnastępnie wybierz błędną bazę i usuń "
        "puste linie, które najczęściej są na końcu bazy.";
    dz.save_title = "Podaj nazwę nowej bazy melodii";
    dz.save_mask = "Dź*.BRD";
    dz.words = "dźwięku";
    dz.create_note_title = "Tworzenie nowej bazy dźwięku";
    dz.create_ask_title = "Tworzenie bazy dźwięku";
    dz.media_hint = kSoundHint;
    dz.delete_title = "Wybierz bazę dźwięku przeznaczoną do usunięcia";
    dz.delete_mask = "Dź*.brd";
    dz.delete_filter = dz.filter;
    dz.delete_ask_title = "Usunięcie bazy dźwięku";
    dz.delete_question = "Czy jesteś pewien, że chcesz usunąć bazę dźwięku ";
    dz.deleted_words = "Baza dźwięku ";

    return table;
}

}  // namespace

const BaseTexts& base_texts(BaseKind kind) {
    static const std::vector<BaseTexts> table = make_table();
    return table[static_cast<std::size_t>(kind)];
}

}  // namespace xamo
