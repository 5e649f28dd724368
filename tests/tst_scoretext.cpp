// The numbers that live in captions: the lenient reading of the score, the strict reading of the
// countdown, the plain decimal text both are written back as, and the precision.
#include "numerictext.h"
#include "score.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

class TestScoreText : public QObject
{
    Q_OBJECT

private slots:
    void lenientReading_data();
    void lenientReading();
    void strictReading_data();
    void strictReading();
    void plainText_data();
    void plainText();
    void plainTextReadsBack();
    void addOne_data();
    void addOne();
    void precision_data();
    void precision();
    void precisionIsExactWhereDoublesAreNot();
};

void TestScoreText::lenientReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("empty") << u""_s << 0.0;
    QTest::newRow("blanks only") << u"   "_s << 0.0;
    QTest::newRow("whole") << u"7"_s << 7.0;
    QTest::newRow("two digits") << u"12"_s << 12.0;
    QTest::newRow("leading blanks") << u"   12"_s << 12.0;
    QTest::newRow("leading tab") << u"\t3"_s << 3.0;
    QTest::newRow("trailing text") << u"12abc"_s << 12.0;
    QTest::newRow("percent sign") << u"66%"_s << 66.0;
    QTest::newRow("words") << u"abc"_s << 0.0;
    QTest::newRow("text before digits") << u"x12"_s << 0.0;
    QTest::newRow("negative") << u"-4"_s << -4.0;
    QTest::newRow("plus sign") << u"+4"_s << 4.0;
    QTest::newRow("sign alone") << u"-"_s << 0.0;
    QTest::newRow("fraction") << u"2.5"_s << 2.5;
    QTest::newRow("leading point") << u".5"_s << 0.5;
    QTest::newRow("point alone") << u"."_s << 0.0;
    QTest::newRow("trailing point") << u"3."_s << 3.0;
    QTest::newRow("exponent") << u"1e3"_s << 1000.0;
    QTest::newRow("exponent without digits") << u"4e"_s << 4.0;
    QTest::newRow("exponent sign without digits") << u"4e+"_s << 4.0;
    QTest::newRow("two numbers") << u"3 4"_s << 3.0;
    QTest::newRow("thousands separator stops it") << u"1,234"_s << 1.0;
    QTest::newRow("non-ASCII digits") << u"\u0663"_s << 0.0;
    QTest::newRow("huge") << u"1e999"_s << std::numeric_limits<double>::max();
    QTest::newRow("tiny") << u"1e-999"_s << 0.0;
}

void TestScoreText::lenientReading()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(NumericText::parseLenient(text), value);
}

void TestScoreText::strictReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");
    QTest::newRow("five") << u"5"_s << true << 5.0;
    QTest::newRow("zero") << u"0"_s << true << 0.0;
    QTest::newRow("negative") << u"-1"_s << true << -1.0;
    QTest::newRow("blanks around") << u" 4 "_s << true << 4.0;
    QTest::newRow("fraction") << u"2.5"_s << true << 2.5;
    QTest::newRow("empty") << u""_s << false << 0.0;
    QTest::newRow("blank") << u" "_s << false << 0.0;
    QTest::newRow("trailing text") << u"5x"_s << false << 0.0;
    QTest::newRow("words") << u"Get Ready..."_s << false << 0.0;
    QTest::newRow("two numbers") << u"3 4"_s << false << 0.0;
}

void TestScoreText::strictReading()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, value);
    const std::optional<double> read = NumericText::parseStrict(text);
    QCOMPARE(read.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*read, value);
}

void TestScoreText::plainText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("seven") << 7.0 << u"7"_s;
    QTest::newRow("twelve") << 12.0 << u"12"_s;
    QTest::newRow("zero") << 0.0 << u"0"_s;
    QTest::newRow("negative zero") << -0.0 << u"0"_s;
    QTest::newRow("minus one") << -1.0 << u"-1"_s;
    QTest::newRow("half") << 0.5 << u"0.5"_s;
    QTest::newRow("million, no separator, no exponent") << 1e6 << u"1000000"_s;
    QTest::newRow("large whole number") << 123456789012.0 << u"123456789012"_s;
    QTest::newRow("shortest fraction") << 0.1 << u"0.1"_s;
}

void TestScoreText::plainText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumericText::plain(value), text);
}

void TestScoreText::plainTextReadsBack()
{
    for (const double value : {0.1, 2.0 / 3.0, -7.25, 1e-7, 98765.4321})
        QCOMPARE(NumericText::parseLenient(NumericText::plain(value)), value);
}

void TestScoreText::addOne_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("after");
    QTest::newRow("empty after New Game") << u""_s << u"1"_s;
    QTest::newRow("one") << u"1"_s << u"2"_s;
    QTest::newRow("nine to ten") << u"9"_s << u"10"_s;
    QTest::newRow("blanks before") << u"  41"_s << u"42"_s;
    QTest::newRow("non-numeric text") << u"lots"_s << u"1"_s;
    QTest::newRow("trailing text") << u"3 hits"_s << u"4"_s;
}

void TestScoreText::addOne()
{
    QFETCH(QString, caption);
    QFETCH(QString, after);
    QCOMPARE(Score::addOne(caption), after);
}

void TestScoreText::precision_data()
{
    QTest::addColumn<QString>("hits");
    QTest::addColumn<QString>("misses");
    QTest::addColumn<QString>("text");
    // The arithmetic for every count up to 200 shots is checked below; these are the texts.
    QTest::newRow("3 hits, 1 miss") << u"3"_s << u"1"_s << u"75%"_s;
    QTest::newRow("2 hits, 1 miss") << u"2"_s << u"1"_s << u"66%"_s;
    QTest::newRow("4 hits, no miss") << u"4"_s << u""_s << u"100%"_s;
    QTest::newRow("57 of 100") << u"57"_s << u"43"_s << u"57%"_s;
    QTest::newRow("cleared captions, no shot") << u""_s << u""_s << u"0%"_s;
}

void TestScoreText::precision()
{
    QFETCH(QString, hits);
    QFETCH(QString, misses);
    QFETCH(QString, text);
    QCOMPARE(Score::precisionText(hits, misses), text);
}

void TestScoreText::precisionIsExactWhereDoublesAreNot()
{
    // Dividing first and multiplying by 100 afterwards loses these to rounding (0.57 x 100 is a
    // hair below 57); every whole-number count from 1 to 200 shots must come out exact.
    int wrongInDoubles = 0;
    for (int shots = 1; shots <= 200; ++shots) {
        for (int hits = 0; hits <= shots; ++hits) {
            const int expected = 100 * hits / shots;
            QCOMPARE(Score::precisionPercent(hits, shots - hits), expected);
            if (static_cast<int>(static_cast<double>(hits) / shots * 100) != expected)
                ++wrongInDoubles;
        }
    }
    QVERIFY2(wrongInDoubles > 0, "the double-precision order must lose some cases");
}

QTEST_APPLESS_MAIN(TestScoreText)
#include "tst_scoretext.moc"
