#include "ui/odbc/odbc_access.h"

#include <dlfcn.h>
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace xamo {
namespace {

// Seconds a connection attempt may take before the driver gives up (where it honours it).
constexpr SQLULEN kLoginTimeout = 30;

// Drivers (SQLite's among them) load the installer library for their settings and unload it
// again on disconnecting, which loses the ini data it keeps; held loaded for the whole process,
// it keeps that data once.
void keep_installer_library() {
    static void* const installer = dlopen("libodbcinst.so.2", RTLD_LAZY | RTLD_NODELETE);
    (void)installer;
}

// Every diagnostic record of a handle, one per line: "SQLSTATE IM002: text".
std::string diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    std::string text;
    if (handle == SQL_NULL_HANDLE) return text;
    for (SQLSMALLINT record = 1; record <= 16; ++record) {
        std::array<SQLCHAR, 6> state{};
        SQLINTEGER native = 0;
        std::array<SQLCHAR, 1024> message{};
        SQLSMALLINT length = 0;
        const SQLRETURN result =
            SQLGetDiagRec(type, handle, record, state.data(), &native, message.data(),
                          static_cast<SQLSMALLINT>(message.size()), &length);
        if (!SQL_SUCCEEDED(result)) break;
        if (!text.empty()) text += "\n";
        text += "SQLSTATE " + std::string(reinterpret_cast<const char*>(state.data())) + ": " +
                std::string(reinterpret_cast<const char*>(message.data()));
    }
    return text;
}

std::string failure_text(SQLSMALLINT type, SQLHANDLE handle, const std::string& what) {
    const std::string text = diagnostics(type, handle);
    return text.empty() ? what : text;
}

// An ODBC handle freed on destruction.
class Handle {
  public:
    explicit Handle(SQLSMALLINT type) : type_(type) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (handle_ != SQL_NULL_HANDLE) SQLFreeHandle(type_, handle_);
    }
    // Allocates the handle under `parent`; false when the driver manager refused.
    bool allocate(SQLHANDLE parent) {
        return SQL_SUCCEEDED(SQLAllocHandle(type_, parent, &handle_));
    }
    SQLHANDLE get() const { return handle_; }
    SQLSMALLINT type() const { return type_; }

  private:
    SQLSMALLINT type_;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

bool open_environment(Handle& env, std::string& error) {
    if (!env.allocate(SQL_NULL_HANDLE)) {
        error = "SQLAllocHandle(SQL_HANDLE_ENV)";
        return false;
    }
    const SQLRETURN result = SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION,
                                           reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(result)) {
        error = failure_text(SQL_HANDLE_ENV, env.get(), "SQLSetEnvAttr");
        return false;
    }
    return true;
}

// One cell as text, read in pieces so that no length limit applies; NULL is the empty text.
bool read_cell(SQLHSTMT statement, SQLUSMALLINT column, std::string& cell) {
    cell.clear();
    std::array<char, 4096> buffer{};
    while (true) {
        SQLLEN indicator = 0;
        const SQLRETURN result = SQLGetData(statement, column, SQL_C_CHAR, buffer.data(),
                                            static_cast<SQLLEN>(buffer.size()), &indicator);
        if (result == SQL_NO_DATA) return true;
        if (!SQL_SUCCEEDED(result)) return false;
        if (indicator == SQL_NULL_DATA) return true;
        // The driver fills the buffer and ends it with a NUL when the text is longer.
        const std::size_t piece = strnlen(buffer.data(), buffer.size() - 1);
        cell.append(buffer.data(), piece);
        const bool more =
            result == SQL_SUCCESS_WITH_INFO &&
            (indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(buffer.size()));
        if (!more) return true;
    }
}

class OdbcConnection : public DataConnection {
  public:
    OdbcConnection() : env_(SQL_HANDLE_ENV), dbc_(SQL_HANDLE_DBC) {}
    ~OdbcConnection() override {
        if (connected_) SQLDisconnect(dbc_.get());
    }

