// The job runner, the progress display, the overwrite policy and the log.
#include "mainwindow/TfrmMain.h"

#include "run/TConsoleIO.h"

void TfrmMain::ActionConvertNowExecute() {}
void TfrmMain::StartConversion() {}
void TfrmMain::StopConversion() {}
void TfrmMain::SetIdleState(bool) {}
void TfrmMain::ConsoleIOProcessStatusChange(bool isRunning) { SetIdleState(!isRunning); }
void TfrmMain::ResetStatus() {}
void TfrmMain::OpenFolder(const QString &) {}
void TfrmMain::TimerRunTimeTimer() { ++RunTicks; }
void TfrmMain::ConsoleIOReceiveOutput(const QString &) {}
void TfrmMain::ConsoleIOReceiveError(const QString &) {}
void TfrmMain::ParseEncoderOutput(const QString &) {}
