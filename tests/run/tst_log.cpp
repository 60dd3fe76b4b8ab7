// The encoder log "logFile.txt" in the program folder: record format,
// open-append-close per record, deletion, and a log that cannot be written.
#include "TestUtil.h"

#include "app/Errors.h"
#include "app/TfrmCommon.h"
#include "mainwindow/TfrmMain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestLog : public QObject
{
    Q_OBJECT

    QTemporaryDir m_programTmp;
    QString m_programDir;
    QString m_log;
    TestUtil::ErrorRecorder *m_errors = nullptr;

private slots:
    void initTestCase()
    {
        QVERIFY(m_programTmp.isValid());
        m_programDir = TestUtil::makeProgramDir(m_programTmp, false);
        m_errors = new TestUtil::ErrorRecorder;
        TestUtil::startProgram(m_programDir);
        QVERIFY(frmMain);
        m_log = m_programDir + QStringLiteral("logFile.txt");
    }

    void cleanupTestCase()
    {
        TestUtil::stopProgram();
        delete m_errors;
    }

    void init()
    {
        frmCommon->ProgramDir = m_programDir;
        QFile::remove(m_log);
        QDir(m_log).removeRecursively();
    }

    void logPath()
    {
        QCOMPARE(frmMain->LogFilePath(), m_programDir + QStringLiteral("logFile.txt"));
    }

    // Each call adds the text unchanged and CR LF; line breaks and bare
    // carriage returns inside a record stay as they are.
    void records()
    {
        frmMain->AppendLog(QStringLiteral("first"));
        frmMain->AppendLog(QStringLiteral("a line that ended in CR LF\r"));
        frmMain->AppendLog(QStringLiteral("raw\nchunk\rwith breaks"));
        frmMain->AppendLog(QString());
        frmMain->AppendLog(QStringLiteral("/home/ünï/视频 clip.avi"));
        QCOMPARE(TestUtil::readFile(m_log),
                 QByteArray("first\r\n"
                            "a line that ended in CR LF\r\r\n"
                            "raw\nchunk\rwith breaks\r\n"
                            "\r\n")
                     + QStringLiteral("/home/ünï/视频 clip.avi").toUtf8() + "\r\n");
    }

    // Nothing stays open between calls: a log removed or replaced in between
    // is created anew or appended to as it is on disk.
    void openedAndClosedPerRecord()
    {
        frmMain->AppendLog(QStringLiteral("one"));
        QVERIFY(QFile::remove(m_log));
        frmMain->AppendLog(QStringLiteral("two"));
        QCOMPARE(TestUtil::readFile(m_log), QByteArray("two\r\n"));

        QVERIFY(QFile::remove(m_log));
        TestUtil::writeFile(m_log, "kept");
        frmMain->AppendLog(QStringLiteral("three"));
        QCOMPARE(TestUtil::readFile(m_log), QByteArray("keptthree\r\n"));
    }

    void deleteLog()
    {
        m_errors->texts.clear();
        frmMain->AppendLog(QStringLiteral("earlier run"));
        QVERIFY(QFileInfo::exists(m_log));
        frmMain->DeleteLogFile();
        QVERIFY(!QFileInfo::exists(m_log));
        frmMain->DeleteLogFile(); // no log: nothing to do, no error
        QVERIFY(m_errors->texts.isEmpty());
        frmMain->AppendLog(QStringLiteral("this run"));
        QCOMPARE(TestUtil::readFile(m_log), QByteArray("this run\r\n"));
    }

    void unwritable_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("text");
        QTest::newRow("log is a folder") << "folder" << "I/O error 5";
        QTest::newRow("program folder is a file") << "file" << "File not found";
    }

    void unwritable()
    {
        QFETCH(QString, how);
        QFETCH(QString, text);

        QTemporaryDir tmp;
        if (how == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(m_log));
        } else {
            const QString notAFolder = tmp.filePath(QStringLiteral("plain"));
            TestUtil::writeFile(notAFolder, "x");
            frmCommon->ProgramDir = notAFolder + QLatin1Char('/');
        }

        bool raised = false;
        try {
            frmMain->AppendLog(QStringLiteral("record"));
        } catch (const ZError &e) {
            raised = true;
            QCOMPARE(e.kind(), ZError::InOut);
            QCOMPARE(e.message(), text);
        }
        QVERIFY(raised);
        frmCommon->ProgramDir = m_programDir;
        QDir(m_log).removeRecursively();
    }
};

ZENDREL_TEST_MAIN(TestLog)
#include "tst_log.moc"
