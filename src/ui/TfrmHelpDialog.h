#pragma once
// The welcome dialog: offers the short introduction on the web site and can
// be switched off for later starts. Modeless, hidden rather than destroyed.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

class TfrmHelpDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmHelpDialog(QWidget *parent = nullptr);
    ~TfrmHelpDialog() override;

    QLabel *LabelWelcom = nullptr;
    QLabel *LabelIntroduction = nullptr;
    QPushButton *ButtonYes = nullptr;
    QPushButton *ButtonNo = nullptr;
    QCheckBox *CheckBoxDontDisplay = nullptr;

    void ButtonYesClick();
    void ButtonNoClick();
    void CheckBoxDontDisplayClick();

    // Centred on the main window, without making it modal.
    void showCentred();
};

extern TfrmHelpDialog *frmHelpDialog;
