// Assembly of one job's encoder command from the row and the setting boxes.
#include "mainwindow/TfrmMain.h"

QString TfrmMain::BuildJobCommand(const QString &, const QString &, const QString &, const QString &) { return {}; }
