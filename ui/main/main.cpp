#include <QApplication>

#include "ui/main/TFormMain.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    zz::TFormMain formMain;
    formMain.show();
    return QApplication::exec();
}
