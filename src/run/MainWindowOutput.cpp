// Output naming, the overwrite policy and the encoder log of the main window.
#include "mainwindow/TfrmMain.h"

QString TfrmMain::ResolveOutputPath(const QString &path, const QString &) { return path; }
QString TfrmMain::AutoNamePath(const QString &path) { return path; }
void TfrmMain::AppendLog(const QString &) {}
QString TfrmMain::LogFilePath() const { return {}; }
void TfrmMain::DeleteLogFile() {}
