// The console process component with real child processes (/bin/sh).
#include "TestUtil.h"

#include "app/Errors.h"
#include "run/TConsoleIO.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <memory>

namespace {

// Everything the component reports, in the order it reports it.
struct Recorder
{
    QStringList events;
    bool offThread = false;
    void attach(TConsoleIO *io)
    {
        auto note = [this](const QString &e) {
            if (QThread::currentThread() != qApp->thread())
                offThread = true;
            events << e;
        };
        QObject::connect(io, &TConsoleIO::OnReceiveOutput, io, [note](const QString &s) { note("out:" + s); });
        QObject::connect(io, &TConsoleIO::OnReceiveError, io, [note](const QString &s) { note("err:" + s); });
        QObject::connect(io, &TConsoleIO::OnProcessStatusChange, io,
                         [note](bool r) { note(r ? "running" : "ended"); });
    }
    QStringList outputs() const
    {
        QStringList r;
        for (const QString &e : events)
            if (e.startsWith("out:"))
                r << e.mid(4);
        return r;
    }
    QString errors() const
    {
        QString r;
        for (const QString &e : events)
            if (e.startsWith("err:"))
                r += e.mid(4);
        return r;
    }
};

QStringList sh(const QString &script)
{
    return {QStringLiteral("/bin/sh"), QStringLiteral("-c"), script};
}

bool waitEnded(TConsoleIO &io, int ms = 10000)
{
    QElapsedTimer t;
    t.start();
    while (io.IsRunning() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return !io.IsRunning();
}

// True once no process with that id exists any more (a zombie counts as gone).
bool processGone(qint64 pid, int ms = 3000)
{
    QElapsedTimer t;
    t.start();
    do {
        if (::kill(pid_t(pid), 0) != 0)
            return true;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (stat.open(QIODevice::ReadOnly)) {
            const QByteArray s = stat.readAll();
            const int close = s.lastIndexOf(')');
            if (close > 0 && s.mid(close + 2, 1) == "Z")
                return true;
        }
        QThread::msleep(20);
    } while (t.elapsed() < ms);
    return false;
}

} // namespace

class TestConsoleIO : public QObject
{
    Q_OBJECT
private slots:
    void outputLinesAndEndOrder_data();
    void outputLinesAndEndOrder();
    void errorIsRawAndUnsplit();
    void startRaisesRunningBeforeReturn();
    void startFailureIsAnOsError_data();
    void startFailureIsAnOsError();
    void noShellAndInheritedFolder();
    void sendLineReachesChild();
    void sendLineToClosedInputRaises();
    void stopCooperativeChild();
    void stopKillsStubbornChildAndItsChildren();
    void throwingHandlerKeepsComponentWhole();
    void destructionStopsChildSilently();
    void exitVerdict_data();
    void exitVerdict();
};

void TestConsoleIO::outputLinesAndEndOrder_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("expected");
    // The rest after the last line feed comes once more at the end, also
    // when it is empty; a CR before the line feed stays.
    QTest::newRow("crlf and rest") << "printf 'a\\r\\nb\\nc'" << QStringList{"out:a\r", "out:b", "out:c", "ended"};
    QTest::newRow("ends in lf") << "printf 'x\\n'" << QStringList{"out:x", "out:", "ended"};
    QTest::newRow("no output") << "exit 0" << QStringList{"out:", "ended"};
    QTest::newRow("empty lines") << "printf '\\n\\nz\\n'" << QStringList{"out:", "out:", "out:z", "out:", "ended"};
    QTest::newRow("split over reads") << "printf 'ab'; sleep 0.2; printf 'c\\nd'; sleep 0.2; printf 'e\\n'"
                                      << QStringList{"out:abc", "out:de", "out:", "ended"};
}

void TestConsoleIO::outputLinesAndEndOrder()
{
    QFETCH(QString, script);
    QFETCH(QStringList, expected);
    TConsoleIO io;
    Recorder rec;
    rec.attach(&io);
    io.StartProcess(sh(script), QString(), false);
    QVERIFY(waitEnded(io));
    QStringList got = rec.events;
    QCOMPARE(got.takeFirst(), QStringLiteral("running"));
    QCOMPARE(got, expected);
    QVERIFY(!rec.offThread);
}