    // Connects with the data source's own user name and password.
    bool open(const std::string& source, std::string& error) {
        if (!open_environment(env_, error)) return false;
        if (!dbc_.allocate(env_.get())) {
            error = failure_text(SQL_HANDLE_ENV, env_.get(), "SQLAllocHandle(SQL_HANDLE_DBC)");
            return false;
        }
        SQLSetConnectAttr(dbc_.get(), SQL_ATTR_LOGIN_TIMEOUT,
                          reinterpret_cast<SQLPOINTER>(kLoginTimeout), 0);
        std::string name = source;
        const SQLRETURN result = SQLConnect(dbc_.get(), reinterpret_cast<SQLCHAR*>(name.data()),
                                            SQL_NTS, nullptr, 0, nullptr, 0);
        if (!SQL_SUCCEEDED(result)) {
            error = failure_text(SQL_HANDLE_DBC, dbc_.get(), "SQLConnect");
            return false;
        }
        connected_ = true;
        return true;
    }

    DataOutcome<std::vector<std::string>> tables() override {
        Handle statement(SQL_HANDLE_STMT);
        if (!statement.allocate(dbc_.get()))
            return DataOutcome<std::vector<std::string>>::failure(
                failure_text(SQL_HANDLE_DBC, dbc_.get(), "SQLAllocHandle(SQL_HANDLE_STMT)"));
        std::string pattern = "%";
        std::string type = "TABLE";
        SQLRETURN result = SQLTables(statement.get(), nullptr, 0, nullptr, 0,
                                     reinterpret_cast<SQLCHAR*>(pattern.data()), SQL_NTS,
                                     reinterpret_cast<SQLCHAR*>(type.data()), SQL_NTS);
        std::vector<std::string> names;
        while (SQL_SUCCEEDED(result)) {
            result = SQLFetch(statement.get());
            if (result == SQL_NO_DATA) return DataOutcome<std::vector<std::string>>::success(names);
            if (!SQL_SUCCEEDED(result)) break;
            std::string name;
            if (!read_cell(statement.get(), 3, name)) {
                result = SQL_ERROR;
                break;
            }
            names.push_back(std::move(name));
        }
        return DataOutcome<std::vector<std::string>>::failure(
            failure_text(SQL_HANDLE_STMT, statement.get(), "SQLTables"));
    }

    DataOutcome<std::vector<DataRow>> query(const std::string& text, std::size_t columns) override {
        using Outcome = DataOutcome<std::vector<DataRow>>;
        Handle statement(SQL_HANDLE_STMT);
        if (!statement.allocate(dbc_.get()))
            return Outcome::failure(
                failure_text(SQL_HANDLE_DBC, dbc_.get(), "SQLAllocHandle(SQL_HANDLE_STMT)"));
        std::string sql = text;
        SQLRETURN result =
            SQLExecDirect(statement.get(), reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS);
        if (!SQL_SUCCEEDED(result) && result != SQL_NO_DATA)
            return Outcome::failure(
                failure_text(SQL_HANDLE_STMT, statement.get(), "SQLExecDirect"));
        SQLSMALLINT count = 0;
        if (!SQL_SUCCEEDED(SQLNumResultCols(statement.get(), &count)))
            return Outcome::failure(
                failure_text(SQL_HANDLE_STMT, statement.get(), "SQLNumResultCols"));
        std::vector<DataRow> rows;
        if (count <= 0) return Outcome::success(std::move(rows));  // a statement without rows
        const auto read = std::min<std::size_t>(static_cast<std::size_t>(count), columns);
        while (true) {
            result = SQLFetch(statement.get());
            if (result == SQL_NO_DATA) break;
            if (!SQL_SUCCEEDED(result))
                return Outcome::failure(failure_text(SQL_HANDLE_STMT, statement.get(), "SQLFetch"));
            DataRow row(read);
            for (std::size_t column = 0; column < read; ++column) {
                if (!read_cell(statement.get(), static_cast<SQLUSMALLINT>(column + 1), row[column]))
                    return Outcome::failure(
                        failure_text(SQL_HANDLE_STMT, statement.get(), "SQLGetData"));
            }
            rows.push_back(std::move(row));
        }
        SQLCloseCursor(statement.get());
        return Outcome::success(std::move(rows));
    }

