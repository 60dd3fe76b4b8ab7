#include "run/TConsoleIO.h"

#include "app/Errors.h"

#include <QFileInfo>

#include <csignal>
#include <unistd.h>

TConsoleIO::TConsoleIO(QObject *owner) : QObject(owner) {}

TConsoleIO::~TConsoleIO()
{
    // The owner is being torn down: nobody may hear of the end any more,
    // but the child must not outlive us.
    blockSignals(true);
    if (m_process) {
        if (m_running && StopProcessOnFree)
            StopProcess();
        if (m_process->state() != QProcess::NotRunning) {
            killProcessGroup();
            m_process->waitForFinished(5000);
        }
        m_process->disconnect(this);
        delete m_process;
        m_process = nullptr;
    }
}

bool TConsoleIO::IsRunning() const
{
    return m_running;
}

qint64 TConsoleIO::ProcessId() const
{
    return m_running && m_process ? m_process->processId() : 0;
}

void TConsoleIO::raiseLater(std::exception_ptr error)
{
    // A queued call reaches the application's notify(), which shows it.
    QMetaObject::invokeMethod(this, [error] { std::rethrow_exception(error); }, Qt::QueuedConnection);
}

template <typename F> void TConsoleIO::deliver(F &&emitter)
{
    try {
        emitter();
    } catch (...) {
        raiseLater(std::current_exception());
    }
}

void TConsoleIO::StartProcess(const QStringList &words, const QString &workingFolder, bool showWindow)
{
    Q_UNUSED(showWindow); // a console child has no window here
    if (m_running)
        throw ZError(QStringLiteral("Cannot run a second process: one is still running"), ZError::OS);
    const QString program = words.value(0);
    if (program.isEmpty())
        throw ZError(QStringLiteral("Cannot run an empty command"), ZError::OS);

    if (m_process) {
        m_process->disconnect(this);
        m_process->deleteLater();
        m_process = nullptr;
    }
    auto *process = new QProcess(this);
    process->setProgram(program);
    process->setArguments(words.mid(1));
    if (!workingFolder.isEmpty())
        process->setWorkingDirectory(workingFolder);
    process->setProcessChannelMode(QProcess::SeparateChannels);
    // Its own process group, like a console of its own: a stop can end the
    // child together with whatever it started, and a terminal's Ctrl+C
    // meant for Zendrel does not reach it.
    process->setChildProcessModifier([] { ::setpgid(0, 0); });
    connect(process, &QProcess::readyReadStandardOutput, this, &TConsoleIO::readOutput);
    connect(process, &QProcess::readyReadStandardError, this, &TConsoleIO::readError);
    connect(process, &QProcess::finished, this, &TConsoleIO::processEnded);

    m_pendingOut.clear();
    m_errDecoder.resetState();
    m_rawOutDecoder.resetState();
    m_lastExitOk = false;

    process->start(QIODevice::ReadWrite);
    if (!process->waitForStarted(-1)) {
        QString reason = process->errorString();
        if (!QFileInfo::exists(program))
            reason = QStringLiteral("No such file or directory");
        else if (!QFileInfo(program).isExecutable() || QFileInfo(program).isDir())
            reason = QStringLiteral("Permission denied");
        process->disconnect(this);
        delete process;
        throw ZError(QStringLiteral("Cannot run %1: %2").arg(program, reason), ZError::OS);
    }
    m_process = process;
    m_running = true;
    deliver([this] { emit OnProcessStatusChange(true); });
}

void TConsoleIO::readOutput()
{
    if (!m_process)
        return;
    const QByteArray data = m_process->readAllStandardOutput();
    if (data.isEmpty())
        return;
    if (SplitMode != smSplitchar || !SplitReceive) {
        const QString text = m_rawOutDecoder.decode(data);
        deliver([&] { emit OnReceiveOutput(text); });
        return;
    }
    m_pendingOut += data;
    // Each line leaves the buffer before it is handed out, so a handler that
    // raises, or that reads more output itself, never sees a line twice.
    for (;;) {
        const qsizetype at = m_pendingOut.indexOf(SplitChar);
        if (at < 0)
            break;
        const QString line = QString::fromUtf8(m_pendingOut.constData(), at);
        m_pendingOut.remove(0, at + 1);
        deliver([&] { emit OnReceiveOutput(line); });
    }
}

void TConsoleIO::readError()
{
    if (!m_process)
        return;
    const QByteArray data = m_process->readAllStandardError();
    if (data.isEmpty())
        return;
    const QString text = m_errDecoder.decode(data);
    deliver([&] { emit OnReceiveError(text); });
}

void TConsoleIO::processEnded(int exitCode, QProcess::ExitStatus status)
{
    if (!m_running)
        return;
    // Whatever is still buffered comes first, then the rest of a last line
    // (possibly empty), then the end.
    readOutput();
    readError();
    if (SplitMode == smSplitchar && SplitReceive) {
        const QString rest = QString::fromUtf8(m_pendingOut);
        m_pendingOut.clear();
        deliver([&] { emit OnReceiveOutput(rest); });
    }
    m_lastExitOk = status == QProcess::NormalExit && exitCode == 0;
    m_running = false;
    deliver([this] { emit OnProcessStatusChange(false); });
}

void TConsoleIO::SendLine(const QString &text)
{
    if (!m_running || !m_process)
        throw ZError(QStringLiteral("Cannot write to the process: none is running"), ZError::OS);
    QByteArray bytes = text.toUtf8();
    if (SplitSend)
        bytes += SplitChar;
    const auto fail = [this] {
        return ZError(QStringLiteral("Cannot write to %1: %2").arg(m_process->program(), m_process->errorString()),
                      ZError::OS);
    };
    if (m_process->state() != QProcess::Running || m_process->write(bytes) != bytes.size())
        throw fail();
    // Push the line out now; a child that has closed its input refuses it.
    QProcess *process = m_process;
    while (process->bytesToWrite() > 0 && process->state() == QProcess::Running) {
        if (!process->waitForBytesWritten(WaitTimeout))
            break;
    }
    if (process == m_process && process->error() == QProcess::WriteError)
        throw fail();
}

void TConsoleIO::killProcessGroup()
{
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return;
    const qint64 pid = m_process->processId();
    if (pid > 0)
        ::kill(-static_cast<pid_t>(pid), SIGKILL);
    m_process->kill();
}

void TConsoleIO::StopProcess()
{
    if (!m_running || !m_process)
        return;
    QProcess *process = m_process;
    if (process->state() == QProcess::Running) {
        QByteArray bytes = TerminateCommand.toUtf8();
        if (SplitSend)
            bytes += SplitChar;
        process->write(bytes); // a child that stopped reading is killed below
        process->waitForFinished(WaitTimeout);
    }
    if (process == m_process && process->state() != QProcess::NotRunning && EnableKill) {
        killProcessGroup();
        process->waitForFinished(5000);
    }
    // The end is normally handled inside the waits above; make sure it is
    // handled once the child is gone, whatever the waits saw.
    if (process == m_process && m_running && process->state() == QProcess::NotRunning)
        processEnded(process->exitCode(), process->exitStatus());
}
