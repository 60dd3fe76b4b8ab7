// Whole runs: the real window, the real encoder program and FFmpeg on short
// generated clips.
#include "TestUtil.h"

#include "app/Errors.h"
#include "app/IniFile.h"
#include "app/TfrmCommon.h"
#include "i18n/Templates.h"
#include "mainwindow/TfrmMain.h"
#include "profiles/TVideoProfile.h"
#include "run/TConsoleIO.h"
#include "run/TfrmUnSupportFormat.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <QtTest>

#include <memory>

using TestUtil::run;
using TestUtil::setBox;

namespace {

void makeClip(const QString &path, const QString &video, const QString &audio)
{
    QStringList args{"-v", "error", "-y", "-f", "lavfi", "-i", video};
    if (!audio.isEmpty())
        args << QStringList{"-f", "lavfi", "-i", audio, "-c:a", "mp2", "-b:a", "64k"};
    args << QStringList{"-c:v", "mpeg4", path};
    QByteArray log;
    if (!run(QStringLiteral("ffmpeg"), args, &log))
        qFatal("cannot make %s: %s", qPrintable(path), log.constData());
}

// True while some process of the group (the encoder and what it started)
// is alive; zombies do not count.
bool groupAlive(qint64 pgid)
{
    QDirIterator it(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        bool isPid = false;
        it.fileName().toLongLong(&isPid);
        if (!isPid)
            continue;
        QFile stat(it.filePath() + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray s = stat.readAll();
        const int close = s.lastIndexOf(')');
        if (close < 0)
            continue;
        const QList<QByteArray> f = s.mid(close + 2).split(' ');
        if (f.size() > 2 && f[2].toLongLong() == pgid && f[0] != "Z" && f[0] != "X")
            return true;
    }
    return false;
}

bool groupGone(qint64 pgid)
{
    QElapsedTimer t;
    t.start();
    while (groupAlive(pgid)) {
        if (t.elapsed() > 3000)
            return false;
        QTest::qSleep(20);
    }
    return true;
}

// Answers every modal box that opens and remembers what it said.
struct ModalWatch
{
    QString answer;
    QStringList texts, titles;
    QTimer timer;
    explicit ModalWatch(const QString &button) : answer(button)
    {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            auto *box = qobject_cast<QMessageBox *>(modal);
            texts << (box ? box->text() : modal->objectName());
            titles << modal->windowTitle();
            for (QAbstractButton *b : modal->findChildren<QAbstractButton *>()) {
                if (b->text().remove(QLatin1Char('&')) == answer) {
                    b->click();
                    return;
                }
            }
            modal->close();
        });
        timer.start();
    }
};

// What the window looked like whenever an encoder started or ended.
struct JobWatch
{
    QObject context;
    QList<int> startedRows;
    QList<qint64> pids;
    QList<bool> listEnabledWhileRunning, addEnabledWhileRunning, convertEnabledWhileRunning;
    QStringList captionsWhileRunning;
    QMap<int, QStringList> statusTexts;
    QMap<int, int> maxBar;
    std::function<void(int)> onEnded;
    std::function<void(int, const QString &)> onOutput;

    static int selectedRow()
    {
        const auto sel = frmMain->listViewFiles->selectedItems();
        return sel.isEmpty() ? -1 : frmMain->listViewFiles->indexOfTopLevelItem(sel.first());
    }

    JobWatch()
    {
        TConsoleIO *io = frmMain->ConsoleIO;
        QObject::connect(io, &TConsoleIO::OnProcessStatusChange, &context, [this, io](bool running) {
            if (running) {
                startedRows << selectedRow();
                pids << io->ProcessId();
                listEnabledWhileRunning << frmMain->listViewFiles->isEnabled();
                addEnabledWhileRunning << frmMain->ActionFileAdd->isEnabled();
                convertEnabledWhileRunning << frmMain->ActionConvertNow->isEnabled();
                captionsWhileRunning << frmMain->ActionConvertNow->text();
            } else if (onEnded) {
                onEnded(selectedRow());
            }
        });
        auto seen = [this](const QString &text) {
            const int row = selectedRow();
            statusTexts[row] << frmMain->labelCurrentInfo->text();
            maxBar[row] = qMax(maxBar.value(row), frmMain->progressBarCurrent->value());
            if (onOutput)
                onOutput(row, text);
        };
        QObject::connect(io, &TConsoleIO::OnReceiveOutput, &context, seen);
        QObject::connect(io, &TConsoleIO::OnReceiveError, &context, seen);
    }
};

} // namespace

