// Data sources through the ODBC driver manager (unixODBC): the implementation of
// DataSourceAccess that both front ends hand to the Application. Names, cells and error texts are
// passed on as the driver manager and the driver give them.
#pragma once

#include "askable/data_source.h"

namespace xamo {

class OdbcAccess : public DataSourceAccess {
  public:
    DataOutcome<std::vector<std::string>> sources() override;
    DataOutcome<std::unique_ptr<DataConnection>> connect(const std::string& source) override;
};

}  // namespace xamo
