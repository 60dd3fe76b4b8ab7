// Reading the encoder's markers into the progress bar and the status line,
// and the order of logging and parsing in the output handlers.
#include "TestUtil.h"

#include "app/Errors.h"
#include "app/TfrmCommon.h"
#include "mainwindow/TfrmMain.h"
#include "run/TConsoleIO.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {
const QString kPath = QStringLiteral("/clips/b clip.avi");
const QString kTemplate = QStringLiteral("Converting %s:");

QString dur(const QString &v)
{
    return QStringLiteral("ffmpeg_release_duration=") + v + QStringLiteral("=ffmpeg_release_duration");
}
QString tim(const QString &v)
{
    return QStringLiteral("ffmpeg_release_time=") + v + QStringLiteral("=ffmpeg_release_time");
}
} // namespace

class TestProgress : public QObject
{
    Q_OBJECT
    QTemporaryDir m_tmp;
    QString m_dir;

    // Three rows; the middle one is the current job.
    void setQueue(const QString &start, const QString &duration)
    {
        frmMain->listViewFiles->clear();
        for (const QString &p : {QStringLiteral("/clips/a.avi"), kPath, QStringLiteral("/clips/c.avi")}) {
            auto *item = new QTreeWidgetItem(frmMain->listViewFiles);
            item->setText(0, p);
            item->setText(1, QStringLiteral("00:00:00"));
        }
        QTreeWidgetItem *item = frmMain->listViewFiles->topLevelItem(1);
        item->setText(1, start);
        item->setText(2, duration);
        frmMain->listViewFiles->setCurrentItem(item);
        item->setSelected(true);
    }
    void setLogging(const QString &value)
    {
        TestUtil::writeFile(frmCommon->ConfigFile, ("[setting]\r\nlogfile=" + value + "\r\n").toUtf8());
    }
    QString status() const { return frmMain->labelCurrentInfo->text(); }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void markers_data();
    void markers();
    void malformedValues_data();
    void malformedValues();
    void nothingSelected();
    void logRecordComesFirst();
    void unwritableLogSkipsParsing();
    void malformedMarkerThroughComponent();
};

void TestProgress::initTestCase()
{
    QVERIFY(m_tmp.isValid());
    m_dir = TestUtil::makeProgramDir(m_tmp);
    TestUtil::startProgram(m_dir);
    QVERIFY(frmMain);
}

void TestProgress::cleanupTestCase()
{
    TestUtil::stopProgram();
}

void TestProgress::init()
{
    frmMain->msgStatusRun = kTemplate;
    frmMain->InputDurationSeconds = 0;
    frmMain->MaxTimeSeconds = 0;
    frmMain->labelCurrentInfo->setText(QStringLiteral("before"));
    frmMain->progressBarCurrent->setValue(77);
    QFile::remove(frmMain->LogFilePath());
    setLogging(QStringLiteral("0"));
}

