// How chance becomes holes and picture numbers: the roundings with ties to even, the hole draw
// that never repeats the last hole, the picture draw after its re-seed, and the real source.
#include "draws.h"
#include "random.h"

#include "support/scriptedrandom.h"

#include <QTest>

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
    void pictureDrawReseedsFirst();
    void endsComeHalfAsOften_data();
    void endsComeHalfAsOften();
    void clockSourceStaysBelowOne();
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
    // Drawn again, without a re-seed, until it differs from the last hole.
    ScriptedRandom random({drawForHole(3), drawForHole(3), drawForHole(5)});
    QCOMPARE(Draws::pickHole(random, 3), 5);
    QCOMPARE(random.remaining(), 0);
    QCOMPARE(random.reseeds(), 0);
}

void TestDraws::pictureDrawReseedsFirst()
{
    ScriptedRandom random({0.5f});
    QCOMPARE(Draws::pickPicture(random, 5), 2);
    QCOMPARE(random.log(), QStringList({QStringLiteral("reseed"), QStringLiteral("next")}));
}

void TestDraws::endsComeHalfAsOften_data()
{
    QTest::addColumn<int>("pictures");
    QTest::newRow("nine holes: 1/16 against 1/8") << 0;
    QTest::newRow("five pictures: 1/8 against 1/4") << 5;
}

void TestDraws::endsComeHalfAsOften()
{
    QFETCH(int, pictures);
    const int outcomes = pictures ? pictures : Draws::holeCount;
    constexpr int drawsPerOutcome = 16000;
    const int draws = drawsPerOutcome * outcomes;
    ClockSeededRandom random;
    QList<int> counts(outcomes);
    for (int i = 0; i < draws; ++i) {
        const float r = random.next();
        ++counts[pictures ? Draws::pictureFor(r, qint16(pictures)) : Draws::holeFor(r)];
    }
    const double inner = double(draws) / (outcomes - 1);
    for (int value = 0; value < outcomes; ++value) {
        const double expected = (value == 0 || value == outcomes - 1) ? inner / 2 : inner;
        QVERIFY2(std::abs(counts.at(value) - expected) < 0.05 * expected,
                 qPrintable(QStringLiteral("%1 came %2 times").arg(value).arg(counts.at(value))));
    }
}

void TestDraws::clockSourceStaysBelowOne()
{
    ClockSeededRandom random;
    for (int i = 0; i < 1000000; ++i) {
        const float value = random.next();
        QVERIFY(value >= 0.0f && value < 1.0f);
    }
}

void TestDraws::clockSourceReseedsFromTheClock()
{
    ClockSeededRandom random;
    const auto eight = [&random] {
        QList<float> values;
        for (int i = 0; i < 8; ++i)
            values.append(random.next());
        return values;
    };
    const QList<float> first = eight();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    random.reseed();
    QVERIFY(eight() != first);
}

QTEST_APPLESS_MAIN(TestDraws)
#include "tst_draws.moc"
