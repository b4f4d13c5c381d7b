#include "ui/qt/gui_app.h"

#include <QApplication>

#include "app/application.h"
#include "ui/qt/appearance.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_interaction.h"

namespace xamo {

int run_gui(int& argc, char** argv) {
    QApplication qt_app(argc, argv);
    prepare_application(qt_app);
    QtInteraction ui;
    Application app(ui);
    MainWindow window(app, ui);
    window.show();
    return QApplication::exec();
}

}  // namespace xamo