void TestProgress::markers_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("duration");
    QTest::addColumn<qint64>("inDur0");
    QTest::addColumn<qint64>("max0");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("inDur");
    QTest::addColumn<qint64>("max");
    QTest::addColumn<int>("bar");
    QTest::addColumn<QString>("endText");

    const QString z = QStringLiteral("00:00:00");
    QTest::newRow("duration marker") << z << "" << 0LL << 0LL << "Input #0 " + dur("00:03:20.00") + " x"
                                     << 200LL << 0LL << 0 << "00:03:20";
    QTest::newRow("last complete time wins") << z << "" << 200LL << 0LL
                                             << tim("50.00") + " frame=9 " + tim("100.00") << 200LL << 100LL << 50
                                             << "00:03:20";
    QTest::newRow("duration and time in one chunk") << z << "" << 0LL << 0LL << dur("00:03:20.00") + "\n" + tim("100.00")
                                                    << 200LL << 100LL << 50 << "00:03:20";
    QTest::newRow("cut-off pair ignored") << z << "" << 200LL << 0LL << tim("10.00") + " ffmpeg_release_time=12"
                                          << 200LL << 10LL << 5 << "00:03:20";
    QTest::newRow("cut-off pair only") << z << "" << 200LL << 30LL << "ffmpeg_release_time=12" << 200LL << 30LL << 15
                                       << "00:03:20";
    QTest::newRow("trimmed item") << "00:01:00" << "00:02:00" << 0LL << 0LL << tim("60.4") << 0LL << 60LL << 50
                                  << "00:03:00";
    QTest::newRow("half down to even") << z << "00:01:40" << 0LL << 0LL << tim("2.5") << 0LL << 2LL << 2 << "00:01:40";
    QTest::newRow("half up to even") << z << "00:01:40" << 0LL << 0LL << tim("3.5") << 0LL << 4LL << 4 << "00:01:40";
    QTest::newRow("percent half to even, down") << z << "00:00:08" << 0LL << 0LL << tim("1") << 0LL << 1LL << 12
                                                << "00:00:08";
    QTest::newRow("percent half to even, up") << z << "00:00:08" << 0LL << 0LL << tim("3") << 0LL << 3LL << 38
                                              << "00:00:08";
    QTest::newRow("bar stops at 99") << z << "00:00:10" << 0LL << 0LL << tim("10.0") << 0LL << 10LL << 99 << "00:00:10";
    QTest::newRow("past the end") << z << "00:00:10" << 0LL << 0LL << tim("50") << 0LL << 50LL << 99 << "00:00:10";
    QTest::newRow("smaller time shown as it is") << z << "" << 200LL << 100LL << tim("40.0") << 200LL << 100LL << 20
                                                 << "00:03:20";
    QTest::newRow("no marker: bar from the largest time") << z << "" << 200LL << 50LL << "frame=  10 fps=0.0"
                                                          << 200LL << 50LL << 25 << "00:03:20";
    QTest::newRow("empty delivery") << z << "" << 200LL << 50LL << "" << 200LL << 50LL << 25 << "00:03:20";
    QTest::newRow("blanks and controls around values") << z << "" << 0LL << 0LL
                                                       << dur(" 00:03:20.00\r") + tim("\t12.0 \r") << 200LL << 12LL
                                                       << 6 << "00:03:20";
    QTest::newRow("unknown length, start 0") << z << "" << 0LL << 0LL << tim("1.0") << 0LL << 1LL << 99 << "00:00:01";
    QTest::newRow("unknown length, later start") << "00:01:00" << "" << 0LL << 0LL << tim("30") << 0LL << 30LL << 0
                                                 << "00:00:00";
    QTest::newRow("start beyond the input") << "00:02:00" << "" << 100LL << 0LL << tim("10") << 100LL << 10LL << 0
                                            << "00:01:40";
    QTest::newRow("duration value without fraction") << z << "" << 55LL << 0LL << dur("00:03:20") << 0LL << 0LL << 0
                                                     << "00:00:01";
    QTest::newRow("hours above 23") << z << "" << 0LL << 0LL << dur("100:00:00.00") << 360000LL << 0LL << 0
                                    << "100:00:00";
    QTest::newRow("start without leading hour digit") << "1:00:00" << "" << 7200LL << 0LL << tim("900") << 7200LL
                                                      << 900LL << 25 << "02:00:00";
}

void TestProgress::markers()
{
    QFETCH(QString, start);
    QFETCH(QString, duration);
    QFETCH(qint64, inDur0);
    QFETCH(qint64, max0);
    QFETCH(QString, text);
    QFETCH(qint64, inDur);
    QFETCH(qint64, max);
    QFETCH(int, bar);
    QFETCH(QString, endText);

    setQueue(start, duration);
    frmMain->InputDurationSeconds = inDur0;
    frmMain->MaxTimeSeconds = max0;
    frmMain->ParseEncoderOutput(text);

    QCOMPARE(frmMain->InputDurationSeconds, inDur);
    QCOMPARE(frmMain->MaxTimeSeconds, max);
    QCOMPARE(frmMain->progressBarCurrent->value(), bar);
    const QString expected = QStringLiteral("Converting 2/3: [%1-%2] %3").arg(start, endText, kPath);
    QCOMPARE(status(), expected);
    QCOMPARE(frmMain->labelCurrentInfo->toolTip(), expected);
}

void TestProgress::malformedValues_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("comma decimal") << tim("1,5") << "'1,5' is not a valid floating point value";
    QTest::newRow("not a number") << tim("N/A") << "'N/A' is not a valid floating point value";
    QTest::newRow("infinite") << tim("inf") << "'inf' is not a valid floating point value";
    QTest::newRow("duration parts") << dur("aa:bb:cc.dd") << "'aa' is not a valid integer value";
}

