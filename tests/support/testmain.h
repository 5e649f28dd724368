#pragma once

#include "accessibility.h"
#include "dialogfont.h"

#include <QApplication>
#include <QTest>

// Like QTEST_MAIN, with the program's fonts and accessibility set up as main() sets them up.
#define VARKOZ_TEST_MAIN(TestObject) \
    int main(int argc, char *argv[]) \
    { \
        QApplication app(argc, argv); \
        app.setAttribute(Qt::AA_Use96Dpi, true); \
        useDialogFonts(); \
        installAccessibility(); \
        TestObject test; \
        QTEST_SET_MAIN_SOURCE_PATH \
        return QTest::qExec(&test, argc, argv); \
    }
