#pragma once
// Runs one console program at a time with pipes for its standard streams
// and hands its output to the main thread as events. Started from a word
// list, never through a shell.

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <exception>

class TConsoleIO : public QObject
{
    Q_OBJECT
public:
    enum TSplitMode { smNone, smSplitchar };

    explicit TConsoleIO(QObject *owner = nullptr);
    ~TConsoleIO() override;

    QString TerminateCommand = QStringLiteral("quit");
    TSplitMode SplitMode = smSplitchar;
    char SplitChar = '\n';
    bool SplitReceive = true;
    bool SplitSend = true;
    int WaitTimeout = 1000;
    bool EnableKill = false;
    bool StopProcessOnFree = false;

    // words[0] is the program. Raises an operating-system error when the
    // process cannot be started (or one is still running).
    void StartProcess(const QStringList &words, const QString &workingFolder, bool showWindow);
    bool IsRunning() const;
    // Writes the text and a line feed to the child's input; raises an
    // operating-system error when the write fails.
    void SendLine(const QString &text);
    // Asks the child to end with TerminateCommand, then kills it (with the
    // programs it started) when it is still there after WaitTimeout ms.
    void StopProcess();

    // How the last process ended: true only for a normal exit with status 0.
    bool LastExitSucceeded() const { return m_lastExitOk; }
    // The process id of the running child, 0 when none runs.
    qint64 ProcessId() const;

signals:
    void OnReceiveOutput(const QString &cmd);
    void OnReceiveError(const QString &cmd);
    void OnProcessStatusChange(bool isRunning);

private:
    void readOutput();
    void readError();
    void processEnded(int exitCode, QProcess::ExitStatus status);
    void killProcessGroup();
    // Calls a delivery handler; an exception it raises is handed to the
    // general error handler afterwards instead of unwinding through the
    // process machinery, so the component's state stays whole.
    template <typename F> void deliver(F &&emitter);
    void raiseLater(std::exception_ptr error);

    QProcess *m_process = nullptr;
    QByteArray m_pendingOut;
    QStringDecoder m_errDecoder{QStringDecoder::Utf8};
    QStringDecoder m_rawOutDecoder{QStringDecoder::Utf8};
    bool m_running = false;
    bool m_lastExitOk = false;
};