void TestProgress::malformedValues()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    setQueue(QStringLiteral("00:00:00"), QString());
    frmMain->InputDurationSeconds = 200;
    frmMain->MaxTimeSeconds = 20;
    try {
        frmMain->ParseEncoderOutput(text);
        QFAIL("no conversion error");
    } catch (const ZError &e) {
        QCOMPARE(e.kind(), ZError::Convert);
        QCOMPARE(e.message(), message);
    }
    // The rest of that delivery is not processed.
    QCOMPARE(frmMain->InputDurationSeconds, 200LL);
    QCOMPARE(frmMain->MaxTimeSeconds, 20LL);
    QCOMPARE(status(), QStringLiteral("before"));
    QCOMPARE(frmMain->progressBarCurrent->value(), 77);
}

void TestProgress::nothingSelected()
{
    setQueue(QStringLiteral("00:00:00"), QString());
    frmMain->listViewFiles->clearSelection();
    setLogging(QStringLiteral("1"));
    frmMain->ConsoleIOReceiveError(dur("00:03:20.00") + tim("50"));
    QCOMPARE(frmMain->InputDurationSeconds, 0LL);
    QCOMPARE(frmMain->MaxTimeSeconds, 0LL);
    QCOMPARE(status(), QStringLiteral("before"));
    QCOMPARE(frmMain->progressBarCurrent->value(), 77);
    // Logged all the same.
    QCOMPARE(TestUtil::readFile(frmMain->LogFilePath()), (dur("00:03:20.00") + tim("50") + "\r\n").toUtf8());
}

void TestProgress::logRecordComesFirst()
{
    setQueue(QStringLiteral("00:00:00"), QString());
    frmMain->InputDurationSeconds = 100;
    setLogging(QStringLiteral("1"));
    frmMain->ConsoleIOReceiveOutput(QStringLiteral("banner\r"));
    frmMain->ConsoleIOReceiveError(QStringLiteral("chunk one\n") + tim("10") + QStringLiteral("\n"));
    QCOMPARE(frmMain->progressBarCurrent->value(), 10);
    // The setting is read at every delivery.
    setLogging(QStringLiteral("0"));
    frmMain->ConsoleIOReceiveOutput(tim("20"));
    QCOMPARE(frmMain->progressBarCurrent->value(), 20);
    const QByteArray expected = "banner\r\r\nchunk one\n" + tim("10").toUtf8() + "\n\r\n";
    QCOMPARE(TestUtil::readFile(frmMain->LogFilePath()), expected);
}

void TestProgress::unwritableLogSkipsParsing()
{
    setQueue(QStringLiteral("00:00:00"), QString());
    frmMain->InputDurationSeconds = 100;
    setLogging(QStringLiteral("1"));
    // A folder where the log file belongs cannot be appended to.
    QVERIFY(QDir().mkpath(frmMain->LogFilePath()));
    bool raised = false;
    try {
        frmMain->ConsoleIOReceiveOutput(tim("30"));
    } catch (const ZError &) {
        raised = true;
    }
    QDir(frmMain->LogFilePath()).removeRecursively();
    QVERIFY(raised);
    QCOMPARE(frmMain->MaxTimeSeconds, 0LL);
    QCOMPARE(status(), QStringLiteral("before"));
}

void TestProgress::malformedMarkerThroughComponent()
{
    // A real child prints a bad time value between good ones: the general
    // handler shows the error once and the job's progress goes on.
    TestUtil::ErrorRecorder errors;
    setQueue(QStringLiteral("00:00:00"), QString());
    const QString script = QStringLiteral("printf '%s\\n' '%1' '%2' '%3'").arg(dur("00:00:10.00"), tim("x1"), tim("5.0"));
    frmMain->ConsoleIO->StartProcess({QStringLiteral("/bin/sh"), QStringLiteral("-c"), script}, QString(), false);
    QTRY_VERIFY_WITH_TIMEOUT(!frmMain->ConsoleIO->IsRunning(), 10000);
    QTRY_COMPARE(errors.texts, QStringList{QStringLiteral("'x1' is not a valid floating point value")});
    QCOMPARE(frmMain->InputDurationSeconds, 10LL);
    QCOMPARE(frmMain->MaxTimeSeconds, 5LL);
    QCOMPARE(frmMain->progressBarCurrent->value(), 50);
    QCOMPARE(status(), QStringLiteral("Converting 2/3: [00:00:00-00:00:10] ") + kPath);
    // The status event left the window idle.
    QVERIFY(frmMain->listViewFiles->isEnabled());
}

ZENDREL_TEST_MAIN(TestProgress)
#include "tst_progress.moc"
