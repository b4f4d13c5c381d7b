// A knowledge base filled by hand and a scripted user, for the inference tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "app/application.h"
#include "inference/context.h"
#include "kb/facts.h"
#include "support/numbered.h"
#include "support/scripted_interaction.h"

namespace xamo::testing {

inline Fact model(std::int32_t n, std::string w, std::string result, std::string a1,
                  std::string symbol, std::string a2, std::int32_t semaphore = 1) {
    return Fact{Kind::model,
                {n, std::move(w), std::move(result), std::move(a1), std::move(symbol),
                 std::move(a2), semaphore}};
}

inline Fact model_r(std::int32_t n, std::string w, std::string result, std::string operation,
                    StringList arguments, std::int32_t semaphore = 1) {
    return Fact{Kind::model_r,
                {n, std::move(w), std::move(result), std::move(operation), std::move(arguments),
                 semaphore}};
}

inline Fact constraint(std::int32_t n, StringList members) {
    return Fact{Kind::ograniczenie, {n, std::move(members)}};
}

class InferenceTest : public ::testing::Test {
  protected:
    ScriptedInteraction ui;
    Application app{ui};
    FactStore& store = app.store();
    InferenceMemory& memory = app.inference();

    void SetUp() override {
        store.set_text(Kind::nazwa_re, "REtest.BRD");
        store.set_text(Kind::wyroznik, "test");
    }
    void rule(std::int32_t n, const std::string& k, StringList cs, std::int32_t semaphore = 1) {
        store.add(make_rule(n, k, std::move(cs), semaphore));
    }
    // The askable conditions of the rule base (sorted by the caller).
    void askable(StringList conditions) {
        app.askable().lista_warunkow_dopytywalnych = conditions;
        app.askable().dopytywalny = TextSet(app.askable().lista_warunkow_dopytywalnych);
    }
    // A loaded model base whose askable conditions and arguments are listed.
    void model_base(StringList askable_arguments) {
        store.set_text(Kind::nazwa_mo, "MOtest.BRD");
        auto& lists = app.askable();
        lists.lista_argumentow_dopytywalnych = askable_arguments;
        lists.lista_wszystkich_dopytywalnych_dla_wyswietlania = lists.lista_warunkow_dopytywalnych;
        StringList joint = lists.lista_warunkow_dopytywalnych;
        joint.insert(joint.end(), askable_arguments.begin(), askable_arguments.end());
        lists.lista_warunkow_i_argumentow_dopytywalnych = std::move(joint);
    }
    InferenceContext context() {
        return InferenceContext(store, memory, app.askable(), app.report(), ui);
    }
    // Runs command 10148 with the answers given.
    void run(std::initializer_list<std::string> answers) {
        ui.answers.assign(answers.begin(), answers.end());
        app.commands().enable({10148});
        app.run_command(10148);
    }
    std::vector<std::string> facts() const {
        std::vector<std::string> out;
        for (const auto& [n, c] : memory.rbd)
            out.push_back(std::to_string(n) + ":" + std::string(c));
        return out;
    }
    bool output_has(const std::string& text) const {
        return ui.output.find(text) != std::string::npos;
    }
    std::vector<std::string> titles(const std::string& kind) const {
        std::vector<std::string> out;
        for (const auto& e : ui.of_kind(kind)) out.push_back(e.title);
        return out;
    }
};

}  // namespace xamo::testing
