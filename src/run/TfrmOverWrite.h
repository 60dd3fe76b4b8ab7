#pragma once
// Asks what to do with an output file that already exists.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

class TfrmOverWrite : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmOverWrite(QWidget *parent = nullptr);
    ~TfrmOverWrite() override;

    QLabel *labelDes = nullptr;
    QPushButton *buttonOverWrite = nullptr;
    QPushButton *buttonIgnore = nullptr;
    QPushButton *buttonAutoName = nullptr;
    QCheckBox *checkBoxNotice = nullptr;

    // Code of the button pressed in the current showing; 0 when closed.
    int Choice = 0;

    void buttonOverWriteClick();
    void buttonIgnoreClick();
    void buttonAutoNameClick();

    // Shows the dialog modally, centred on its owner, and returns Choice.
    int ask();
};

extern TfrmOverWrite *frmOverWrite;
