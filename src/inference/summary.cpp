#include "inference/summary.h"

#include "dialog/interaction.h"
#include "kb/conditions.h"
#include "kb/files.h"

namespace xamo {
namespace {

void write_summary_sections(const FactStore& store, UserInteraction& ui,
                            const InferenceMemory& memory) {
    ui.write("Etykiety wnioskowania: ");
    ui.new_line();
    for (const auto& label : memory.etykieta) {
        ui.write("    " + label);
        ui.new_line();
    }
    ui.new_line();
    ui.write("Podsumowanie wnioskowania: fakty");
    ui.new_line();
    for (const Fact& rule : store.all(Kind::regula)) {
        if (Rule(rule).number() == 0 && only_no_condition(Rule(rule).conditions()) &&
            Rule(rule).display() == 1) {
            ui.write("    " + Rule(rule).conclusion());
            ui.new_line();
            ui.new_line();
        }
    }
    if (memory.szczegolowosc == "duża") {
        for (const auto& [number, conclusion] : memory.rbd) {
            if (conclusion == kEnd || conclusion == kNoCondition) continue;
            ui.write(std::string("    ").append(conclusion));
            ui.new_line();
        }
        for (const auto& conclusion : memory.rbd_wstecz) {
            if (conclusion == "nkoniec" || conclusion == kNoCondition) continue;
            ui.write(std::string("    ").append(conclusion));
            ui.new_line();
        }
    }
    ui.new_line();
    ui.write("Podsumowanie wnioskowania: wartości argumentów");
    ui.new_line();
    for (const auto& [name, value] : memory.zmienna_ustalona) {
        if (FixedValues::is_literal(name)) continue;
        ui.write("    " + name + " = ");
        ui.write_real(value);
        ui.new_line();
    }
}

}  // namespace

bool podsumowanie(const FactStore& store, UserInteraction& ui, const InferenceMemory& memory) {
    if (ui.ask("Plik podsumowania", "Zachować podsumowanie wnioskowania?", {"&TAK", "&NIE"}) != 1) {
        return false;
    }
    ui.new_line();
    ui.new_line();
    ui.write(" Podaj nazwę podsumowania (*.txt):\n");
    const auto path = ui.choose_file_to_save("Podaj nazwę nowego pliku podsumowania",
                                             {{"Pliki podsumowania (*.txt)", "*.txt"}}, "*.txt");
    if (!path) {
        write_summary_sections(store, ui, memory);
        return false;
    }
    ui.redirect_to_file(*path);
    write_summary_sections(store, ui, memory);
    if (const auto error = ui.restore_output()) {
        ui.note("Błąd!", "Podsumowanie nie zostało zapamiętane.\n" + *error);
        return false;
    }
    const std::string saved = " Podsumowanie " + file_name_of(*path) + " zostało zapamiętane.";
    ui.write(saved);
    ui.note("Podsumowanie", saved);
    ui.new_line();
    ui.new_line();
    return true;
}

}  // namespace xamo
