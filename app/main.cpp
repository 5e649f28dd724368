#include "accessibility.h"
#include "dialogfont.h"
#include "forms.h"
#include "frmmain.h"

#include "picturefile.h"
#include "random.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("varkoz"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    // The installed launcher's name (packaging/CMakeLists.txt), so that task bars tie the
    // windows to it.
    QApplication::setDesktopFileName(QStringLiteral(VARKOZ_DESKTOP_ID));
    // The windows decide when the program is done, hidden ones included.
    QApplication::setQuitOnLastWindowClosed(false);
    useDialogFonts();
    installAccessibility();
    PictureReading::collectDecoderMessages();

    ClockSeededRandom random;
    Forms forms(random);
    QObject::connect(&forms, &Forms::allUnloaded, &app, &QCoreApplication::quit);

    forms.frmMain().show();
    return QApplication::exec();
}
