#include <QApplication>

#include "app/PaaIkkuna.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    qv::PaaIkkuna mainWindow;
    mainWindow.MDIForm_Load();
    return app.exec();
}
