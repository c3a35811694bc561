#include "app/ui/startup.h"

#include <QApplication>
#include <QWidget>

int RunQrxSetup(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.resize(600, 450);
    w.show();
    app.exec();
    return 0;
}
