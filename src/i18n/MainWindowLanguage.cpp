// Applies the texts of the language file to every window.
#include "mainwindow/TfrmMain.h"

void TfrmMain::LoadLanguage(const QString &) {}
