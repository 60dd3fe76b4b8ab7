// The conversion queue of the main window: adding, removing, moving and
// trimming rows; the sources of files; the output folder.
#include "mainwindow/TfrmMain.h"

#include <QDragEnterEvent>
#include <QDropEvent>

void TfrmMain::AddFileToQueue(const QString &) {}
bool TfrmMain::IsInQueue(const QString &path) const { return m_queuedPaths.contains(path); }
void TfrmMain::RemoveSelected() {}
void TfrmMain::ActionFileDeleteExecute() { RemoveSelected(); }
void TfrmMain::ActionFileClearAllExecute() {}
void TfrmMain::MoveSelectedUp() {}
void TfrmMain::MoveSelectedDown() {}
void TfrmMain::ActionFileMoveUpExecute() { MoveSelectedUp(); }
void TfrmMain::ActionFileMoveDownExecute() { MoveSelectedDown(); }
void TfrmMain::ClearQueue()
{
    listViewFiles->clear();
    m_queuedPaths.clear();
}
void TfrmMain::listViewFilesMouseUp(Qt::MouseButton, const QPoint &) {}
void TfrmMain::ButtonEditItemOKClick() { GroupBoxEditItem->hide(); }
void TfrmMain::ButtonEditItemCancelClick() { GroupBoxEditItem->hide(); }
void TfrmMain::ActionFileAddExecute() {}
void TfrmMain::ActionFileBatchAddExecute() {}
void TfrmMain::AddFolderToQueue(const QString &, bool, const QString &) {}
void TfrmMain::WMDropFiles(const QStringList &) {}
void TfrmMain::ActionSetDirectoryExecute() {}
void TfrmMain::editOutputFolderChange() { WriteOutputFolder(); }
QString TfrmMain::SupportedExtensions() { return {}; }
QString TfrmMain::OpenDialogFilter() { return {}; }
QStringList TfrmMain::lastOpenDialogFilters() const { return m_openDialogFilters; }
void TfrmMain::dragEnterEvent(QDragEnterEvent *event) { QMainWindow::dragEnterEvent(event); }
void TfrmMain::dragMoveEvent(QDragMoveEvent *event) { QMainWindow::dragMoveEvent(event); }
void TfrmMain::dropEvent(QDropEvent *event) { QMainWindow::dropEvent(event); }
bool TfrmMain::eventFilter(QObject *watched, QEvent *event) { return QMainWindow::eventFilter(watched, event); }
