// Access to external data sources for the import, without naming the library behind it: the
// front ends supply an implementation (ODBC), tests a fake. Every text crosses this interface as
// the driver gave it (bytes of unknown encoding); the import decides how to read them. Every
// failure carries the driver's own error text.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace xamo {

// A value, or the driver's error text when the operation failed.
template <typename T>
struct DataOutcome {
    std::optional<T> value;
    std::string error;

    static DataOutcome success(T v) { return {std::move(v), {}}; }
    static DataOutcome failure(std::string text) { return {std::nullopt, std::move(text)}; }
    bool ok() const { return value.has_value(); }
};

using DataRow = std::vector<std::string>;

// One open connection; closing it (destroying the object) releases everything it holds.
class DataConnection {
  public:
    virtual ~DataConnection() = default;
    // The names of the tables of the source.
    virtual DataOutcome<std::vector<std::string>> tables() = 0;
    // Runs the statement and fetches every row, each cell as text (a NULL as an empty text); at
    // most `columns` cells of each row are read. All or nothing: a failure while fetching
    // returns the error, never the rows read so far.
    virtual DataOutcome<std::vector<DataRow>> query(const std::string& statement,
                                                    std::size_t columns) = 0;
    // The names of the columns of the statement's result, in order.
    virtual DataOutcome<std::vector<std::string>> column_names(const std::string& statement) {
        (void)statement;
        return DataOutcome<std::vector<std::string>>::failure("column names are not available");
    }
};

class DataSourceAccess {
  public:
    virtual ~DataSourceAccess() = default;
    // The names of every data source defined for the user and the system.
    virtual DataOutcome<std::vector<std::string>> sources() = 0;
    virtual DataOutcome<std::unique_ptr<DataConnection>> connect(const std::string& source) = 0;
};

}  // namespace xamo
