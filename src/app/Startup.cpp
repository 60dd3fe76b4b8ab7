#include "app/Startup.h"

#include "app/TfrmCommon.h"
#include "app/TfrmSplash.h"
#include "app/ZendrelApplication.h"
#include "mainwindow/TfrmMain.h"
#include "queue/TFrmBatchAdd.h"
#include "queue/TFrmDirectory.h"
#include "run/TfrmOverWrite.h"
#include "run/TfrmUnSupportFormat.h"
#include "ui/TfrmHelpDialog.h"

namespace Startup {

void CreateWindows()
{
    frmCommon = new TfrmCommon();

    frmSplash = new TfrmSplash();
    frmSplash->show();   // fade-in, then the bitmap
    frmSplash->repaint(); // draw the bitmap now
    frmSplash->close();  // fade-out; hidden, not destroyed

    frmMain = new TfrmMain();

    frmHelpDialog = new TfrmHelpDialog(frmMain);
    frmUnSupportFormat = new TfrmUnSupportFormat(frmMain);
    frmOverWrite = new TfrmOverWrite(frmMain);
    FrmBatchAdd = new TFrmBatchAdd(frmMain);
    FrmDirectory = new TFrmDirectory(frmMain);
}

void DestroyWindows()
{
    delete frmMain; // owns the dialogs
    delete frmSplash;
    delete frmCommon;
}

int Run(int argc, char **argv)
{
    ZendrelApplication app(argc, argv);
    CreateWindows();
    frmMain->show();
    const int code = app.exec();
    DestroyWindows();
    return code;
}

} // namespace Startup
