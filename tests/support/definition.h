#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QTest>

// The main window's controls as its definition places them, in twips from the client area's
// top-left corner.
struct PlacedControl
{
    QString name;
    QRect twips;
};

inline QList<PlacedControl> mainWindowControls()
{
    QList<PlacedControl> controls {
        {QStringLiteral("picHit"), {4800, 600, 135, 135}},
        {QStringLiteral("picExplo"), {4560, 0, 465, 465}},
        {QStringLiteral("cmdStart"), {1200, 4440, 1215, 375}},
        {QStringLiteral("cmdExit"), {2640, 4440, 1215, 375}},
        {QStringLiteral("fraField"), {480, 120, 4095, 4215}},
        // 5605 twips is 373.7 pixels: the nearest pixel, 374, is 5610 twips.
        {QStringLiteral("Label4"), {4635, 5610, 495, 255}},
        {QStringLiteral("Label3"), {1320, 5400, 1215, 255}},
        {QStringLiteral("Label2"), {1320, 5160, 1215, 255}},
        {QStringLiteral("Label1"), {1320, 4920, 1215, 255}},
        {QStringLiteral("lblTotal"), {2640, 5400, 1215, 255}},
        {QStringLiteral("lblMiss"), {2640, 5160, 1215, 255}},
        {QStringLiteral("lblOut"), {2640, 4920, 1215, 255}},
    };
    // The holes: a 3 x 3 grid at a pitch of 1320, index 3 x row + column.
    for (int index = 0; index < 9; ++index) {
        controls.append({QStringLiteral("picHole_%1").arg(index),
                         {600 + 1320 * (index % 3), 360 + 1320 * (index / 3), 1215, 1215}});
    }
    return controls;
}

// A data-driven test's rows, one a control: its name and its place in twips.
inline void addMainWindowControlRows()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    for (const PlacedControl &control : mainWindowControls())
        QTest::newRow(qPrintable(control.name)) << control.name << control.twips;
}