void TestConsoleIO::errorIsRawAndUnsplit()
{
    TConsoleIO io;
    Recorder rec;
    rec.attach(&io);
    io.StartProcess(sh("printf 'e1\\r\\ne2\\n' >&2; printf 'o1\\n'"), QString(), false);
    QVERIFY(waitEnded(io));
    QCOMPARE(rec.errors(), QStringLiteral("e1\r\ne2\n"));
    QCOMPARE(rec.outputs(), (QStringList{"o1", ""}));
    QCOMPARE(rec.events.last(), QStringLiteral("ended"));
    // A chunk holding both lines comes as one delivery, line feeds inside.
    bool whole = false;
    for (const QString &e : rec.events)
        whole |= e == QStringLiteral("err:e1\r\ne2\n");
    QVERIFY(whole);
}

void TestConsoleIO::startRaisesRunningBeforeReturn()
{
    TConsoleIO io;
    Recorder rec;
    rec.attach(&io);
    io.StartProcess(sh("sleep 0.3"), QString(), false);
    QCOMPARE(rec.events, QStringList{"running"});
    QVERIFY(io.IsRunning());
    QVERIFY(io.ProcessId() > 0);
    // A second start while one runs is refused.
    QVERIFY_THROWS_EXCEPTION(ZError, io.StartProcess(sh("exit 0"), QString(), false));
    QVERIFY(waitEnded(io));
    QCOMPARE(rec.events.last(), QStringLiteral("ended"));
    QCOMPARE(io.ProcessId(), 0);
}

void TestConsoleIO::startFailureIsAnOsError_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << QStringLiteral("/nonexistent/folder/libm9s.exe") << "No such file or directory";
    QTest::newRow("a folder") << QDir::tempPath() << "Permission denied";
}

void TestConsoleIO::startFailureIsAnOsError()
{
    QFETCH(QString, program);
    QFETCH(QString, reason);
    TConsoleIO io;
    Recorder rec;
    rec.attach(&io);
    try {
        io.StartProcess({program, QStringLiteral("-i"), QStringLiteral("x")}, QString(), false);
        QFAIL("no error raised");
    } catch (const ZError &e) {
        QCOMPARE(e.kind(), ZError::OS);
        QCOMPARE(e.message(), QStringLiteral("Cannot run %1: %2").arg(program, reason));
    }
    QVERIFY(!io.IsRunning());
    QCoreApplication::processEvents();
    QVERIFY(rec.events.isEmpty());
    // The component stays usable.
    io.StartProcess(sh("exit 0"), QString(), false);
    QVERIFY(waitEnded(io));
}

void TestConsoleIO::noShellAndInheritedFolder()
{
    // Words reach the child as they are: blanks, quotes, "$", ";" and a
    // leading "-" are no shell syntax here.
    const QStringList odd{"a b", "it's", "$HOME;rm", "-x", "\"q\""};
    TConsoleIO io;
    Recorder rec;
    rec.attach(&io);
    io.StartProcess(QStringList{"/bin/sh", "-c", "for w in \"$@\"; do printf '%s\\n' \"$w\"; done; pwd", "sh"} + odd,
                    QString(), false);
    QVERIFY(waitEnded(io));
    QCOMPARE(rec.outputs(), (odd + QStringList{QDir::currentPath(), QString()}));
}

void TestConsoleIO::sendLineReachesChild()
{
    TConsoleIO io;
    Recorder rec;
    rec.attach(&io);
    io.StartProcess(sh("read a; echo \"got:$a\"; read b; echo \"got:$b\""), QString(), false);
    io.SendLine(QStringLiteral("hello"));
    io.SendLine(QStringLiteral("q"));
    QVERIFY(waitEnded(io));
    QCOMPARE(rec.outputs(), (QStringList{"got:hello", "got:q", ""}));
}

void TestConsoleIO::sendLineToClosedInputRaises()
{
    TConsoleIO io;
    io.EnableKill = true;
    io.WaitTimeout = 200;
    Recorder rec;
    rec.attach(&io);
    io.StartProcess(sh("exec 0<&-; echo closed; sleep 20"), QString(), false);
    QTRY_VERIFY_WITH_TIMEOUT(rec.outputs().contains("closed"), 5000);
    QVERIFY_THROWS_EXCEPTION(ZError, io.SendLine(QStringLiteral("q")));
    QVERIFY(io.IsRunning());
    io.StopProcess();
    QVERIFY(!io.IsRunning());
    QVERIFY_THROWS_EXCEPTION(ZError, io.SendLine(QStringLiteral("q"))); // nothing runs
}