class TestRunner : public QObject
{
    Q_OBJECT
    QTemporaryDir m_tmp;
    QString m_dir, m_clips, m_out;
    QString m_a, m_b, m_c, m_long;

    QString out(const QString &name) const { return m_out + QLatin1Char('/') + name; }

    void setSettings(const QString &size, const QString &rate)
    {
        setBox(frmMain->ComboBoxVideoCodec, QStringLiteral("mpeg4"));
        setBox(frmMain->comboBoxVideoBitrate, QStringLiteral("200"));
        setBox(frmMain->comboBoxFrameRate, rate);
        setBox(frmMain->comboBoxVideoSize, size);
        setBox(frmMain->ComboBoxAspect, QStringLiteral("auto"));
        setBox(frmMain->ComboBoxAudioCodec, QStringLiteral("mp2"));
        setBox(frmMain->comboBoxAudioBitrate, QStringLiteral("64"));
        setBox(frmMain->comboBoxSampleRate, QStringLiteral("22050"));
        setBox(frmMain->comboBoxChannel, QStringLiteral("1"));
        frmMain->CurrentFormat = QStringLiteral("avi");
        frmMain->CurrentExtension = QStringLiteral("avi");
        frmMain->VideoProfile->HasVideo = true;
    }

    void enqueue(const QStringList &paths)
    {
        frmMain->ClearQueue();
        for (const QString &p : paths)
            frmMain->AddFileToQueue(p);
        QCOMPARE(frmMain->listViewFiles->topLevelItemCount(), paths.size());
    }

    void setLogging(int value)
    {
        Ini::writeInteger(frmCommon->ConfigFile, QStringLiteral("setting"), QStringLiteral("logfile"), value);
    }

    // Presses Convert the way a click does (through the event loop, so an
    // error reaches the general handler) and waits for the handler to return.
    bool convert()
    {
        auto done = std::make_shared<bool>(false);
        QMetaObject::invokeMethod(
            frmMain,
            [done] {
                struct Mark
                {
                    std::shared_ptr<bool> d;
                    ~Mark() { *d = true; }
                } mark{done};
                frmMain->ActionConvertNow->trigger();
            },
            Qt::QueuedConnection);
        QElapsedTimer t;
        t.start();
        while (!*done && t.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return *done;
    }

    QByteArray probe(const QString &path)
    {
        QByteArray text;
        run(QStringLiteral("ffprobe"),
            {"-v", "error", "-show_entries", "stream=codec_type,codec_name:format=duration", "-of", "flat", path},
            &text);
        return text;
    }

    void verifyIdle()
    {
        QVERIFY(!frmMain->RunActive);
        QVERIFY(frmMain->KeepRunning);
        QVERIFY(!frmMain->ConsoleIO->IsRunning());
        QVERIFY(frmMain->listViewFiles->isEnabled());
        QVERIFY(frmMain->ActionFileAdd->isEnabled());
        QVERIFY(!frmMain->TimerRunTime->isActive());
    }

    void interruptSecondJob(JobWatch &jobs, std::function<void()> interrupt);

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void emptyQueueDoesNothing();
    void threeClipsInOrder();
    void failedInputsGiveUnsupportedFormats();
    void errorEndsRun_data();
    void errorEndsRun();
    void convertBetweenJobsStartsNoSecondRun();
    void stopDuringSecondJob();
    void closingWindowEndsRun(); // last: closing ends the program's windows
};

void TestRunner::initTestCase()
{
    QVERIFY(m_tmp.isValid());
    m_dir = TestUtil::makeProgramDir(m_tmp, true);
    TestUtil::writeFile(m_dir + QStringLiteral("config.ini"), "[setting]\r\ndisplayHelpDialog=0\r\nlogfile=0\r\n");
    m_clips = m_tmp.filePath(QStringLiteral("clips"));
    m_out = m_tmp.filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(m_clips));
    m_a = m_clips + QStringLiteral("/a.avi");
    m_b = m_clips + QStringLiteral("/b clip 'x'.avi");
    m_c = m_clips + QStringLiteral("/c.mkv");
    m_long = m_clips + QStringLiteral("/long.avi");
    const QString shortVideo = QStringLiteral("testsrc=size=160x120:rate=10:duration=1");
    const QString shortAudio = QStringLiteral("sine=frequency=440:duration=1");
    makeClip(m_a, shortVideo, shortAudio);
    makeClip(m_b, shortVideo, shortAudio);
    makeClip(m_c, shortVideo, shortAudio);
    // Ten minutes at one frame a second: cheap to make, slow to convert
    // to a large frame size at 25 frames a second.
    makeClip(m_long, QStringLiteral("testsrc=size=160x120:rate=1:duration=600"), QString());

