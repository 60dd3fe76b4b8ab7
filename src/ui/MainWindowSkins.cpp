// The Skin menu of the main window.
#include "mainwindow/TfrmMain.h"

#include "app/TfrmCommon.h"

void TfrmMain::N_SkinClick(int index)
{
    // The new look is applied once this handler has returned and the menu
    // has closed. The apply is queued before the choice is written, so a
    // refused write still changes the look.
    QMetaObject::invokeMethod(this, [this, index] { WMApplySkin(index); }, Qt::QueuedConnection);
    frmCommon->WriteSkinIndex(index);
}

void TfrmMain::WMApplySkin(int index)
{
    frmCommon->ApplySkin(index);
}
