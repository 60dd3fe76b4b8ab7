#pragma once
// Adds every matching file of a folder (and, when ticked, its sub-folders)
// to the queue. Modeless; keeps its folder, extension and tick.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

class ShellFolderTree;

class TFrmBatchAdd : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmBatchAdd(QWidget *parent = nullptr);
    ~TFrmBatchAdd() override;

    QLabel *labelDirectory = nullptr;
    QTreeView *ShellTreeView = nullptr;
    QCheckBox *checkBoxIsSubDirectorie = nullptr;
    QLabel *labelFileNameExt = nullptr;
    QLineEdit *editExt = nullptr;
    QLabel *labelNoticeFileNameExt = nullptr;
    QPushButton *buttonOK = nullptr;
    QPushButton *buttonCancel = nullptr;

    // The folder tree behind ShellTreeView (root: the computer).
    ShellFolderTree *shellTree = nullptr;

    void buttonOKClick();
    void buttonCancelClick();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

extern TFrmBatchAdd *FrmBatchAdd;
