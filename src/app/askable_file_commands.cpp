#include "app/askable_file_commands.h"

#include "app/application.h"
#include "askable/askable_file.h"
#include "askable/import.h"

namespace xamo {

void register_askable_file_commands(Application& app) {
    CommandTable& commands = app.commands();
    commands.set_handler(10144, [&app] { zachowaj(app.store(), app.askable(), app.ui()); });
    commands.set_handler(10145, [&app] { read_askable_file(app.ui()); });
    commands.set_handler(10146, [&app] { delete_askable_file(app.ui()); });
    commands.set_handler(
        10059, [&app] { import_data(app.store(), app.askable(), app.ui(), app.data_sources()); });
}

}  // namespace xamo
