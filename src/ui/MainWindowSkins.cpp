// The Skin menu of the main window.
#include "mainwindow/TfrmMain.h"

#include "app/TfrmCommon.h"

void TfrmMain::N_SkinClick(int) {}
void TfrmMain::WMApplySkin(int) {}
