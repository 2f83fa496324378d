#include "app/ui/syn_app.h"

#include <QApplication>
#include <QMainWindow>

namespace lyr::app {
int runApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow w;
    w.setWindowTitle("LYR");
    w.show();
    return app.exec();
}
}  // namespace lyr::app