    TestUtil::startProgram(m_dir);
    QVERIFY(frmMain);
    frmMain->show();
    QVERIFY(QTest::qWaitForWindowExposed(frmMain));
    TfrmCommon::shellOpenHook() = nullptr;
}

void TestRunner::cleanupTestCase()
{
    TfrmCommon::shellOpenHook() = nullptr;
    TestUtil::stopProgram();
}

void TestRunner::init()
{
    QDir(m_out).removeRecursively();
    QVERIFY(QDir().mkpath(m_out));
    frmMain->editOutputFolder->setText(m_out);
    setSettings(QStringLiteral("auto"), QStringLiteral("auto"));
    setLogging(0);
    frmMain->OverwriteChoice = 0;
    TfrmCommon::shellOpenHook() = [](const QString &) {};
}

void TestRunner::cleanup()
{
    if (frmUnSupportFormat)
        frmUnSupportFormat->hide();
}

void TestRunner::emptyQueueDoesNothing()
{
    ModalWatch modals(QStringLiteral("No"));
    JobWatch jobs;
    frmMain->ClearQueue();
    TestUtil::writeFile(frmMain->LogFilePath(), "kept\r\n");
    QVERIFY(convert());
    QCOMPARE(TestUtil::readFile(frmMain->LogFilePath()), QByteArray("kept\r\n"));
    QVERIFY(jobs.startedRows.isEmpty());
    QVERIFY(modals.texts.isEmpty());
}

void TestRunner::threeClipsInOrder()
{
    TestUtil::ErrorRecorder errors;
    QStringList opened;
    TfrmCommon::shellOpenHook() = [&](const QString &p) { opened << p; };
    ModalWatch modals(QStringLiteral("Yes"));
    JobWatch jobs;
    enqueue({m_a, m_b, m_c});
    setLogging(1);
    TestUtil::writeFile(frmMain->LogFilePath(), "record of an earlier run\r\n");
    QVERIFY(!m_out.endsWith(QLatin1Char('/')));

    QVERIFY(convert());
    QVERIFY2(errors.texts.isEmpty(), qPrintable(errors.texts.join('\n')));

    // One job per row, in list order, each row selected while it ran, the
    // editing controls disabled and Convert offering to stop.
    QCOMPARE(jobs.startedRows, (QList<int>{0, 1, 2}));
    QCOMPARE(jobs.listEnabledWhileRunning, (QList<bool>{false, false, false}));
    QCOMPARE(jobs.addEnabledWhileRunning, (QList<bool>{false, false, false}));
    QCOMPARE(jobs.convertEnabledWhileRunning, (QList<bool>{true, true, true}));
    QCOMPARE(jobs.captionsWhileRunning, QStringList(3, frmMain->StringStopCaption));

    // The status line followed each job.
    const QStringList paths{m_a, m_b, m_c};
    for (int row = 0; row < 3; ++row) {
        const QString expected = Templates::format(frmMain->msgStatusRun, QStringLiteral("%1/3").arg(row + 1)) +
                                 QStringLiteral(" [00:00:00-00:00:01] ") + paths[row];
        QVERIFY2(jobs.statusTexts[row].contains(expected), qPrintable(jobs.statusTexts[row].join('\n')));
        QCOMPARE(jobs.maxBar[row], 99);
    }

    // The finish question, answered Yes: the folder opens with its separator.
    QCOMPARE(modals.texts, QStringList{frmMain->msgFolderView + QStringLiteral("\r\n\r\n") + frmMain->msgFinishInfo});
    QCOMPARE(modals.titles, QStringList{ZendrelApplication::title()});
    QCOMPARE(opened, QStringList{m_out + QLatin1Char('/')});
    QCOMPARE(frmMain->labelCurrentInfo->text(), frmMain->msgStatusReady);
    QCOMPARE(frmMain->progressBarCurrent->value(), 0);
    QCOMPARE(frmMain->ActionConvertNow->text(), frmMain->StringStartCaption);
    verifyIdle();

    // Quick jobs that converted well are no failures.
    QVERIFY(!frmUnSupportFormat->isVisible());
    for (const QString &name : {QStringLiteral("a.avi"), QStringLiteral("b clip 'x'.avi"), QStringLiteral("c.avi")}) {
        const QByteArray p = probe(out(name));
        QVERIFY2(p.contains("codec_type=\"video\"") && p.contains("codec_name=\"mpeg4\""), p.constData());
        QVERIFY2(p.contains("codec_type=\"audio\""), p.constData());
        const int at = p.indexOf("format.duration=\"");
        QVERIFY(at >= 0);
        const double seconds = p.mid(at + 17, 8).toDouble();
        QVERIFY2(seconds > 0.5 && seconds < 1.5, p.constData());
    }

    // The log holds this run only: each job's command, in order.
    const QString log = QString::fromUtf8(TestUtil::readFile(frmMain->LogFilePath()));
    QVERIFY(!log.contains(QStringLiteral("earlier run")));
    const QString program = m_dir + QStringLiteral("libm9s.exe -i ");
    const int first = log.indexOf(program + m_a);
    const int second = log.indexOf(program + m_b);
    const int third = log.indexOf(program + m_c);
    QVERIFY2(first >= 0 && first < second && second < third, qPrintable(log.left(2000)));
}

