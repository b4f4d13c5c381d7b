// The menu commands of the askable-condition file (create, read, delete) and the import of facts
// and values from an external data source.
#pragma once

namespace xamo {

class Application;

void register_askable_file_commands(Application& app);

}  // namespace xamo
