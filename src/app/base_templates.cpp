#include "app/base_templates.h"

#include <optional>
#include <vector>

#include "kb/base_file.h"
#include "kb/facts.h"

namespace xamo {
namespace {

struct TemplateTexts {
    BaseKind kind;
    std::optional<Kind> remark;  // the kind's remark fact; none for the kinds without one
    const char* heading;
    std::vector<const char*> examples;  // facts of the kind, as they are written
};

const std::vector<TemplateTexts>& template_table() {
    static const std::vector<TemplateTexts> table = {
        {BaseKind::Rules,
         Kind::rem_regula,
         "Nowa baza reguł: usuń te uwagi i wpisz po jednym fakcie w wierszu, np.:",
         {R"(reguła(1,"wniosek",["warunek_1","nwarunek_2"],1))", R"(fakt("warunek_1"))"}},
        {BaseKind::Models,
         Kind::rem_model,
         "Nowa baza modeli: usuń te uwagi i wpisz po jednym fakcie w wierszu, np.:",
         {R"(model(1,"bez warunku","pole","długość","*","szerokość",1))",
          R"(argument_znany("długość",12.5))"}},
        {BaseKind::Constraints,
         Kind::rem_ograniczenie,
         "Nowa baza ograniczeń: usuń te uwagi i wpisz po jednym fakcie w wierszu, np.:",
         {R"(ograniczenie(1,["warunek_1","warunek_2"]))"}},
        {BaseKind::Advice,
         Kind::rem_rada,
         "Nowa baza rad: usuń te uwagi i wpisz po jednym fakcie w wierszu, np.:",
         {R"(rada(1,"rada1.hlp"))", R"(nrada(1,"rada2.hlp"))"}},
        {BaseKind::Graphics,
         std::nullopt,
         "Nowa baza grafiki: po jednym fakcie w wierszu, np.:",
         {R"(grafika(1,"obraz1"))", R"(ngrafika(1,"obraz2"))"}},
        {BaseKind::Sounds,
         std::nullopt,
         "Nowa baza dźwięków: po jednym fakcie w wierszu, np.:",
         {R"(dźwięk(1,"melodia1"))", R"(ndźwięk(1,"melodia2"))"}},
    };
    return table;
}

}  // namespace

BaseTemplate base_template(BaseKind kind) {
    BaseTemplate result;
    for (const TemplateTexts& texts : template_table()) {
        if (texts.kind != kind) continue;
        std::vector<std::string> lines{texts.heading};
        lines.insert(lines.end(), texts.examples.begin(), texts.examples.end());
        std::string& target = texts.remark ? result.text : result.hint;
        for (const std::string& line : lines) {
            // A remark is written as the base writer writes it, quotes escaped.
            target += texts.remark ? fact_text(make_text_fact(*texts.remark, line)) : line;
            target += '\n';
        }
    }
    return result;
}

}  // namespace xamo
