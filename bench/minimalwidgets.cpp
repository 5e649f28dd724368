// The floor of a whole process: a Qt widgets program that shows one bare main window, of the
// width and height its two arguments give, and runs until something ends it.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    QMainWindow window;
    window.resize(arguments.value(1, QStringLiteral("337")).toInt(),
                  arguments.value(2, QStringLiteral("387")).toInt());
    window.show();
    return QApplication::exec();
}
