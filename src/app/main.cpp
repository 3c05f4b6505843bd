#include "app/Unit1.h"
#include "app/application.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    setUpApplication();
    TForm1 Form1;
    Form1.show();
    QApplication::exec();
    return 0;
}
