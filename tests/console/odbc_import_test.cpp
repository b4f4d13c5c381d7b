// The import end to end: a real SQLite database file read through unixODBC and Debian's SQLite
// ODBC driver, with the data sources defined in a temporary odbc.ini (ODBCSYSINI, ODBCINI), and
// the console front end driven by a script.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/application.h"
#include "support/base_dir.h"
#include "support/golden.h"
#include "ui/console/cases_command.h"
#include "ui/console/console_app.h"
#include "ui/console/console_interaction.h"
#include "ui/odbc/odbc_access.h"

namespace xamo {
namespace {

// The SQLite ODBC driver as the package installs it.
std::string sqlite_driver() {
    std::vector<std::filesystem::path> candidates = {"/usr/lib/odbc/libsqlite3odbc.so"};
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/lib", ec))
        candidates.push_back(entry.path() / "odbc" / "libsqlite3odbc.so");
    for (const auto& path : candidates) {
        if (std::filesystem::exists(path, ec)) return path.string();
    }
    return {};
}

// The data sources: "pacjenci", a SQLite file, and "bez_sterownika", whose driver library does
// not exist, in ini files of a temporary directory named by ODBCSYSINI and ODBCINI. The driver
// manager keeps the place of its ini files once it has read them, so the directory is made once
// per process and kept until its end.
const testing::TempDir& odbc_directory() {
    static const testing::TempDir made;
    static const bool written = [] {
        const std::string odbc = made.path().string();
        made.write("odbcinst.ini", "[XamoSQLite]\nDescription=SQLite3\nDriver=" + sqlite_driver() +
                                       "\n[XamoBrak]\nDescription=brak\nDriver=" + odbc +
                                       "/brak/libbrak.so\n");
        made.write("odbc.ini", "[pacjenci]\nDriver=XamoSQLite\nDatabase=" + odbc +
                                   "/pacjenci.db\n[bez_sterownika]\nDriver=XamoBrak\nDatabase=" +
                                   odbc + "/brak.db\n");
        made.write("odbc_uzytkownika.ini", "");
        ::setenv("ODBCSYSINI", odbc.c_str(), 1);
        ::setenv("ODBCINI", (odbc + "/odbc_uzytkownika.ini").c_str(), 1);
        return true;
    }();
    (void)written;
    return made;
}

// A knowledge base about flu, beside the data sources.
class OdbcImport : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(sqlite_driver().empty())
            << "the SQLite ODBC driver (libsqliteodbc) is not installed";
        odbc_directory();
        dir = std::filesystem::path(base.path("x")).parent_path().string();
        base.write("REgrypa.BRD",
                   {R"(reguła(1,"grypa",["gorączka","kaszel"],1))",
                    R"(reguła(2,"angina",["ból_gardła","gorączka"],1))",
                    R"(reguła(3,"przeziębienie",["katar","ngorączka"],1))",
                    R"(reguła(4,"ostrożnie",["grypa","duża_dawka"],1))", R"(fakt("ból_gardła"))"});
        base.write("MOgrypa.BRD", {R"(model(1,"bez warunku","dawka","waga","*","2",1))",
                                   R"(model(2,"bez warunku","duża_dawka","dawka",">","100",1))",
                                   R"(model(3,"bez warunku","bmi","waga","/","wzrost",1))"});
        base.write("OGgrypa.BRD", {R"(ograniczenie(1,["ból_gardła","katar"]))"});
    }

