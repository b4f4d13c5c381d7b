// The Qt tests need one QApplication for the whole run; without a display they use Qt's
// offscreen platform. Like the program, they run with Qt's own texts in Polish and its icon.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/qt/appearance.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    xamo::prepare_application(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
