// How chance becomes holes and picture numbers: the roundings with ties to even, the hole draw
// that never repeats the last hole, the picture draw after its re-seed, and the real source.
#include "draws.h"
#include "random.h"

#include "support/scriptedrandom.h"

#include <QTest>

#include <array>
#include <chrono>
#include <thread>

class TestDraws : public QObject
{
    Q_OBJECT

private slots:
    void roundsTiesToEven_data();
    void roundsTiesToEven();
    void holeForValue_data();
    void holeForValue();
    void pictureForValue_data();
    void pictureForValue();
    void holeDrawSkipsTheLastHole();
    void holeDrawDoesNotReseed();
    void firstHoleIsNeverHoleZero();
    void pictureDrawReseedsFirst();
    void holeFrequencies();
    void pictureFrequenciesWithFivePictures();
    void clockSourceStaysBelowOne();
    void clockSourceIsUniform();
    void clockSourceReseedsFromTheClock();
};

void TestDraws::roundsTiesToEven_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("rounded");
    QTest::newRow("0.5 to 0") << 0.5f << 0;
    QTest::newRow("1.5 to 2") << 1.5f << 2;
    QTest::newRow("2.5 to 2") << 2.5f << 2;
    QTest::newRow("3.5 to 4") << 3.5f << 4;
    QTest::newRow("7.5 to 8") << 7.5f << 8;
    QTest::newRow("-0.5 to 0") << -0.5f << 0;
    QTest::newRow("-1.5 to -2") << -1.5f << -2;
    QTest::newRow("below half") << 2.4999f << 2;
    QTest::newRow("above half") << 2.5001f << 3;
}

void TestDraws::roundsTiesToEven()
{
    QFETCH(float, value);
    QFETCH(int, rounded);
    QCOMPARE(Draws::roundHalfEven(value), rounded);
}

void TestDraws::holeForValue_data()
{
    QTest::addColumn<float>("r");
    QTest::addColumn<int>("hole");
    QTest::newRow("0") << 0.0f << 0;
    QTest::newRow("just below 1/16") << 0.0624f << 0;
    QTest::newRow("1/16 is a tie, to 0") << 0.0625f << 0;
    QTest::newRow("3/16 is a tie, to 2") << 0.1875f << 2;
    QTest::newRow("5/16 is a tie, to 2") << 0.3125f << 2;
    QTest::newRow("1/2") << 0.5f << 4;
    QTest::newRow("15/16 is a tie, to 8") << 0.9375f << 8;
    QTest::newRow("largest float below 1") << 0.99999994f << 8;
}

void TestDraws::holeForValue()
{
    QFETCH(float, r);
    QFETCH(int, hole);
    QCOMPARE(Draws::holeFor(r), hole);
}

void TestDraws::pictureForValue_data()
{
    QTest::addColumn<float>("r");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("number");
    QTest::newRow("one picture") << 0.9f << 1 << 0;
    QTest::newRow("five, 0") << 0.0f << 5 << 0;
    QTest::newRow("five, tie 0.125 to 0") << 0.125f << 5 << 0;
    QTest::newRow("five, tie 0.375 to 2") << 0.375f << 5 << 2;
    QTest::newRow("five, tie 0.625 to 2") << 0.625f << 5 << 2;
    QTest::newRow("five, top") << 0.99f << 5 << 4;
    QTest::newRow("21 pictures, top") << 0.99999994f << 21 << 20;
    QTest::newRow("no pictures, small draw") << 0.2f << 0 << 0;
    QTest::newRow("no pictures, large draw") << 0.8f << 0 << -1;
}

void TestDraws::pictureForValue()
{
    QFETCH(float, r);
    QFETCH(int, count);
    QFETCH(int, number);
    QCOMPARE(Draws::pictureFor(r, static_cast<qint16>(count)), number);
}

void TestDraws::holeDrawSkipsTheLastHole()
{
    ScriptedRandom random({drawForHole(3), drawForHole(3), drawForHole(5)});
    QCOMPARE(Draws::pickHole(random, 3), 5);
    QCOMPARE(random.remaining(), 0);
}

