#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(QStringLiteral("Quillo(簡易版)　ｖｅｒ１．１０"));
    w.show();
    return app.exec();
}
