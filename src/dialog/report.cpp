#include "dialog/report.h"

#include "dialog/interaction.h"
#include "kb/base_file.h"
#include "kb/files.h"
#include "kb/numbers.h"

namespace xamo {

void Report::kasowanie_tekst_raportu() { store_.set_text(Kind::tekst_raportu, ""); }

const Name* Report::text() const {
    const Fact* fact = store_.first(Kind::tekst_raportu);
    return fact ? &TextFact(*fact).text() : nullptr;
}

namespace {

// Appends in place, so a whole run costs time linear in the report's length.
bool append_to(FactStore& store, std::string_view text, std::string_view more = {}) {
    auto& facts = store.mutable_all(Kind::tekst_raportu);
    if (facts.empty()) return false;
    Name& report = std::get<Name>(facts.front().fields[0]);
    report.append(text);
    report.append(more);
    return true;
}

}  // namespace

bool Report::append(const std::string& text) { return append_to(store_, text); }

void Report::pisz(const std::string& text) {
    ui_.write(text);
    if (!ui_.echoing()) append(text);
}

void Report::piszcr() {
    static const std::string kNewLine = "\n";  // not a string made for each of a million lines
    ui_.new_line();
    if (!ui_.echoing()) append(kNewLine);
}

void Report::line(const std::string& text) {
    ui_.write(text);
    ui_.new_line();
    if (!ui_.echoing()) append_to(store_, text, "\n");
}

void Report::piszint(std::int64_t n) { pisz(std::to_string(n)); }

void Report::piszreal(double x) { pisz(display_real(x)); }

bool Report::lista_dla_raportu(const StringList& texts) {
    if (!store_.any(Kind::tekst_raportu)) return false;
    auto& report = std::get<Name>(store_.mutable_all(Kind::tekst_raportu).front().fields[0]);
    for (const auto& t : texts) report.append(t);
    return true;
}

void Report::raport() {
    ui_.echo_output({});
    while (true) {
        ui_.write(" Czy zachować raport?  ");
        const int answer = ui_.ask(
            "Raport wnioskowania/diagnostyki",
            "Czy chcesz zachować przebieg\nwnioskowania/diagnostyki w raporcie?", {"&Tak", "&Nie"});
        if (answer != 1) return;
        ui_.write(" Podaj nazwę raportu (*.RPT):\n");
        const auto path = ui_.choose_file_to_save("Podaj nazwę nowego pliku raportu",
                                                  {{"Pliki raportów (*.RPT)", "*.RPT"}}, "*.RPT");
        if (!path) continue;
        if (!store_.any(Kind::tekst_raportu)) kasowanie_tekst_raportu();
        const auto result = write_section(store_, Section::Report, *path);
        if (!result.ok) {
            ui_.note("Błąd!", "Raport nie został zapamiętany.\n" + result.error);
            continue;
        }
        ui_.write("\n Raport " + *path + " został zapamiętany.\n");
        ui_.new_line();
        ui_.new_line();
        ui_.note("Uwaga!", "Raport " + file_name_of(*path) + " został zapamiętany.");
        return;
    }
}

ReportCapture::ReportCapture(Report& report) : ui_(report.ui_) {
    ui_.echo_output([&store = report.store_](const std::string& text) { append_to(store, text); });
}

ReportCapture::~ReportCapture() { ui_.echo_output({}); }

}  // namespace xamo