void TestRunner::failedInputsGiveUnsupportedFormats()
{
    TestUtil::ErrorRecorder errors;
    ModalWatch modals(QStringLiteral("No"));
    JobWatch jobs;
    const QString brokenMpg = m_clips + QStringLiteral("/broken.mpg");
    const QString brokenWmv = m_clips + QStringLiteral("/damaged.wmv");
    const QString gone = m_clips + QStringLiteral("/gone.mkv");
    TestUtil::writeFile(brokenMpg, QByteArray(4096, 'z'));
    TestUtil::writeFile(brokenWmv, "not a video at all\n");
    TestUtil::writeFile(gone, "soon gone");
    enqueue({m_a, brokenMpg, gone, brokenWmv});
    QFile::remove(gone);

    QVERIFY(convert());

    QCOMPARE(jobs.startedRows, (QList<int>{0, 1, 2, 3}));
    QVERIFY(modals.texts.isEmpty()); // no finish question
    QVERIFY(frmUnSupportFormat->isVisible());
    QVERIFY(!frmUnSupportFormat->isModal());
    // One extension per failed job in queue order, the vanished input's
    // empty, the last "," removed.
    QCOMPARE(frmUnSupportFormat->UnsupportedFormats, QStringLiteral(".mpg,,.wmv"));
    QCOMPARE(frmMain->labelCurrentInfo->text(), frmMain->msgStatusReady);
    QVERIFY(errors.texts.isEmpty());
    verifyIdle();
    QVERIFY(probe(out(QStringLiteral("a.avi"))).contains("codec_type=\"video\""));
}

void TestRunner::errorEndsRun_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("output folder is a file") << "folder";
    QTest::newRow("log cannot be written") << "log";
    QTest::newRow("encoder missing") << "encoder";
}

void TestRunner::errorEndsRun()
{
    QFETCH(QString, kind);
    ModalWatch modals(QStringLiteral("Yes"));
    JobWatch jobs;
    enqueue({m_a, m_b});
    const QString encoder = m_dir + QStringLiteral("libm9s.exe");
    QString expectedError;
    if (kind == QLatin1String("folder")) {
        const QString file = m_tmp.filePath(QStringLiteral("plain-file"));
        TestUtil::writeFile(file, "x");
        frmMain->editOutputFolder->setText(file + QStringLiteral("/sub"));
        expectedError = Errors::inOut(2).message();
    } else if (kind == QLatin1String("log")) {
        setLogging(1);
        QFile::remove(frmMain->LogFilePath());
        QVERIFY(QDir().mkpath(frmMain->LogFilePath())); // a folder where the log belongs
        expectedError = Errors::inOut(5).message();
    } else {
        QVERIFY(QFile::rename(encoder, encoder + QStringLiteral(".away")));
        expectedError = QStringLiteral("Cannot run %1: No such file or directory").arg(encoder);
    }
    frmMain->labelCurrentInfo->setText(QStringLiteral("last text"));
    frmMain->KeepRunning = true;

    TestUtil::ErrorRecorder errors;
    QVERIFY(convert());

    if (kind == QLatin1String("log"))
        QDir(frmMain->LogFilePath()).removeRecursively();
    if (kind == QLatin1String("encoder"))
        QVERIFY(QFile::rename(encoder + QStringLiteral(".away"), encoder));

    // The error is shown, nothing else is started or asked, the placeholder stays.
    QCOMPARE(errors.texts, QStringList{expectedError});
    QVERIFY(jobs.startedRows.isEmpty());
    QVERIFY(modals.texts.isEmpty());
    QVERIFY(!frmUnSupportFormat->isVisible());
    QCOMPARE(frmMain->labelCurrentInfo->text(), QStringLiteral("last text"));
    if (kind != QLatin1String("folder"))
        QCOMPARE(TestUtil::readFile(out(QStringLiteral("a.avi"))), QByteArray("temp\r\n"));
    QVERIFY(!QFile::exists(out(QStringLiteral("b clip 'x'.avi"))));
    verifyIdle();

    // A new run can start at once.
    frmMain->editOutputFolder->setText(m_out);
    setLogging(0);
    frmMain->OverwriteChoice = 4; // overwrite the placeholder without asking
    QVERIFY(convert());
    QCOMPARE(errors.texts, QStringList{expectedError});
    QCOMPARE(jobs.startedRows, (QList<int>{0, 1}));
    QCOMPARE(modals.texts.size(), 1);
    QVERIFY(probe(out(QStringLiteral("a.avi"))).contains("codec_type=\"video\""));
    frmMain->OverwriteChoice = 0;
}

