// Text and clock-time helpers.
#include "TestUtil.h"

#include "app/Errors.h"
#include "app/TextHelpers.h"

using namespace TextHelpers;

class TestTextHelpers : public QObject
{
    Q_OBJECT
private slots:
    void splitToList_data();
    void splitToList();
    void extractBetween_data();
    void extractBetween();
    void clockTextToSeconds_data();
    void clockTextToSeconds();
    void clockTextToSecondsRaisesOnNonNumbers_data();
    void clockTextToSecondsRaisesOnNonNumbers();
    void secondsToClockText_data();
    void secondsToClockText();
    void trim();
};

void TestTextHelpers::splitToList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("two") << "a;b" << ";" << QStringList{"a", "b"};
    QTest::newRow("empties dropped") << ";a;;b;" << ";" << QStringList{"a", "b"};
    QTest::newRow("single") << "a" << ";" << QStringList{"a"};
    QTest::newRow("empty") << "" << ";" << QStringList{};
    QTest::newRow("only separators") << ";;;" << ";" << QStringList{};
    QTest::newRow("long separator") << "aXYbXYXYc" << "XY" << QStringList{"a", "b", "c"};
    QTest::newRow("blank items kept") << " ; " << ";" << QStringList{" ", " "};
}

void TestTextHelpers::splitToList()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(QStringList, expected);
    QCOMPARE(SplitToList(text, separator), expected);
}

void TestTextHelpers::extractBetween_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("last complete wins") << "[" << "]" << "[1] [2] [3" << "2";
    QTest::newRow("none") << "[" << "]" << "abc" << "";
    QTest::newRow("no start") << "[" << "]" << "abc]" << "";
    QTest::newRow("empty value") << "[" << "]" << "x[]y" << "";
    QTest::newRow("markers") << "ffmpeg_release_time=" << "=ffmpeg_release_time"
                             << "ffmpeg_release_time=50.00=ffmpeg_release_time\nffmpeg_release_time=100.00=ffmpeg_release_time\nffmpeg_release_time=12"
                             << "100.00";
    // The start marker must end at or before the end marker begins.
    QTest::newRow("overlapping markers") << "ab" << "ba" << "xaba" << "";
    QTest::newRow("end before any start") << "<" << ">" << "> <" << "";
}

void TestTextHelpers::extractBetween()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ExtractBetween(start, end, text), expected);
}

void TestTextHelpers::clockTextToSeconds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("fraction") << "01:02:03.5" << qint64(3723);
    QTest::newRow("no fraction") << "01:02:03" << qint64(0);
    QTest::newRow("two parts") << "1:2.5" << qint64(0);
    QTest::newRow("empty") << "" << qint64(0);
    QTest::newRow("two dots") << "00:00:01.5.5" << qint64(0);
    QTest::newRow("large parts") << "100:75:80.0" << qint64(100 * 3600 + 75 * 60 + 80);
    QTest::newRow("duration marker") << "00:03:20.00" << qint64(200);
    // 32-bit arithmetic wraps instead of overflowing.
    QTest::newRow("wraps") << "2000000:00:00.0" << qint64(qint32(quint32(2000000u * 3600u)));
}

void TestTextHelpers::clockTextToSeconds()
{
    QFETCH(QString, text);
    QFETCH(qint64, expected);
    QCOMPARE(ClockTextToSeconds(text), expected);
}

void TestTextHelpers::clockTextToSecondsRaisesOnNonNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("letters") << "aa:bb:cc.dd";
    QTest::newRow("bad fraction") << "00:00:01.x";
    QTest::newRow("beyond 32 bits") << "9999999999:00:00.0";
}

void TestTextHelpers::clockTextToSecondsRaisesOnNonNumbers()
{
    QFETCH(QString, text);
    try {
        ClockTextToSeconds(text);
        QFAIL("no conversion error");
    } catch (const ZError &e) {
        QCOMPARE(e.kind(), ZError::Convert);
    }
}

void TestTextHelpers::secondsToClockText_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("expected");
    QTest::newRow("3599") << qint64(3599) << "00:59:59";
    QTest::newRow("360000") << qint64(360000) << "100:00:00";
    QTest::newRow("0") << qint64(0) << "00:00:00";
    QTest::newRow("3723") << qint64(3723) << "01:02:03";
}

void TestTextHelpers::secondsToClockText()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, expected);
    QCOMPARE(SecondsToClockText(seconds), expected);
}

void TestTextHelpers::trim()
{
    QCOMPARE(Trim(QStringLiteral(" \t00:01:00\r\n ")), QStringLiteral("00:01:00"));
    QCOMPARE(Trim(QStringLiteral("   ")), QString());
    QCOMPARE(Trim(QStringLiteral("a b")), QStringLiteral("a b"));
}

ZENDREL_TEST_MAIN(TestTextHelpers)
#include "tst_texthelpers.moc"
