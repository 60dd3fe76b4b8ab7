#pragma once
// Lets the user pick the output folder. Modal; keeps its selection.

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>

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

    void ButtonOKClick();
    void ButtonCancelClick();
};

extern TFrmDirectory *FrmDirectory;
