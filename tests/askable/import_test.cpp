#include "askable/import.h"

#include <gtest/gtest.h>

#include "askable/askable.h"
#include "kb/codec.h"
#include "support/scripted_interaction.h"

namespace xamo {
namespace {

// A data source whose every step can be made to fail with a driver's error text.
struct FakeSource : DataSourceAccess {
    struct Connection : DataConnection {
        FakeSource& source;
        explicit Connection(FakeSource& s) : source(s) { ++source.open_connections; }
        ~Connection() override { --source.open_connections; }
        DataOutcome<std::vector<std::string>> tables() override {
            if (!source.tables_error.empty())
                return DataOutcome<std::vector<std::string>>::failure(source.tables_error);
            return DataOutcome<std::vector<std::string>>::success(source.table_names);
        }
        DataOutcome<std::vector<DataRow>> query(const std::string& statement,
                                                std::size_t columns) override {
            source.statements.push_back(statement);
            EXPECT_EQ(columns, 3u);
            if (!source.query_error.empty())
                return DataOutcome<std::vector<DataRow>>::failure(source.query_error);
            return DataOutcome<std::vector<DataRow>>::success(source.rows);
        }
    };

    DataOutcome<std::vector<std::string>> sources() override {
        return DataOutcome<std::vector<std::string>>::success(source_names);
    }
    DataOutcome<std::unique_ptr<DataConnection>> connect(const std::string& name) override {
        connected_to = name;
        if (!connect_error.empty())
            return DataOutcome<std::unique_ptr<DataConnection>>::failure(connect_error);
        return DataOutcome<std::unique_ptr<DataConnection>>::success(
            std::make_unique<Connection>(*this));
    }

    std::vector<std::string> source_names{"arkusz", "pacjenci"};
    std::vector<std::string> table_names{"inne", "dane pacjenta"};
    std::vector<DataRow> rows;
    std::string connect_error, tables_error, query_error;
    std::string connected_to;
    std::vector<std::string> statements;
    int open_connections = 0;
};

// Rules with the conditions gorączka, kaszel, katar, ból_gardła; the constraint [katar,
// ból_gardła]; a model base whose askable argument is waga, already known: wzrost.
class Import : public ::testing::Test {
  protected:
    Import() {
        store.set_text(Kind::nazwa_re, "REgrypa.BRD");
        store.add(make_rule(1, "grypa", {"gorączka", "kaszel"}, 1));
        store.add(make_rule(2, "angina", {"ból_gardła", "katar"}, 1));
        remember_askable(memory, ui, askable_conditions_of_rules(store, memory));
        store.set_text(Kind::nazwa_mo, "MOgrypa.BRD");
        store.add(Fact{Kind::model,
                       {1, std::string("bez warunku"), std::string("bmi"), std::string("waga"),
                        std::string("/"), std::string("wzrost"), std::int32_t{1}}});
        compute_model_lists(store, memory);
        askable_with_models(memory);
        askable_of_models(store, memory);
        store.add(Fact{Kind::argument_znany, {std::string("wzrost"), 1.8}});
        store.set_text(Kind::nazwa_og, "OGgrypa.BRD");
        store.add(Fact{Kind::ograniczenie, {1, StringList{"katar", "ból_gardła"}}});
        ui.output.clear();
    }

    StringList facts() const {
        StringList out;
        for (const Fact& f : store.all(Kind::fakt)) out.push_back(TextFact(f).text().str());
        return out;
    }