    DataOutcome<std::vector<std::string>> column_names(const std::string& text) override {
        using Outcome = DataOutcome<std::vector<std::string>>;
        Handle statement(SQL_HANDLE_STMT);
        if (!statement.allocate(dbc_.get()))
            return Outcome::failure(
                failure_text(SQL_HANDLE_DBC, dbc_.get(), "SQLAllocHandle(SQL_HANDLE_STMT)"));
        std::string sql = text;
        if (!SQL_SUCCEEDED(
                SQLPrepare(statement.get(), reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS)))
            return Outcome::failure(failure_text(SQL_HANDLE_STMT, statement.get(), "SQLPrepare"));
        SQLSMALLINT count = 0;
        if (!SQL_SUCCEEDED(SQLNumResultCols(statement.get(), &count)))
            return Outcome::failure(
                failure_text(SQL_HANDLE_STMT, statement.get(), "SQLNumResultCols"));
        std::vector<std::string> names;
        for (SQLSMALLINT column = 1; column <= count; ++column) {
            std::vector<SQLCHAR> name(1024);
            SQLSMALLINT length = 0;
            SQLSMALLINT type = 0;
            SQLULEN size = 0;
            SQLSMALLINT digits = 0;
            SQLSMALLINT nullable = 0;
            if (!SQL_SUCCEEDED(SQLDescribeCol(statement.get(), static_cast<SQLUSMALLINT>(column),
                                              name.data(), static_cast<SQLSMALLINT>(name.size()),
                                              &length, &type, &size, &digits, &nullable)))
                return Outcome::failure(
                    failure_text(SQL_HANDLE_STMT, statement.get(), "SQLDescribeCol"));
            const auto kept = std::min<std::size_t>(
                static_cast<std::size_t>(std::max<SQLSMALLINT>(length, 0)), name.size() - 1);
            names.emplace_back(reinterpret_cast<const char*>(name.data()), kept);
        }
        return Outcome::success(std::move(names));
    }

  private:
    Handle env_;
    Handle dbc_;
    bool connected_ = false;
};

}  // namespace

DataOutcome<std::vector<std::string>> OdbcAccess::sources() {
    using Outcome = DataOutcome<std::vector<std::string>>;
    keep_installer_library();
    Handle env(SQL_HANDLE_ENV);
    std::string error;
    if (!open_environment(env, error)) return Outcome::failure(error);
    std::vector<std::string> names;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (true) {
        std::array<SQLCHAR, 256> name{};
        std::array<SQLCHAR, 512> description{};
        SQLSMALLINT name_length = 0;
        SQLSMALLINT description_length = 0;
        const SQLRETURN result = SQLDataSources(
            env.get(), direction, name.data(), static_cast<SQLSMALLINT>(name.size()), &name_length,
            description.data(), static_cast<SQLSMALLINT>(description.size()), &description_length);
        if (result == SQL_NO_DATA) break;
        if (!SQL_SUCCEEDED(result))
            return Outcome::failure(failure_text(SQL_HANDLE_ENV, env.get(), "SQLDataSources"));
        names.emplace_back(reinterpret_cast<const char*>(name.data()));
        direction = SQL_FETCH_NEXT;
    }
    return Outcome::success(std::move(names));
}

DataOutcome<std::unique_ptr<DataConnection>> OdbcAccess::connect(const std::string& source) {
    using Outcome = DataOutcome<std::unique_ptr<DataConnection>>;
    keep_installer_library();
    auto connection = std::make_unique<OdbcConnection>();
    std::string error;
    if (!connection->open(source, error)) return Outcome::failure(error);
    return Outcome::success(std::move(connection));
}

}  // namespace xamo