    // Creates the database through the driver itself, so no other tool is needed.
    void create_database() {
        OdbcAccess access;
        auto connected = access.connect("pacjenci");
        ASSERT_TRUE(connected.ok()) << connected.error;
        auto& db = **connected.value;
        for (const char* statement : {
                 "DROP TABLE IF EXISTS [dane importu]",
                 "DROP TABLE IF EXISTS inne",
                 "CREATE TABLE [dane importu] (rodzaj, nazwa, wartosc)",
                 "CREATE TABLE inne (a, b, c)",
                 "INSERT INTO [dane importu] VALUES ('fakt', 'gorączka', NULL)",
                 "INSERT INTO [dane importu] VALUES ('fakt', 'kaszel', 'tak')",
                 "INSERT INTO [dane importu] VALUES ('fakt', 'katar', 'tak')",
                 "INSERT INTO [dane importu] VALUES ('fakt', '', 'tak')",
                 "INSERT INTO [dane importu] VALUES ('argument_znany', 'waga', '60,5')",
                 "INSERT INTO [dane importu] VALUES ('argument_znany', 'wzrost', 1.75)",
                 "INSERT INTO [dane importu] VALUES ('argument_znany', 'temperatura', '38,5,1')",
                 "INSERT INTO [dane importu] VALUES ('uwaga', 'wiersz pominięty', '1')",
                 "INSERT INTO [dane importu] VALUES ('argument_znany', NULL, '5')",
             }) {
            const auto done = db.query(statement, 0);
            ASSERT_TRUE(done.ok()) << statement << ": " << done.error;
        }
    }

    // The case table "przypadki": its column names are the header, NULL declares nothing.
    void create_case_table() {
        OdbcAccess access;
        auto connected = access.connect("pacjenci");
        ASSERT_TRUE(connected.ok()) << connected.error;
        for (const char* statement : {
                 "DROP TABLE IF EXISTS przypadki",
                 "CREATE TABLE przypadki (gorączka, kaszel, katar, waga, wzrost, oczekiwane, "
                 "wykluczone)",
                 "INSERT INTO przypadki VALUES ('tak', 'tak', 'nie', '70,5', 1.8, "
                 "'grypa|ostrożnie', "
                 "'przeziębienie')",
                 "INSERT INTO przypadki VALUES ('nie', 'nie', 'tak', 40, 1.5, 'przeziębienie', '')",
                 "INSERT INTO przypadki VALUES ('tak', NULL, 'nie', 40, 1.5, 'grypa', '')",
             }) {
            const auto done = (*connected.value)->query(statement, 0);
            ASSERT_TRUE(done.ok()) << statement << ": " << done.error;
        }
    }

    // The place of `table` in the source's list of tables, as the console's list numbers it.
    static std::string list_position(const std::string& table) {
        OdbcAccess access;
        auto connected = access.connect("pacjenci");
        if (!connected.ok()) return {};
        const auto tables = (*connected.value)->tables();
        if (!tables.ok()) return {};
        const auto at = std::find(tables.value->begin(), tables.value->end(), table);
        if (at == tables.value->end()) return {};
        return std::to_string(at - tables.value->begin() + 1);
    }

    std::string run(const std::string& script) {
        std::filesystem::current_path(dir);
        std::istringstream in(script);
        std::ostringstream out;
        run_console(in, out, true);
        return out.str();
    }

    testing::BaseDir base;
    std::string dir;
};

TEST_F(OdbcImport, FactsAndValuesFromSqliteTakePartInForwardInference) {
    create_database();
    if (HasFatalFailure()) return;
    const std::string transcript =
        run("10058\nREgrypa.BRD\nnie\nnie\nnie\n10071\nMOgrypa.BRD\n10087\nOGgrypa.BRD\nnie\nnie\n"
            "10059\n1\n1\n"  // pacjenci, the table "dane importu"
            "10148\n\n\n\n\n\n");
    // The import itself, word for word.
    const auto inference = transcript.find("> 10148");
    ASSERT_NE(inference, std::string::npos) << transcript;
    expect_golden("odbc_import.transcript", transcript.substr(0, inference), dir);
    // Inference starts from the imported facts and values and concludes from them.
    const std::string run_text = transcript.substr(inference);
    for (const char* expected : {
             "W bazie reguł są następujące fakty:\n    ból_gardła\n    gorączka\n    kaszel\n",
             "W bazie modeli są wartości następujących argumentów:\n    waga=60.5\n    "
             "wzrost=1.75\n",
             "Stąd wynika wniosek: \n    grypa\n",
             "  dawka = 121\n",
             "Stąd wynika wniosek: \n    ostrożnie\n",
         }) {
        EXPECT_NE(run_text.find(expected), std::string::npos) << expected << "\n" << run_text;
    }
}

