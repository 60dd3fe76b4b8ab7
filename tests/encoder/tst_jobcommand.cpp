// The job command: setting boxes, row texts and profile state against the
// exact command text, the word list the process is started from, and the
// command's record in the encoder log.
#include "TestUtil.h"

#include "app/Errors.h"
#include "app/TfrmCommon.h"
#include "mainwindow/TfrmMain.h"
#include "profiles/TVideoProfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using TestUtil::setBox;

namespace {

// Texts are written with "·" for each blank, as they are easier to count.
QString dots(const char *text)
{
    return QString::fromUtf8(text).replace(QChar(0x00B7), QLatin1Char(' '));
}

const QString inPath = QStringLiteral("/media/in.avi");
const QString outPath = QStringLiteral("/media/out/in.avi");

} // namespace

class TestJobCommand : public QObject
{
    Q_OBJECT

    QTemporaryDir m_programTmp;
    QString m_programDir;
    TestUtil::ErrorRecorder *m_errors = nullptr;

    QList<QComboBox *> boxes() const
    {
        return {frmMain->ComboBoxVideoCodec, frmMain->comboBoxVideoBitrate, frmMain->comboBoxFrameRate,
                frmMain->comboBoxVideoSize,  frmMain->ComboBoxAspect,       frmMain->ComboBoxAudioCodec,
                frmMain->comboBoxAudioBitrate, frmMain->comboBoxSampleRate, frmMain->comboBoxChannel};
    }

    void setBoxes(const QStringList &texts)
    {
        QCOMPARE(texts.size(), 9);
        const QList<QComboBox *> all = boxes();
        for (int i = 0; i < all.size(); ++i)
            setBox(all[i], texts[i]);
    }

    void setProfile(const QString &format, const QString &extension, bool hasVideo)
    {
        frmMain->CurrentFormat = format;
        frmMain->CurrentExtension = extension;
        frmMain->VideoProfile->HasVideo = hasVideo;
    }

    void setLogging(const QByteArray &configText)
    {
        if (configText.isNull())
            QFile::remove(m_programDir + QStringLiteral("config.ini"));
        else
            TestUtil::writeFile(m_programDir + QStringLiteral("config.ini"), configText);
    }