void TestDraws::holeDrawDoesNotReseed()
{
    ScriptedRandom random({drawForHole(2), drawForHole(6)});
    QCOMPARE(Draws::pickHole(random, 2), 6);
    QCOMPARE(random.reseeds(), 0);
}

void TestDraws::firstHoleIsNeverHoleZero()
{
    // The last hole starts at 0, so a first draw of 0 is drawn again.
    ScriptedRandom random({0.0f, 0.01f, drawForHole(7)});
    QCOMPARE(Draws::pickHole(random, 0), 7);
}

void TestDraws::pictureDrawReseedsFirst()
{
    ScriptedRandom random({0.5f});
    QCOMPARE(Draws::pickPicture(random, 5), 2);
    QCOMPARE(random.log(), QStringList({QStringLiteral("reseed"), QStringLiteral("next")}));
}

void TestDraws::holeFrequencies()
{
    // The ends come half as often as the holes between: 1/16 against 1/8 a draw.
    ClockSeededRandom random;
    constexpr int draws = 160000;
    std::array<int, 9> counts {};
    for (int i = 0; i < draws; ++i)
        ++counts.at(Draws::holeFor(random.next()));
    for (int hole = 0; hole < 9; ++hole) {
        const double expected = (hole == 0 || hole == 8) ? draws / 16.0 : draws / 8.0;
        QVERIFY2(std::abs(counts.at(hole) - expected) < 0.05 * expected,
                 qPrintable(QStringLiteral("hole %1 came %2 times, about %3 expected")
                                .arg(hole)
                                .arg(counts.at(hole))
                                .arg(expected)));
    }
}

void TestDraws::pictureFrequenciesWithFivePictures()
{
    // With five pictures 0 and 4 come 1/8 of the time each, 1 to 3 a quarter each.
    ClockSeededRandom random;
    constexpr int draws = 80000;
    std::array<int, 5> counts {};
    for (int i = 0; i < draws; ++i)
        ++counts.at(Draws::pictureFor(random.next(), 5));
    const std::array<double, 5> share {1.0 / 8, 1.0 / 4, 1.0 / 4, 1.0 / 4, 1.0 / 8};
    for (int number = 0; number < 5; ++number) {
        const double expected = share.at(number) * draws;
        QVERIFY2(
            std::abs(counts.at(number) - expected) < 0.05 * expected,
            qPrintable(
                QStringLiteral("picture %1 came %2 times").arg(number).arg(counts.at(number))));
    }
}

void TestDraws::clockSourceStaysBelowOne()
{
    ClockSeededRandom random;
    float lowest = 1.0f;
    float highest = 0.0f;
    for (int i = 0; i < 1000000; ++i) {
        const float value = random.next();
        QVERIFY(value >= 0.0f);
        QVERIFY(value < 1.0f);
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    QVERIFY(lowest < 0.001f);
    QVERIFY(highest > 0.999f);
}

void TestDraws::clockSourceIsUniform()
{
    ClockSeededRandom random;
    constexpr int buckets = 16;
    constexpr int draws = 160000;
    std::array<int, buckets> counts {};
    for (int i = 0; i < draws; ++i)
        ++counts.at(static_cast<int>(random.next() * buckets));
    for (const int count : counts)
        QVERIFY(std::abs(count - draws / buckets) < draws / buckets / 20);
}

void TestDraws::clockSourceReseedsFromTheClock()
{
    // Two sources seeded at different moments give different sequences; re-seeding starts a
    // fresh one.
    ClockSeededRandom first;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ClockSeededRandom second;
    QList<float> a, b;
    for (int i = 0; i < 8; ++i) {
        a.append(first.next());
        b.append(second.next());
    }
    QVERIFY(a != b);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    first.reseed();
    QList<float> c;
    for (int i = 0; i < 8; ++i)
        c.append(first.next());
    QVERIFY(c != a);
}

QTEST_APPLESS_MAIN(TestDraws)
#include "tst_draws.moc"
