// The Tools and Help menus of the main window.
#include "mainwindow/TfrmMain.h"

#include "app/TfrmCommon.h"

void TfrmMain::N_LocalHelpClick()
{
    frmCommon->OpenLocalHelp();
}

void TfrmMain::N_HomePageClick()
{
    frmCommon->OpenHomePage();
}

void TfrmMain::N_SupportClick()
{
    frmCommon->OpenSupportMail();
}

void TfrmMain::N_FeedBackClick()
{
    frmCommon->OpenFeedbackPage();
}

void TfrmMain::N_UpdateClick()
{
    frmCommon->RunUpdater();
}

void TfrmMain::N_ProductClick(int number)
{
    frmCommon->OpenProductPage(number);
}