void TestConsoleIO::stopCooperativeChild()
{
    TConsoleIO io;
    io.EnableKill = true;
    Recorder rec;
    rec.attach(&io);
    io.StartProcess(sh("read a; echo \"bye:$a\"; exit 0"), QString(), false);
    QElapsedTimer t;
    t.start();
    io.StopProcess();
    // Ended inside the call: the child read the terminate command and left.
    QVERIFY(!io.IsRunning());
    QVERIFY(t.elapsed() < 900);
    QCOMPARE(rec.outputs(), (QStringList{"bye:quit", ""}));
    QCOMPARE(rec.events.last(), QStringLiteral("ended"));
    QVERIFY(io.LastExitSucceeded());
    io.StopProcess(); // nothing runs: nothing happens
    QCOMPARE(rec.events.count("ended"), 1);
}

void TestConsoleIO::stopKillsStubbornChildAndItsChildren()
{
    TConsoleIO io;
    io.EnableKill = true;
    io.WaitTimeout = 300;
    Recorder rec;
    rec.attach(&io);
    io.StartProcess(sh("trap '' TERM INT HUP; sleep 30 & echo $!; wait"), QString(), false);
    const qint64 shellPid = io.ProcessId();
    QTRY_VERIFY_WITH_TIMEOUT(!rec.outputs().isEmpty(), 5000);
    const qint64 childPid = rec.outputs().first().toLongLong();
    QVERIFY(childPid > 0);
    QElapsedTimer t;
    t.start();
    io.StopProcess();
    QVERIFY(t.elapsed() >= 250); // it was given its time first
    QVERIFY(!io.IsRunning());
    QCOMPARE(rec.events.last(), QStringLiteral("ended"));
    QVERIFY(!io.LastExitSucceeded());
    QVERIFY(processGone(shellPid));
    QVERIFY(processGone(childPid));
}

void TestConsoleIO::throwingHandlerKeepsComponentWhole()
{
    TestUtil::ErrorRecorder errors;
    TConsoleIO io;
    Recorder rec;
    rec.attach(&io);
    QObject::connect(&io, &TConsoleIO::OnReceiveOutput, &io, [](const QString &s) {
        if (s == QLatin1String("bad"))
            throw ZError(QStringLiteral("'x' is not a valid integer value"), ZError::Convert);
    });
    QObject::connect(&io, &TConsoleIO::OnReceiveError, &io, [](const QString &) {
        throw ZError(QStringLiteral("stderr handler failed"));
    });
    io.StartProcess(sh("printf 'a\\nbad\\nc\\n'; printf 'oops' >&2"), QString(), false);
    QVERIFY(waitEnded(io));
    QCOMPARE(rec.outputs(), (QStringList{"a", "bad", "c", ""}));
    QCOMPARE(rec.events.last(), QStringLiteral("ended"));
    // The errors reach the general handler.
    QTRY_COMPARE(errors.texts.size(), 2);
    QVERIFY(errors.texts.contains(QStringLiteral("'x' is not a valid integer value")));
    QVERIFY(errors.texts.contains(QStringLiteral("stderr handler failed")));
    // And the component runs the next process as usual.
    rec.events.clear();
    io.StartProcess(sh("echo next"), QString(), false);
    QVERIFY(waitEnded(io));
    QCOMPARE(rec.outputs(), (QStringList{"next", ""}));
}

void TestConsoleIO::destructionStopsChildSilently()
{
    auto io = std::make_unique<TConsoleIO>();
    io->EnableKill = true;
    io->StopProcessOnFree = true;
    io->WaitTimeout = 200;
    int ended = 0;
    QObject guard;
    QObject::connect(io.get(), &TConsoleIO::OnProcessStatusChange, &guard, [&](bool r) { ended += r ? 0 : 1; });
    io->StartProcess(sh("trap '' TERM; sleep 30"), QString(), false);
    const qint64 pid = io->ProcessId();
    io.reset();
    QVERIFY(processGone(pid));
    QCOMPARE(ended, 0);
}

void TestConsoleIO::exitVerdict_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("ok");
    QTest::newRow("exit 0") << "exit 0" << true;
    QTest::newRow("exit 1") << "exit 1" << false;
    QTest::newRow("exit 4") << "exit 4" << false;
    QTest::newRow("signal") << "kill -KILL $$" << false;
}

void TestConsoleIO::exitVerdict()
{
    QFETCH(QString, script);
    QFETCH(bool, ok);
    TConsoleIO io;
    io.StartProcess(sh(script), QString(), false);
    QVERIFY(waitEnded(io));
    QCOMPARE(io.LastExitSucceeded(), ok);
}

ZENDREL_TEST_MAIN(TestConsoleIO)
#include "tst_consoleio.moc"
