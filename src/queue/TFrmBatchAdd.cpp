#include "queue/TFrmBatchAdd.h"

#include "app/TextHelpers.h"
#include "mainwindow/TfrmMain.h"
#include "queue/ShellFolderTree.h"

#include <QKeyEvent>

TFrmBatchAdd *FrmBatchAdd = nullptr;

TFrmBatchAdd::TFrmBatchAdd(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FrmBatchAdd"));
    setWindowTitle(QStringLiteral("Add Files"));
    setFixedSize(402, 271);
    setModal(false);

    labelDirectory = new QLabel(QStringLiteral("Directory"), this);
    labelDirectory->setObjectName(QStringLiteral("labelDirectory"));
    labelDirectory->setGeometry(8, 8, 281, 13);
    ShellTreeView = new QTreeView(this);
    ShellTreeView->setObjectName(QStringLiteral("ShellTreeView"));
    ShellTreeView->setGeometry(8, 24, 377, 145);
    shellTree = ShellFolderTree::showComputer(ShellTreeView);
    checkBoxIsSubDirectorie = new QCheckBox(QStringLiteral("Include Sub Directorie"), this);
    checkBoxIsSubDirectorie->setObjectName(QStringLiteral("checkBoxIsSubDirectorie"));
    checkBoxIsSubDirectorie->setGeometry(8, 176, 361, 21);
    labelFileNameExt = new QLabel(QStringLiteral("labelFileNameExt"), this);
    labelFileNameExt->setObjectName(QStringLiteral("labelFileNameExt"));
    labelFileNameExt->setGeometry(4, 208, 101, 15);
    editExt = new QLineEdit(QStringLiteral("*"), this);
    editExt->setObjectName(QStringLiteral("editExt"));
    editExt->setGeometry(98, 205, 35, 21);
    labelNoticeFileNameExt = new QLabel(QStringLiteral("labelNoticeFileNameExt"), this);
    labelNoticeFileNameExt->setObjectName(QStringLiteral("labelNoticeFileNameExt"));
    labelNoticeFileNameExt->setGeometry(135, 206, 193, 17);
    buttonOK = new QPushButton(QStringLiteral("&OK"), this);
    buttonOK->setObjectName(QStringLiteral("buttonOK"));
    buttonOK->setGeometry(80, 237, 83, 30);
    buttonCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    buttonCancel->setObjectName(QStringLiteral("buttonCancel"));
    buttonCancel->setGeometry(224, 237, 83, 30);

    connect(buttonOK, &QPushButton::clicked, this, [this] { buttonOKClick(); });
    connect(buttonCancel, &QPushButton::clicked, this, [this] { buttonCancelClick(); });
}

TFrmBatchAdd::~TFrmBatchAdd()
{
    if (FrmBatchAdd == this)
        FrmBatchAdd = nullptr;
}

void TFrmBatchAdd::buttonOKClick()
{
    const QString folder = shellTree->selectedParsingName();
    hide();
    const QString extension = TextHelpers::Trim(editExt->text());
    const bool includeSubFolders = checkBoxIsSubDirectorie->isChecked();
    TfrmMain *target = qobject_cast<TfrmMain *>(parentWidget());
    if (!target)
        target = frmMain;
    if (target)
        target->AddFolderToQueue(folder, includeSubFolders, extension);
}

void TFrmBatchAdd::buttonCancelClick()
{
    hide();
}

void TFrmBatchAdd::keyPressEvent(QKeyEvent *event)
{
    // Escape presses Cancel.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        buttonCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
