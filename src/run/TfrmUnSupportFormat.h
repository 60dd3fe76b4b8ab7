#pragma once
// Names the formats that failed to convert, offers the codecs page, shows
// the encoder log and sends an error report.

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

class TfrmUnSupportFormat : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmUnSupportFormat(QWidget *parent = nullptr);
    ~TfrmUnSupportFormat() override;

    QGroupBox *GroupBoxNotice = nullptr;
    QLabel *LabelUnSupportFormat = nullptr;
    QPushButton *ButtonDownloadCodecs = nullptr;
    QPushButton *ButtonCancel = nullptr;
    QLabel *LabelErrorMsg = nullptr;
    QLabel *LabelUserName = nullptr;
    QLineEdit *EditUserName = nullptr;
    QLabel *LabelUserEmail = nullptr;
    QLineEdit *EditUserEmail = nullptr;
    QLabel *LabelOrderID = nullptr;
    QLineEdit *EditOrderID = nullptr;
    QLabel *LabelOrderIDNotice = nullptr;
    QTextEdit *RichEditErrorMsg = nullptr;
    QPushButton *ButtonSendErrorReport = nullptr;

    QString UnsupportedFormats;
    QString msgUnSupportFormat;
    QString msgPleaseInputEmail;

    void FormShow();
    void LoadLogFile();
    void ButtonDownloadCodecsClick();
    void ButtonCancelClick();
    void ButtonSendErrorReportClick();

    // Shows the dialog without waiting; a dialog already open stays as it is.
    void showModeless();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // A message box with the application title, owned by the dialog.
    void showMessage(const QString &text);
};

extern TfrmUnSupportFormat *frmUnSupportFormat;
