// The format list and the setting boxes of the main window.
#include "mainwindow/TfrmMain.h"

void TfrmMain::ActionLoadProfileExecute() {}
void TfrmMain::ActionChangeProfileExecute() {}
void TfrmMain::ComboBoxFormatSelectChange() { ActionChangeProfile->trigger(); }
void TfrmMain::FillSettingBox(const QString &, const QString &, QComboBox *, bool) {}
