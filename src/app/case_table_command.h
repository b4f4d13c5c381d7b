// "Sprawdzenie bazy na tabeli przypadków" (Wnioskowanie): the loaded base checked on a table of
// cases the user chooses, a CSV file or a table of a data source (chosen as the import chooses
// one), the results and the coverage shown in a text window and, on request, stored as a report
// (*.RPT) that "Czytanie raportu" reads. The check itself is the one the front end hands to the
// Application (set_case_table_check).
#pragma once

namespace xamo {

class Application;

inline constexpr int kCaseTableCommand = 10162;

void register_case_table_command(Application& app);

}  // namespace xamo
