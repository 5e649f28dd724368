// The floor of a whole process: a Qt widgets program that shows one bare main window, of the
// width and height its two arguments give, and runs until something ends it.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(QApplication::arguments().value(1).toInt(),
                  QApplication::arguments().value(2).toInt());
    window.show();
    return QApplication::exec();
}