    QString log() const { return m_programDir + QStringLiteral("logFile.txt"); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_programTmp.isValid());
        m_programDir = TestUtil::makeProgramDir(m_programTmp, false);
        m_errors = new TestUtil::ErrorRecorder;
        TestUtil::startProgram(m_programDir);
        QVERIFY(frmMain);
        QCOMPARE(frmCommon->ProgramDir, m_programDir);
    }

    void cleanupTestCase()
    {
        TestUtil::stopProgram();
        delete m_errors;
    }

    void init()
    {
        setLogging(QByteArray());
        QFile::remove(log());
        QDir(log()).removeRecursively();
        setProfile(QStringLiteral("avi"), QStringLiteral("avi"), true);
        setBoxes({"auto", "auto", "auto", "auto", "auto", "auto", "auto", "auto", "auto"});
    }

    void commandText_data()
    {
        // Boxes in this order: video codec, video bit rate, frame rate, size,
        // aspect, audio codec, audio bit rate, sample rate, channels.
        QTest::addColumn<QStringList>("box");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<bool>("hasVideo");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("duration");
        QTest::addColumn<QString>("expected"); // after the program folder; {in} and {out} for the paths
        QTest::addColumn<bool>("wordsFromText"); // no value holds a blank

        const QStringList allAuto{"auto", "auto", "auto", "auto", "auto", "auto", "auto", "auto", "auto"};

        QTest::newRow("every box auto")
            << allAuto << "avi" << "avi" << true << "00:00:00" << ""
            << dots("libm9s.exe·-i·{in}··-y··-f·avi··-ss·00:00:00··{out}") << true;
        QTest::newRow("typical job")
            << QStringList{"mpeg4", "800", "auto", "auto", "auto", "mp3", "128", "44100", "2"} << "avi" << "avi"
            << true << "00:00:00" << ""
            << dots("libm9s.exe·-i·{in}··-y··-f·avi··-ss·00:00:00··-b·800k··-vcodec·mpeg4··-ab·128k··-ar·44100"
                    "··-ac·2··-acodec·mp3··{out}")
            << true;
        QTest::newRow("every option, duration before start")
            << QStringList{"mpeg4", "800", "25", "320x240", "4:3", "mp2", "64", "22050", "1"} << "avi" << "avi"
            << true << "00:00:05" << "00:00:10"
            << dots("libm9s.exe·-i·{in}··-y··-f·avi··-t·00:00:10··-ss·00:00:05··-b·800k··-r·25··-s·320x240"
                    "··-aspect·4:3··-vcodec·mpeg4··-ab·64k··-ar·22050··-ac·1··-acodec·mp2··{out}")
            << true;
        QTest::newRow("aspect 16:9") << QStringList{"auto", "auto", "auto", "auto", "16:9", "auto", "auto", "auto", "auto"}
                                     << "avi" << "avi" << true << "00:00:00" << ""
                                     << dots("libm9s.exe·-i·{in}··-y··-f·avi··-ss·00:00:00··-aspect·16:9··{out}") << true;
        QTest::newRow("profile without video")
            << QStringList{"mpeg4", "800", "25", "320x240", "16:9", "mp3", "128", "22050", "1"} << "mp3" << "mp3"
            << false << "00:00:00" << ""
            << dots("libm9s.exe·-i·{in}··-y··-f·mp3··-ss·00:00:00··-vn··-ab·128k··-ar·22050··-ac·1··-acodec·mp3··{out}")
            << true;
        QTest::newRow("asf") << allAuto << "asf" << "asf" << true << "00:00:00" << ""
                             << dots("libm9s.exe·-i·{in}··-y··-f·asf··-ss·00:00:00··{out}·-vtag·MP4S") << true;
        QTest::newRow("asf without video")
            << QStringList{"wmv1", "256", "auto", "auto", "auto", "wmav2", "64", "auto", "auto"} << "asf" << "asf"
            << false << "00:00:00" << ""
            << dots("libm9s.exe·-i·{in}··-y··-f·asf··-ss·00:00:00··-vn··-ab·64k··-acodec·wmav2··{out}·-vtag·MP4S")
            << true;
        QTest::newRow("ASF in capitals") << allAuto << "asf" << "ASF" << true << "00:00:00" << ""
                                         << dots("libm9s.exe·-i·{in}··-y··-f·asf··-ss·00:00:00··{out}") << true;
        QTest::newRow("auto in any letter case")
            << QStringList{"AUTO", "Auto", "aUtO", "AUTO", "auto", "Auto", "AUTO", "auTO", "AuTo"} << "avi" << "avi"
            << true << "00:00:00" << "" << dots("libm9s.exe·-i·{in}··-y··-f·avi··-ss·00:00:00··{out}") << true;
        QTest::newRow("auto with a blank is a value")
            << QStringList{"auto", "auto", " auto", "auto", "auto", "auto", "auto ", "auto", "auto"} << "avi" << "avi"
            << true << "00:00:00" << ""
            << dots("libm9s.exe·-i·{in}··-y··-f·avi··-ss·00:00:00··-r··auto··-ab·auto·k··{out}") << false;
        QTest::newRow("k whatever the box holds")
            << QStringList{"auto", "800k", "auto", "auto", "auto", "auto", "", "auto", "auto"} << "avi" << "avi" << true
            << "00:00:00" << "" << dots("libm9s.exe·-i·{in}··-y··-f·avi··-ss·00:00:00··-b·800kk··-ab·k··{out}") << true;
        QTest::newRow("empty video bit rate")
            << QStringList{"auto", "", "auto", "auto", "auto", "auto", "128k", "auto", "auto"} << "avi" << "avi" << true
            << "00:00:00" << "" << dots("libm9s.exe·-i·{in}··-y··-f·avi··-ss·00:00:00··-b·k··-ab·128kk··{out}") << true;
        QTest::newRow("empty pick-only boxes")
            << QStringList{"", "auto", "auto", "auto", "auto", "", "auto", "auto", ""} << "avi" << "avi" << true
            << "00:00:00" << "" << dots("libm9s.exe·-i·{in}··-y··-f·avi··-ss·00:00:00··{out}") << true;
        QTest::newRow("values as the box shows them")
            << QStringList{"MPEG4", "0", "29.97", "0", "auto", "auto", "auto", "-1", "auto"} << "avi" << "avi" << true
            << "00:00:00" << ""
            << dots("libm9s.exe·-i·{in}··-y··-f·avi··-ss·00:00:00··-b·0k··-r·29.97··-s·0··-vcodec·MPEG4··-ar·-1··{out}")
            << true;
        QTest::newRow("start and duration trimmed")
            << allAuto << "avi" << "avi" << true << "  00:01:00 \t" << "\t00:00:30\r\n"
            << dots("libm9s.exe·-i·{in}··-y··-f·avi··-t·00:00:30··-ss·00:01:00··{out}") << true;
        QTest::newRow("blank start and duration")
            << allAuto << "avi" << "avi" << true << "   " << "" << dots("libm9s.exe·-i·{in}··-y··-f·avi··{out}") << true;
        QTest::newRow("odd times passed through")
            << allAuto << "avi" << "avi" << true << "1:2" << "abc"
            << dots("libm9s.exe·-i·{in}··-y··-f·avi··-t·abc··-ss·1:2··{out}") << true;
        QTest::newRow("no format") << allAuto << "" << "" << true << "00:00:00" << ""
                                   << dots("libm9s.exe·-i·{in}··-y··-ss·00:00:00··{out}") << true;
    }

    void commandText()
    {
        QFETCH(QStringList, box);
        QFETCH(QString, format);
        QFETCH(QString, extension);
        QFETCH(bool, hasVideo);
        QFETCH(QString, start);
        QFETCH(QString, duration);
        QFETCH(QString, expected);
        QFETCH(bool, wordsFromText);

        setBoxes(box);
        setProfile(format, extension, hasVideo);
        const QString command = frmMain->BuildJobCommand(inPath, outPath, start, duration);
        const QString want = m_programDir + QString(expected).replace(QLatin1String("{in}"), inPath)
                                                .replace(QLatin1String("{out}"), outPath);
        QCOMPARE(command, want);

        const QStringList words = frmMain->LastJobArguments;
        QVERIFY(!words.isEmpty());
        QCOMPARE(words.first(), m_programDir + QStringLiteral("libm9s.exe"));
        if (wordsFromText)
            QCOMPARE(words, want.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    }

    // Paths with blanks, quotes and a leading "-" stay one word each; the
    // text keeps them unquoted.
    void wordsWithBlanks()
    {
        const QString in = QStringLiteral("/home/user/my clips/holiday \"best\" part.mpeg");
        const QString out = QStringLiteral("/home/user/out dir/-holiday 'best' part.asf");
        setBoxes({"mpeg4", "800", "auto", "auto", "auto", "auto", "128", "auto", "auto"});
        setProfile(QStringLiteral("asf"), QStringLiteral("asf"), true);
        const QString command = frmMain->BuildJobCommand(in, out, QStringLiteral(" 00:00:01 "), QString());
        QCOMPARE(command, m_programDir + QStringLiteral("libm9s.exe -i ") + in +
                              QStringLiteral("  -y  -f asf  -ss 00:00:01  -b 800k  -vcodec mpeg4  -ab 128k  ") + out +
                              QStringLiteral(" -vtag MP4S"));
        QCOMPARE(frmMain->LastJobArguments,
                 (QStringList{m_programDir + QStringLiteral("libm9s.exe"), "-i", in, "-y", "-f", "asf", "-ss",
                              "00:00:01", "-b", "800k", "-vcodec", "mpeg4", "-ab", "128k", out, "-vtag", "MP4S"}));
    }

    // Every call writes all of its options, so nothing of one job reaches the next.
    void nothingCarriedOver()
    {
        setBoxes({"mpeg4", "800", "25", "320x240", "16:9", "mp3", "128", "44100", "2"});
        setProfile(QStringLiteral("asf"), QStringLiteral("asf"), true);
        frmMain->BuildJobCommand(inPath, outPath, QStringLiteral("00:00:05"), QStringLiteral("00:00:10"));

        setBoxes({"auto", "auto", "auto", "auto", "auto", "auto", "auto", "auto", "auto"});
        setProfile(QStringLiteral("avi"), QStringLiteral("avi"), true);
        const QString second = frmMain->BuildJobCommand(QStringLiteral("/b.avi"), QStringLiteral("/o/b.avi"),
                                                        QStringLiteral("00:00:00"), QString());
        QCOMPARE(second, m_programDir + dots("libm9s.exe·-i·/b.avi··-y··-f·avi··-ss·00:00:00··/o/b.avi"));
        QCOMPARE(frmMain->LastJobArguments,
                 (QStringList{m_programDir + QStringLiteral("libm9s.exe"), "-i", "/b.avi", "-y", "-f", "avi", "-ss",
                              "00:00:00", "/o/b.avi"}));

        // An audio-only job between two video jobs.
        setBoxes({"mpeg4", "800", "auto", "auto", "4:3", "mp3", "128", "auto", "auto"});
        setProfile(QStringLiteral("mp3"), QStringLiteral("mp3"), false);
        QVERIFY(frmMain->BuildJobCommand(inPath, outPath, QString(), QString()).contains(QLatin1String(" -vn ")));
        setProfile(QStringLiteral("avi"), QStringLiteral("avi"), true);
        const QString third = frmMain->BuildJobCommand(inPath, outPath, QString(), QString());
        QVERIFY(!third.contains(QLatin1String(" -vn ")));
        QVERIFY(third.contains(QLatin1String(" -aspect 4:3 ")));
        QVERIFY(third.contains(QLatin1String(" -vcodec mpeg4 ")));
    }

    void logging_data()
    {
        QTest::addColumn<QByteArray>("config"); // null: no config.ini
        QTest::addColumn<bool>("logged");
        QTest::newRow("logfile 1") << QByteArray("[setting]\r\nlogfile=1\r\n") << true;
        QTest::newRow("logfile 0") << QByteArray("[setting]\r\nlogfile=0\r\n") << false;
        QTest::newRow("logfile 2") << QByteArray("[setting]\r\nlogfile=2\r\n") << false;
        QTest::newRow("key missing") << QByteArray("[setting]\r\noutputFolder=/tmp\r\n") << false;
        QTest::newRow("no settings file") << QByteArray() << false;
    }

    // The setting is read on every call; the record is exactly the command.
    void logging()
    {
        QFETCH(QByteArray, config);
        QFETCH(bool, logged);

        setLogging(config);
        setBoxes({"mpeg4", "800", "auto", "auto", "auto", "mp3", "128", "44100", "2"});
        const QString in = QStringLiteral("/home/ünï/视频 a.avi");
        const QString first = frmMain->BuildJobCommand(in, outPath, QStringLiteral("00:00:00"), QString());
        const QString second = frmMain->BuildJobCommand(inPath, outPath, QStringLiteral("00:00:03"), QString());
        if (logged) {
            QVERIFY(first.startsWith(m_programDir + QStringLiteral("libm9s.exe")));
            QCOMPARE(TestUtil::readFile(log()), first.toUtf8() + "\r\n" + second.toUtf8() + "\r\n");
        } else {
            QVERIFY(!QFile::exists(log()));
        }

        // Switched the other way between two jobs: takes effect at once.
        setLogging(logged ? QByteArray("[setting]\r\nlogfile=0\r\n") : QByteArray("[setting]\r\nlogfile=1\r\n"));
        const QString third = frmMain->BuildJobCommand(inPath, outPath, QStringLiteral("00:00:06"), QString());
        if (logged)
            QCOMPARE(TestUtil::readFile(log()), first.toUtf8() + "\r\n" + second.toUtf8() + "\r\n");
        else
            QCOMPARE(TestUtil::readFile(log()), third.toUtf8() + "\r\n");
    }

    // A log that cannot be written fails the call: no command, no words.
    void unwritableLog()
    {
        setLogging("[setting]\r\nlogfile=1\r\n");
        frmMain->BuildJobCommand(inPath, outPath, QStringLiteral("00:00:00"), QString());
        QVERIFY(!frmMain->LastJobArguments.isEmpty());
        QFile::remove(log());
        QVERIFY(QDir().mkpath(log()));

        bool raised = false;
        QString command = QStringLiteral("unchanged");
        try {
            command = frmMain->BuildJobCommand(inPath, outPath, QStringLiteral("00:00:00"), QString());
        } catch (const ZError &e) {
            raised = true;
            QCOMPARE(e.kind(), ZError::InOut);
            QCOMPARE(e.message(), QStringLiteral("I/O error 5"));
        }
        QVERIFY(raised);
        QCOMPARE(command, QStringLiteral("unchanged"));
        QVERIFY(frmMain->LastJobArguments.isEmpty());

        // With logging off the same folder is never touched.
        setLogging("[setting]\r\nlogfile=0\r\n");
        QVERIFY(!frmMain->BuildJobCommand(inPath, outPath, QStringLiteral("00:00:00"), QString()).isEmpty());
        QVERIFY(!frmMain->LastJobArguments.isEmpty());
    }
};

ZENDREL_TEST_MAIN(TestJobCommand)
#include "tst_jobcommand.moc"
