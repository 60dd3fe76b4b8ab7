#include "run/TConsoleIO.h"

TConsoleIO::TConsoleIO(QObject *owner) : QObject(owner) {}
TConsoleIO::~TConsoleIO() = default;
void TConsoleIO::StartProcess(const QStringList &, const QString &, bool) {}
bool TConsoleIO::IsRunning() const { return m_running; }
void TConsoleIO::SendLine(const QString &) {}
void TConsoleIO::StopProcess() {}
