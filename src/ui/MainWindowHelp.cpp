// The Tools and Help menus of the main window.
#include "mainwindow/TfrmMain.h"

#include "app/TfrmCommon.h"

void TfrmMain::N_LocalHelpClick() {}
void TfrmMain::N_HomePageClick() {}
void TfrmMain::N_SupportClick() {}
void TfrmMain::N_FeedBackClick() {}
void TfrmMain::N_UpdateClick() {}
void TfrmMain::N_ProductClick(int) {}
