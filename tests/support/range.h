#pragma once

#include "frmmain.h"
#include "picturebox.h"
#include "pictures.h"
#include "pictureset.h"
#include "scriptedrandom.h"
#include "units.h"

#include <QLabel>
#include <QTest>
#include <QWindow>

#include <memory>

// A main window with scripted chance, the real file system (the current directory) and the
// real picture decoder, counted. The window is shown unless the test asks otherwise.
struct Range
{
    ScriptedRandom random;
    DiskFileLookup files;
    CountingLoader loader;
    std::unique_ptr<FrmMain> window;

    explicit Range(bool show = true)
        : window(std::make_unique<FrmMain>(RangeServices {random, files, loader}))
    {
        if (show) {
            window->show();
            (void)QTest::qWaitForWindowExposed(window.get());
        }
    }

    template<class T = QWidget>
    T *control(const QString &name) const
    {
        return window->findChild<T *>(name);
    }
    PictureBox *hole(int index) const
    {
        return control<PictureBox>(QStringLiteral("picHole_%1").arg(index));
    }
    PictureBox *marker() const { return control<PictureBox>(QStringLiteral("picExplo")); }
    PictureBox *hitPicture() const { return control<PictureBox>(QStringLiteral("picHit")); }
    QWidget *field() const { return control(QStringLiteral("fraField")); }
    QString hits() const { return control<QLabel>(QStringLiteral("lblOut"))->text(); }
    QString misses() const { return control<QLabel>(QStringLiteral("lblMiss"))->text(); }
    QString precision() const { return control<QLabel>(QStringLiteral("lblTotal"))->text(); }
    void setCaption(const QString &name, const QString &text) const
    {
        control<QLabel>(name)->setText(text);
    }

    // The holes whose own Visible flag is set.
    QList<int> visibleHoles() const
    {
        QList<int> holes;
        for (int i = 0; i < 9; ++i)
            if (!hole(i)->isHidden())
                holes.append(i);
        return holes;
    }

    // Window handlers driven directly, as the timer and the countdown would.
    void tick() const { QMetaObject::invokeMethod(timer(), "timeout", Qt::DirectConnection); }
    QTimer *timer() const { return window->findChild<QTimer *>(QStringLiteral("tmr1")); }

    // A point of the client area (below the menu bar) in the coordinates of the window's
    // QWindow, where a real press lands.
    QPoint windowPoint(QPoint client) const
    {
        return window->centralWidget()->mapTo(window.get(), client);
    }
    // A press and release at a point of the client area, hit-tested as a real one.
    void clickClient(QPoint client, Qt::MouseButton button = Qt::LeftButton) const
    {
        QTest::mouseClick(window->windowHandle(), button, {}, windowPoint(client));
    }
    // The centre of a hole's 81 x 81 square in client coordinates.
    static QPoint holeCentre(int index)
    {
        return {px(600 + 1320 * (index % 3)) + 40, px(360 + 1320 * (index / 3)) + 40};
    }
};
