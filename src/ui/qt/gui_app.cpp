#include "ui/qt/gui_app.h"

#include <QApplication>

#include "app/application.h"
#include "regression/case_command.h"
#include "ui/odbc/odbc_access.h"
#include "ui/qt/appearance.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_interaction.h"

namespace xamo {

int run_gui(int& argc, char** argv) {
    QApplication qt_app(argc, argv);
    prepare_application(qt_app);
    QtInteraction ui;
    OdbcAccess data_sources;
    Application app(ui);
    app.set_data_sources(&data_sources);
    app.set_case_table_check(check_loaded_base);
    MainWindow window(app, ui);
    window.show();
    return QApplication::exec();
}

}  // namespace xamo
