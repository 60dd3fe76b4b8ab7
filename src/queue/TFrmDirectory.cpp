#include "queue/TFrmDirectory.h"

#include "queue/ShellFolderTree.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStandardPaths>

TFrmDirectory *FrmDirectory = nullptr;

TFrmDirectory::TFrmDirectory(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FrmDirectory"));
    setWindowTitle(QStringLiteral("Choose a directory"));
    setFixedSize(401, 306);
    setModal(true);

    LabelDirectory = new QLabel(QStringLiteral("Directory"), this);
    LabelDirectory->setObjectName(QStringLiteral("LabelDirectory"));
    LabelDirectory->setGeometry(16, 16, 177, 13);
    ShellTreeView1 = new QTreeView(this);
    ShellTreeView1->setObjectName(QStringLiteral("ShellTreeView1"));
    ShellTreeView1->setGeometry(16, 32, 377, 225);
    shellTree = ShellFolderTree::showFolder(ShellTreeView1, DesktopFolder());
    ButtonOK = new QPushButton(QStringLiteral("&OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setGeometry(80, 269, 83, 30);
    ButtonCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    ButtonCancel->setGeometry(232, 269, 83, 30);

    connect(ButtonOK, &QPushButton::clicked, this, [this] { ButtonOKClick(); });
    connect(ButtonCancel, &QPushButton::clicked, this, [this] { ButtonCancelClick(); });
}

TFrmDirectory::~TFrmDirectory()
{
    if (FrmDirectory == this)
        FrmDirectory = nullptr;
}

QString TFrmDirectory::DesktopFolder()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QFileInfo(desktop).isDir())
        return QDir::cleanPath(desktop);
    return QDir::homePath();
}

void TFrmDirectory::ButtonOKClick()
{
    ChosenFolder = shellTree->selectedParsingName();
    accept();
}

void TFrmDirectory::ButtonCancelClick()
{
    ChosenFolder.clear();
    reject();
}

void TFrmDirectory::keyPressEvent(QKeyEvent *event)
{
    // Escape presses Cancel (which empties ChosenFolder); the close box only
    // rejects, leaving ChosenFolder as it was.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        ButtonCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
