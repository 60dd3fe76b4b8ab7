#include "run/TfrmUnSupportFormat.h"

#include "app/TfrmCommon.h"
#include "app/ZendrelApplication.h"
#include "i18n/Templates.h"

#include <QFile>
#include <QMessageBox>
#include <QShowEvent>

TfrmUnSupportFormat *frmUnSupportFormat = nullptr;

TfrmUnSupportFormat::TfrmUnSupportFormat(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmUnSupportFormat"));
    setWindowTitle(QStringLiteral("Error"));
    setFixedSize(480, 430);
    setModal(false);

    auto label = [this](QWidget *parent, const char *name, const QString &text, int x, int y, int w, int h) {
        auto *l = new QLabel(text, parent);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(x, y, w, h);
        return l;
    };
    auto edit = [this](const char *name, int x, int y, int w, int h) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setGeometry(x, y, w, h);
        return e;
    };
    auto button = [](QWidget *parent, const char *name, const QString &text, int x, int y, int w, int h) {
        auto *b = new QPushButton(text, parent);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(x, y, w, h);
        return b;
    };

    GroupBoxNotice = new QGroupBox(this);
    GroupBoxNotice->setObjectName(QStringLiteral("GroupBoxNotice"));
    GroupBoxNotice->setGeometry(8, 6, 464, 104);
    LabelUnSupportFormat = label(GroupBoxNotice, "LabelUnSupportFormat",
                                 QStringLiteral("由于系统中缺少%s格式的解码器，故此类文件未转换成功。现在是否打开我们的官方网站以下载相关的解码器并安装？"),
                                 10, 12, 444, 52);
    LabelUnSupportFormat->setWordWrap(true);
    LabelUnSupportFormat->setTextFormat(Qt::PlainText); // formats and texts are never markup
    ButtonDownloadCodecs = button(GroupBoxNotice, "ButtonDownloadCodecs", QStringLiteral("Yes"), 140, 68, 81, 27);
    ButtonCancel = button(GroupBoxNotice, "ButtonCancel", QStringLiteral("No"), 244, 68, 81, 27);

    LabelErrorMsg = label(this, "LabelErrorMsg", QStringLiteral("如您安装解码器后，仍然无法转换，请将以下错误信息发送给我们："), 10, 116, 460, 32);
    LabelErrorMsg->setWordWrap(true);
    LabelUserName = label(this, "LabelUserName", QStringLiteral("您的姓名："), 10, 154, 90, 21);
    EditUserName = edit("EditUserName", 104, 152, 180, 23);
    LabelUserEmail = label(this, "LabelUserEmail", QStringLiteral("您的EMAIL："), 10, 182, 90, 21);
    EditUserEmail = edit("EditUserEmail", 104, 180, 180, 23);
    LabelOrderID = label(this, "LabelOrderID", QStringLiteral("订单编号："), 10, 210, 90, 21);
    EditOrderID = edit("EditOrderID", 104, 208, 180, 23);
    LabelOrderIDNotice = label(this, "LabelOrderIDNotice", QStringLiteral("LabelOrderIDNotice"), 290, 210, 180, 21);
    LabelOrderIDNotice->setWordWrap(true);
    RichEditErrorMsg = new QTextEdit(this);
    RichEditErrorMsg->setObjectName(QStringLiteral("RichEditErrorMsg"));
    RichEditErrorMsg->setGeometry(10, 238, 460, 144);
    RichEditErrorMsg->setAcceptRichText(false);
    RichEditErrorMsg->setLineWrapMode(QTextEdit::NoWrap);
    ButtonSendErrorReport = button(this, "ButtonSendErrorReport", QStringLiteral("Send Report"), 184, 392, 112, 29);

    // Enter in an edit box must not open the codecs page or hide the dialog.
    for (QPushButton *b : {ButtonDownloadCodecs, ButtonCancel, ButtonSendErrorReport})
        b->setAutoDefault(false);

    connect(ButtonDownloadCodecs, &QPushButton::clicked, this, [this] { ButtonDownloadCodecsClick(); });
    connect(ButtonCancel, &QPushButton::clicked, this, [this] { ButtonCancelClick(); });
    connect(ButtonSendErrorReport, &QPushButton::clicked, this, [this] { ButtonSendErrorReportClick(); });
}

TfrmUnSupportFormat::~TfrmUnSupportFormat()
{
    if (frmUnSupportFormat == this)
        frmUnSupportFormat = nullptr;
}

void TfrmUnSupportFormat::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmUnSupportFormat::showModeless()
{
    if (isVisible())
        return;
    if (QWidget *owner = parentWidget())
        move(owner->frameGeometry().center() - QPoint(width() / 2, height() / 2));
    show();
}

void TfrmUnSupportFormat::FormShow()
{
    LabelUnSupportFormat->setText(Templates::format(msgUnSupportFormat, UnsupportedFormats));
    LoadLogFile();
}

void TfrmUnSupportFormat::LoadLogFile()
{
    QFile log(frmCommon->ProgramDir + QStringLiteral("logFile.txt"));
    // No log (logging off): the box keeps what it showed before.
    if (!log.open(QIODevice::ReadOnly))
        return;
    QByteArray bytes = log.readAll();
    log.close();

    // Lines end at LF or CR LF; a carriage return on its own is dropped.
    bytes.replace('\r', QByteArray());
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    RichEditErrorMsg->setPlainText(QString::fromUtf8(bytes));
}

void TfrmUnSupportFormat::ButtonDownloadCodecsClick()
{
    frmCommon->OpenCodecsPage(UnsupportedFormats);
}

void TfrmUnSupportFormat::ButtonCancelClick()
{
    hide();
}

void TfrmUnSupportFormat::ButtonSendErrorReportClick()
{
    const QString userName = EditUserName->text();
    const QString userEmail = EditUserEmail->text();
    const QString orderId = EditOrderID->text();
    QString debugInfo = RichEditErrorMsg->toPlainText();
    debugInfo.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));

    if (userEmail.isEmpty()) {
        showMessage(msgPleaseInputEmail);
        EditUserEmail->setFocus();
        return;
    }
    // A failed delivery throws: the general handler shows it and the
    // dialog stays open with the user's entries.
    const QString answer = frmCommon->SendErrorReport(userName, userEmail, orderId, debugInfo);
    showMessage(answer);
    hide();
}

void TfrmUnSupportFormat::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, ZendrelApplication::title(), text, QMessageBox::Ok, this);
    box.exec();
}
