#include "app/askable_commands.h"

#include "app/application.h"

namespace xamo {
namespace {

void show_list(UserInteraction& ui, const std::string& title, const StringList& items) {
    std::string text;
    for (const auto& item : items) text += item + "\n";
    ui.show_text(title, text);
}

void show_rule_base_askable(Application& app) {
    const auto rule_base = app.store().text(Kind::nazwa_re);
    if (!rule_base) return;
    const auto model_base = app.store().text(Kind::nazwa_mo);
    UserInteraction& ui = app.ui();
    if (!model_base) {
        show_list(ui,
                  "Warunki dopytywalne bazy reguł " + *rule_base + " bez uwzględnienia bazy modeli",
                  app.askable().lista_warunkow_dopytywalnych);
        return;
    }
    ui.write("     Warunki dopytywalne bazy reguł " + *rule_base);
    ui.new_line();
    ui.write("       z uwzględnieniem bazy modeli " + *model_base);
    ui.new_line();
    show_list(ui,
              "Warunki dopytywalne bazy reguł " + *rule_base + " z uwzględnieniem bazy modeli " +
                  *model_base,
              app.askable().lista_wszystkich_dopytywalnych_dla_wyswietlania);
}

void show_model_base_askable(Application& app, const std::string& title_words,
                             const StringList& items) {
    const auto model_base = app.store().text(Kind::nazwa_mo);
    if (!model_base) return;
    show_list(app.ui(), title_words + *model_base, items);
}

}  // namespace

void register_askable_commands(Application& app) {
    app.commands().set_handler(10063, [&app] { show_rule_base_askable(app); });
    app.commands().set_handler(10079, [&app] {
        show_model_base_askable(app, "Warunki i argumenty dopytywalne bazy modeli ",
                                app.askable().lista_argumentow_dopytywalnych);
    });
    app.commands().set_handler(10080, [&app] {
        show_model_base_askable(app, "Warunki i argumenty dopytywalne bazy wiedzy ",
                                app.askable().lista_warunkow_i_argumentow_dopytywalnych);
    });
}

}  // namespace xamo