    FactStore store;
    AskableMemory memory;
    ScriptedInteraction ui;
    FakeSource source;
};

TEST_F(Import, RowsOfEveryKind) {
    const std::vector<DataRow> rows = {
        {"fakt", "gorączka", ""},            // the third cell of a fact does not matter
        {"fakt", "", "x"},                   // an empty cell disqualifies the row
        {"fakt", "<Error loading>", "x"},    // so does a cell the source could not read
        {"argument_znany", "waga", "72,5"},  // a decimal comma
        {"argument_znany", "waga2", "1,2,3"},
        {"komentarz", "kaszel", "1"},  // not a kind of row: ignored
        {"fakt"},                      // a short row
        {"Fakt", "kaszel", "1"},       // the kind is matched exactly
        {"argument_znany", "waga", ""},
    };
    const ImportedData data = examine_rows(rows, store, memory, ui);
    EXPECT_EQ(data.facts, (StringList{"gorączka"}));
    ASSERT_EQ(data.arguments.size(), 1u);
    EXPECT_EQ(data.arguments[0].argument, "waga");
    EXPECT_EQ(data.arguments[0].value, 72.5);
    EXPECT_EQ(data.argument_znanydowyswietlenia, (StringList{"waga = 72,5"}));
    EXPECT_TRUE(data.refused.empty());
    // The bad number is noted once and its row skipped.
    ASSERT_EQ(ui.of_kind("note").size(), 1u);
    EXPECT_EQ(ui.of_kind("note")[0].text,
              "Wystąpił błąd numer: 1,\numiemożliwiający przetworzenie danych(liczb) "
              "rzeczywistych.\n\nProszę sprawdzić dane zawarte w arkuszu Excela lub innym "
              "źródle zewnętrznym.");
}

TEST(ImportedNumber, CommaPointBlanksAndErrors) {
    EXPECT_EQ(read_imported_number("3,5").value, 3.5);
    EXPECT_EQ(read_imported_number(" -0.25 ").value, -0.25);
    EXPECT_EQ(read_imported_number("1E3").value, 1000.0);
    EXPECT_EQ(read_imported_number("3,5 kg").error, 1);
    EXPECT_EQ(read_imported_number("").error, 1);
    EXPECT_EQ(read_imported_number("1E999").error, 2);
    EXPECT_EQ(read_imported_number("nan").error, 2);
}

TEST_F(Import, ContradictionsAreRefusedWithTheirReason) {
    store.add(make_text_fact(Kind::fakt, "ból_gardła"));
    const std::vector<DataRow> rows = {
        {"fakt", "katar", "1"},               // beside the declared ból_gardła in constraint 1
        {"fakt", "kaszel", "1"},              // beside its imported negation: both refused
        {"fakt", "nkaszel", "1"},             //
        {"fakt", "gorączka", "1"},            // accepted
        {"fakt", "gorączka", "1"},            // repeated
        {"fakt", "ból_gardła", "1"},          // declared already
        {"fakt", "grypa2", "1"},              // no condition of the knowledge base
        {"argument_znany", "wzrost", "1,7"},  // already known
        {"argument_znany", "bmi", "20"},      // computed by a model, not askable
        {"argument_znany", "waga", "70"},
        {"argument_znany", "waga", "71"},  // a second value
    };
    const ImportedData data = examine_rows(rows, store, memory, ui);
    EXPECT_EQ(data.facts, (StringList{"gorączka"}));
    ASSERT_EQ(data.arguments.size(), 1u);
    EXPECT_EQ(data.arguments[0].value, 70.0);
    EXPECT_EQ(data.refused,
              (StringList{
                  "fakt katar: wyklucza się z faktem ból_gardła (ograniczenie 1)",
                  "fakt kaszel: występuje razem ze swoją negacją nkaszel",
                  "fakt nkaszel: występuje razem ze swoją negacją kaszel",
                  "fakt gorączka: powtarza się w importowanych danych",
                  "fakt ból_gardła: jest już faktem bazy wiedzy",
                  "fakt grypa2: nie jest warunkiem reguł ani warunkiem stosowania modeli",
                  "argument_znany wzrost = 1,7: argument wzrost ma już wartość 1.8",
                  "argument_znany bmi = 20: bmi nie jest argumentem dopytywalnym bazy modeli",
                  "argument_znany waga = 71: argument waga ma już wartość 70",
              }));

    // Two imported members of one constraint are both refused.
    store.remove_all(Kind::fakt);
    const ImportedData pair =
        examine_rows({{"fakt", "ból_gardła", "1"}, {"fakt", "katar", "1"}}, store, memory, ui);
    EXPECT_TRUE(pair.facts.empty());
    EXPECT_EQ(pair.refused,
              (StringList{"fakt ból_gardła: wyklucza się z faktem katar (ograniczenie 1)",
                          "fakt katar: wyklucza się z faktem ból_gardła (ograniczenie 1)"}));
    // Without a model base a known value has nowhere to go.
    store.remove_all(Kind::nazwa_mo);
    EXPECT_EQ(examine_rows({{"argument_znany", "waga", "1"}}, store, memory, ui).refused,
              (StringList{"argument_znany waga = 1: brak załadowanej bazy modeli"}));
}

TEST_F(Import, WholeCommandAddsFactsAndValuesAndShowsThem) {
    source.rows = {{"fakt", "kaszel", "1"},
                   {"argument_znany", "waga", "80,25"},
                   {"fakt", "nkatar", "1"},
                   {"fakt", "katar", "1"}};
    ui.answers = {"2", "2"};  // the source "pacjenci", the table "dane pacjenta"
    import_data(store, memory, ui, &source);
    const auto lists = ui.of_kind("list");
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(lists[0].title, "Wybór źródła danych");
    EXPECT_EQ(lists[0].text, "Wybierz źródło danych");
    EXPECT_EQ(lists[1].title, "Wybór danych do importu");
    EXPECT_EQ(lists[1].text, "Wybierz dane do importu");
    EXPECT_EQ(source.connected_to, "pacjenci");
    EXPECT_EQ(source.statements, (StringList{"SELECT * FROM [dane pacjenta]"}));
    EXPECT_EQ(source.open_connections, 0);
    EXPECT_EQ(ui.output,
              "SELECT * FROM [dane pacjenta]\n--> Data loading From row 1 to row 4\n4 ...Done\n");
    EXPECT_EQ(facts(), (StringList{"kaszel"}));
    ASSERT_EQ(store.all(Kind::argument_znany).size(), 2u);
    EXPECT_EQ(KnownArgument(store.all(Kind::argument_znany)[1]).value(), 80.25);
    const auto review = ui.of_kind("window");
    ASSERT_EQ(review.size(), 1u);
    EXPECT_EQ(review[0].title, "Przegląd zaimportowanych danych");
    EXPECT_EQ(review[0].text,
              "Do bazy reguł zostały dodane następujące fakty:\n   kaszel\n"
              "Do bazy modeli zostały dodane następujące argumenty znane:\n   waga = 80,25\n"
              "Nie zostały dodane następujące dane:\n"
              "   fakt nkatar: występuje razem ze swoją negacją katar\n"
              "   fakt katar: występuje razem ze swoją negacją nkatar\n");
    // A table name without a blank is used as it stands.
    ui.answers = {"1", "1"};
    source.rows = {{"x", "y", "z"}};
    import_data(store, memory, ui, &source);
    EXPECT_EQ(source.statements.back(), "SELECT * FROM inne");
    EXPECT_EQ(ui.of_kind("note").back().text,
              "Brak danych do importu z zewnętrznego źródla danych!");
}

TEST_F(Import, FailuresOfTheSourceAddNothingAndNameTheError) {
    source.rows = {{"fakt", "kaszel", "1"}};
    const auto run = [&](std::vector<std::string> answers) {
        ui.answers.assign(answers.begin(), answers.end());
        import_data(store, memory, ui, &source);
        EXPECT_TRUE(facts().empty());
        EXPECT_EQ(source.open_connections, 0);
        return ui.of_kind("note").back().text;
    };
    source.query_error = "SQLSTATE HY000: disk I/O error";
    EXPECT_EQ(run({"1", "1"}),
              "Nie można odczytać danych z tabeli inne.\nBłąd ODBC: SQLSTATE HY000: disk I/O "
              "error");
    source.tables_error = "SQLSTATE 08S01: link failure";
    EXPECT_EQ(run({"1"}),
              "Nie można odczytać listy tabel źródła danych arkusz.\nBłąd ODBC: SQLSTATE 08S01: "
              "link failure");
    // A driver's message in Windows-1250 is shown in Polish letters.
    source.connect_error = *utf8_to_cp1250("Nie można otworzyć pliku");
    EXPECT_EQ(run({"2"}),
              "Nie można połączyć się ze źródłem danych pacjenci.\nBłąd ODBC: Nie można otworzyć "
              "pliku");
    EXPECT_EQ(ui.output, "SELECT * FROM inne\n");  // no row count after the failed query

    ui.answers.clear();
    import_data(store, memory, ui, nullptr);
    EXPECT_EQ(ui.of_kind("note").back().text,
              "Import z zewnętrznego źródła danych nie jest dostępny:\nbrak menedżera "
              "sterowników ODBC.");
}

}  // namespace
}  // namespace xamo
