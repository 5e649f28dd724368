#include "dialogfont.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

void useDialogFonts()
{
    const QString dialogFamily = QStringLiteral("MS Sans Serif");
    QFont::insertSubstitutions(dialogFamily,
                               {QStringLiteral("Microsoft Sans Serif"),
                                QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    const QFont desktopFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    QApplication::setFont(QFont(dialogFamily, 8));
    QApplication::setFont(desktopFont, "QMenuBar");
    QApplication::setFont(desktopFont, "QMenu");
}
