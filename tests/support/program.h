#pragma once

#include "forms.h"
#include "frmabout.h"
#include "frmstart.h"
#include "pictures.h"
#include "pictureset.h"
#include "scriptedrandom.h"
#include "units.h"

#include <QCoreApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

// The whole program's windows, as main() builds them, with scripted chance and a counted
// loader. allUnloaded is recorded instead of ending the test.
struct Program
{
    ScriptedRandom random;
    DiskFileLookup files;
    CountingLoader loader;
    Forms forms {RangeServices {random, files, loader}};
    QSignalSpy allUnloaded {&forms, &Forms::allUnloaded};

    // Shows the main window as the program's start does.
    FrmMain &start()
    {
        FrmMain &main = forms.frmMain();
        main.show();
        (void)QTest::qWaitForWindowActive(&main);
        return main;
    }

    template<class T = QWidget>
    static T *control(const QWidget &window, const QString &name)
    {
        return window.findChild<T *>(name);
    }
    static QString text(const QWidget &window, const QString &name)
    {
        return control<QLabel>(window, name)->text();
    }
    static void tick(const QWidget &window, const QString &timer)
    {
        QMetaObject::invokeMethod(control<QTimer>(window, timer), "timeout", Qt::DirectConnection);
    }
    static void clickButton(const QWidget &window, const QString &name)
    {
        QTest::mouseClick(control(window, name), Qt::LeftButton);
    }

    // Runs the event loop, as main() does, until the program ends it (0) or five seconds pass
    // (99); what the test does meanwhile starts from its first iteration.
    static int runEventLoop(const std::function<void()> &meanwhile)
    {
        QTimer::singleShot(50, qApp, meanwhile);
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
        watchdog.start(5000);
        return QCoreApplication::exec();
    }

    // Lets closed windows finish unloading.
    static void settle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
};