void TestRunner::convertBetweenJobsStartsNoSecondRun()
{
    TestUtil::ErrorRecorder errors;
    ModalWatch modals(QStringLiteral("No"));
    JobWatch jobs;
    enqueue({m_a, m_b});
    // Convert pressed right as the first job ends: no encoder runs, the
    // caption offers to start, but the run is not over.
    int presses = 0;
    jobs.onEnded = [&](int row) {
        if (row == 0 && presses++ == 0) {
            QVERIFY(!frmMain->ConsoleIO->IsRunning());
            frmMain->ActionConvertNow->trigger();
        }
    };
    QVERIFY(convert());
    QCOMPARE(presses, 1);
    QCOMPARE(jobs.startedRows, (QList<int>{0, 1}));
    QCOMPARE(modals.texts.size(), 1); // one finish question, one run
    QVERIFY(errors.texts.isEmpty());
    verifyIdle();
}

// Runs a, the long clip and c; once the long clip's first progress report
// is in, `interrupt` runs inside the run's wait, as a click would.
void TestRunner::interruptSecondJob(JobWatch &jobs, std::function<void()> interrupt)
{
    setSettings(QStringLiteral("1280x720"), QStringLiteral("25"));
    enqueue({m_a, m_long, m_c});
    bool done = false;
    jobs.onOutput = [&](int row, const QString &text) {
        if (row == 1 && !done && text.contains(QStringLiteral("=ffmpeg_release_time"))) {
            done = true;
            QTimer::singleShot(0, frmMain, interrupt);
        }
    };
    QVERIFY(convert());
    QVERIFY(done);
    QCOMPARE(jobs.startedRows, (QList<int>{0, 1}));
    QVERIFY(!QFile::exists(out(QStringLiteral("c.avi"))));
    // Neither the encoder nor anything it started is left running.
    QVERIFY(jobs.pids.value(1) > 0);
    QVERIFY(groupGone(jobs.pids.value(1)));
}

void TestRunner::stopDuringSecondJob()
{
    TestUtil::ErrorRecorder errors;
    ModalWatch modals(QStringLiteral("Yes"));
    JobWatch jobs;
    interruptSecondJob(jobs, [] { frmMain->ActionConvertNow->trigger(); });
    QVERIFY(modals.texts.isEmpty()); // the run ends without a word
    QVERIFY(!frmUnSupportFormat->isVisible());
    QVERIFY(errors.texts.isEmpty());
    QVERIFY(probe(out(QStringLiteral("a.avi"))).contains("codec_type=\"video\""));
    QCOMPARE(frmMain->ActionConvertNow->text(), frmMain->StringStartCaption);
    verifyIdle();
}

void TestRunner::closingWindowEndsRun()
{
    TestUtil::ErrorRecorder errors;
    ModalWatch modals(QStringLiteral("Yes"));
    JobWatch jobs;
    interruptSecondJob(jobs, [] { frmMain->close(); });
    QCOMPARE(frmMain->listViewFiles->topLevelItemCount(), 0);
    QVERIFY(modals.texts.isEmpty());
    QVERIFY(!frmUnSupportFormat || !frmUnSupportFormat->isVisible());
    QVERIFY(errors.texts.isEmpty());
    QVERIFY(!frmMain->RunActive);
    QVERIFY(!frmMain->ConsoleIO->IsRunning());
}

ZENDREL_TEST_MAIN(TestRunner)
#include "tst_runner.moc"
