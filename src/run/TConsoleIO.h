#pragma once
// Runs one console program at a time with pipes for its standard streams
// and hands its output to the main thread as events. Started from a word
// list, never through a shell.

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

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
    // process cannot be started.
    void StartProcess(const QStringList &words, const QString &workingFolder, bool showWindow);
    bool IsRunning() const;
    void SendLine(const QString &text);
    void StopProcess();

    // How the last process ended: true only for a normal exit with status 0.
    bool LastExitSucceeded() const { return m_lastExitOk; }

signals:
    void OnReceiveOutput(const QString &cmd);
    void OnReceiveError(const QString &cmd);
    void OnProcessStatusChange(bool isRunning);

private:
    QProcess *m_process = nullptr;
    QByteArray m_pendingOut;
    bool m_running = false;
    bool m_lastExitOk = false;
};