TEST_F(OdbcImport, MissingDriverEndsTheImportWithANoteAndAddsNothing) {
    // The rule base (its three diagnoses declined), then "bez_sterownika".
    std::istringstream in("REgrypa.BRD\nnie\nnie\nnie\n2\n");
    std::ostringstream out;
    ConsoleInteraction ui(in, out, true);
    OdbcAccess access;
    Application app(ui);
    app.set_data_sources(&access);
    app.start();
    app.close_introduction();
    std::filesystem::current_path(dir);
    app.run_command(10058);
    ASSERT_TRUE(app.store().any(Kind::nazwa_re));
    const auto facts_before = app.store().all(Kind::fakt);
    app.run_command(10059);
    EXPECT_EQ(app.store().all(Kind::fakt), facts_before);
    EXPECT_FALSE(app.store().any(Kind::argument_znany));
    ui.flush();
    const std::string transcript = out.str();
    const std::string note =
        "[note]\nBłąd!\nNie można połączyć się ze źródłem danych bez_sterownika.\nBłąd ODBC: ";
    const auto at = transcript.find(note);
    ASSERT_NE(at, std::string::npos) << transcript;
    // The driver manager's own words name the library it could not load.
    EXPECT_NE(transcript.find(odbc_directory().path().string() + "/brak/libbrak.so", at),
              std::string::npos)
        << transcript;
}

// A case table kept in a SQLite table: its column names are the header, NULL declares nothing
// (so that row's question stays open), and the rows pass and fail as a CSV table's would.
TEST_F(OdbcImport, CaseTableFromADataSourceRunsLikeACsvTable) {
    create_case_table();
    if (HasFatalFailure()) return;
    std::ostringstream out;
    std::ostringstream err;
    OdbcAccess access;
    ASSERT_EQ(run_cases({"przypadki", dir, "pacjenci", false}, access, out, err), 1) << err.str();
    EXPECT_EQ(out.str().substr(0, out.str().find("Przypadków")),
              "wiersz 2: zgodny\n"
              // The constraint refutes katar, as ból_gardła is a fact of the base.
              "wiersz 3: niezgodny; nieustalone oczekiwane: przeziębienie\n"
              "wiersz 4: brak odpowiedzi na pytanie: kaszel?\n");
    std::ostringstream missing;
    EXPECT_EQ(run_cases({"nie ma", dir, "pacjenci", false}, access, out, missing), 3);
    EXPECT_EQ(missing.str().rfind("Nie można odczytać tabeli nie ma ze źródła danych pacjenci:", 0),
              0u)
        << missing.str();
}

// The menu command takes the same table through the import's dialogs and shows what --odbc
// prints.
TEST_F(OdbcImport, CaseTableCommandChoosesTheTableAsTheImportDoes) {
    create_case_table();
    if (HasFatalFailure()) return;
    const std::string position = list_position("przypadki");
    ASSERT_FALSE(position.empty());
    std::ostringstream expected;
    std::ostringstream err;
    OdbcAccess access;
    ASSERT_EQ(run_cases({"przypadki", dir, "pacjenci", false}, access, expected, err), 1)
        << err.str();
    const std::string transcript =
        run("10058\nREgrypa.BRD\nnie\nnie\nnie\n10071\nMOgrypa.BRD\n10087\nOGgrypa.BRD\nnie\nnie\n"
            "10162\n2\n1\n" +
            position + "\nnie\n");
    for (const std::string& part : {
             std::string("[choose]\nWybór źródła danych\nWybierz źródło danych\n"),
             std::string("[choose]\nWybór tabeli przypadków\nWybierz tabelę przypadków\n"),
             "[window]\nSprawdzenie bazy na tabeli przypadków\n" + expected.str(),
         }) {
        EXPECT_NE(transcript.find(part), std::string::npos) << part << "\n" << transcript;
    }
}

}  // namespace
}  // namespace xamo
