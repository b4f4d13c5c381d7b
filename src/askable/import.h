// Import of declared facts and known argument values from a table of an external data source.
//
// import_data runs the whole command: the data-source list, the connection, the table list, the
// query ("SELECT * FROM name", brackets around a name holding a blank), the row count, then
// examine_rows and add_imported, and the review. Only the first three cells of a row matter:
// "fakt" + condition, or "argument_znany" + name + value (a decimal comma is allowed); an empty
// cell or "<Error loading>" disqualifies the row, anything else in the first cell is ignored.
//
// All or nothing: the rows are fetched completely before anything is examined, so a failure of
// the source adds nothing. examine_rows also refuses what would contradict the loaded bases (a
// fact beside its negation or beside another member of its constraint, a second value of an
// argument, ...); the review lists the refused rows with the reason. What is added lives in
// memory only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "askable/askable_memory.h"
#include "askable/data_source.h"
#include "kb/facts.h"

namespace xamo {

class UserInteraction;

struct KnownValue {
    std::string argument;
    double value = 0;
};

struct ImportedData {
    StringList facts;                         // fakt(condition) to add to the rule base
    std::vector<KnownValue> arguments;        // argument_znany to add to the model base
    StringList faktdowyswietlenia;            // what the review shows of them
    StringList argument_znanydowyswietlenia;  // "name = value text"
    StringList refused;                       // "what: why", in row order
};

// Text from the source as the program keeps it: UTF-8 when it is valid UTF-8, otherwise read as
// Windows-1250 (what a Windows spreadsheet driver delivers).
std::string text_from_source(std::string_view bytes);
// The query for a table, the name in brackets when it holds a blank.
std::string select_statement(const std::string& table);

// A value text with a decimal comma or point; the error number when it is not a finite number
// (1: not a number, 2: out of range).
struct ImportedNumber {
    std::optional<double> value;
    int error = 0;
};
ImportedNumber read_imported_number(std::string_view text);

// Rows whose cells are already UTF-8. Notes each bad number (its row is skipped).
ImportedData examine_rows(const std::vector<DataRow>& rows, const FactStore& store,
                          const AskableMemory& memory, UserInteraction& ui);
void add_imported(FactStore& store, const ImportedData& data);

// The import command; without access to data sources it says so.
void import_data(FactStore& store, const AskableMemory& memory, UserInteraction& ui,
                 DataSourceAccess* access);

}  // namespace xamo
