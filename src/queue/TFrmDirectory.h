#pragma once
// Lets the user pick the output folder. Modal; keeps its selection.

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>

class ShellFolderTree;

class TFrmDirectory : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmDirectory(QWidget *parent = nullptr);
    ~TFrmDirectory() override;

    QLabel *LabelDirectory = nullptr;
    QTreeView *ShellTreeView1 = nullptr;
    QPushButton *ButtonOK = nullptr;
    QPushButton *ButtonCancel = nullptr;

    // The folder picked by the last OK, or empty after the last Cancel.
    QString ChosenFolder;

    // The folder tree behind ShellTreeView1 (root: the desktop folder).
    ShellFolderTree *shellTree = nullptr;

    // The desktop folder, or the home folder when there is none.
    static QString DesktopFolder();

    void ButtonOKClick();
    void ButtonCancelClick();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

extern TFrmDirectory *FrmDirectory;
