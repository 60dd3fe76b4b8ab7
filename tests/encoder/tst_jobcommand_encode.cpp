// The job command's word list starts the real encoder on real media, with
// paths that hold blanks and quotes.
#include "TestUtil.h"

#include "app/TfrmCommon.h"
#include "mainwindow/TfrmMain.h"
#include "profiles/TVideoProfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using TestUtil::run;
using TestUtil::setBox;

namespace {

} // namespace

class TestJobCommandEncode : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_programDir;
    QString m_input;
    TestUtil::ErrorRecorder *m_errors = nullptr;

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        m_programDir = TestUtil::makeProgramDir(m_tmp, true);
        m_errors = new TestUtil::ErrorRecorder;
        TestUtil::startProgram(m_programDir);
        QVERIFY(frmMain);

        m_input = m_tmp.filePath(QStringLiteral("my clips/a \"short\" clip.avi"));
        QVERIFY(QDir().mkpath(QFileInfo(m_input).path()));
        QByteArray log;
        QVERIFY2(run(QStringLiteral("ffmpeg"),
                     {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=1", "-f",
                      "lavfi", "-i", "sine=frequency=440:duration=1", "-c:v", "mpeg4", "-c:a", "mp2", m_input},
                     &log),
                 log.constData());
    }

    void cleanupTestCase()
    {
        TestUtil::stopProgram();
        delete m_errors;
    }

    void encode_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("videoCodec");
        QTest::addColumn<QString>("audioCodec");
        QTest::addColumn<QString>("outputName");

        QTest::newRow("avi, blanks") << "avi" << "avi" << "mpeg4" << "mp2" << "out dir/a \"short\" clip.avi";
        QTest::newRow("asf with its tag") << "asf" << "asf" << "mpeg4" << "wmav2" << "out dir/a 'short' clip.asf";
    }

    void encode()
    {
        QFETCH(QString, format);
        QFETCH(QString, extension);
        QFETCH(QString, videoCodec);
        QFETCH(QString, audioCodec);
        QFETCH(QString, outputName);

        const QString output = m_tmp.filePath(outputName);
        // The runner leaves a placeholder there before the encoder starts.
        TestUtil::writeFile(output, "temp\r\n");

        setBox(frmMain->ComboBoxVideoCodec, videoCodec);
        setBox(frmMain->comboBoxVideoBitrate, QStringLiteral("200"));
        setBox(frmMain->comboBoxFrameRate, QStringLiteral("auto"));
        setBox(frmMain->comboBoxVideoSize, QStringLiteral("auto"));
        setBox(frmMain->ComboBoxAspect, QStringLiteral("auto"));
        setBox(frmMain->ComboBoxAudioCodec, audioCodec);
        setBox(frmMain->comboBoxAudioBitrate, QStringLiteral("64"));
        setBox(frmMain->comboBoxSampleRate, QStringLiteral("22050"));
        setBox(frmMain->comboBoxChannel, QStringLiteral("1"));
        frmMain->CurrentFormat = format;
        frmMain->CurrentExtension = extension;
        frmMain->VideoProfile->HasVideo = true;

        frmMain->BuildJobCommand(m_input, output, QStringLiteral("00:00:00"), QString());
        const QStringList words = frmMain->LastJobArguments;
        QCOMPARE(words.first(), m_programDir + QStringLiteral("libm9s.exe"));

        QByteArray log;
        QVERIFY2(run(words.first(), words.mid(1), &log), log.constData());
        QVERIFY2(QFileInfo(output).size() > 1000, log.constData());

        QByteArray probe;
        QVERIFY(run(QStringLiteral("ffprobe"),
                    {"-v", "error", "-show_entries", "stream=codec_type", "-of", "csv=p=0", output}, &probe));
        QVERIFY2(probe.contains("video") && probe.contains("audio"), probe.constData());
        QCOMPARE(TestUtil::readFile(m_input).isEmpty(), false);
    }
};

ZENDREL_TEST_MAIN(TestJobCommandEncode)
#include "tst_jobcommand_encode.moc"
