#include "ui/TfrmHelpDialog.h"

#include "app/TfrmCommon.h"

TfrmHelpDialog *frmHelpDialog = nullptr;

TfrmHelpDialog::TfrmHelpDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmHelpDialog"));
    setWindowTitle(QStringLiteral("frmHelpDialog"));
    setFixedSize(363, 206);
    setModal(false);

    LabelWelcom = new QLabel(QStringLiteral("LabelWelcom"), this);
    LabelWelcom->setObjectName(QStringLiteral("LabelWelcom"));
    LabelWelcom->setGeometry(16, 14, 331, 44);
    LabelWelcom->setWordWrap(true);
    LabelIntroduction = new QLabel(QStringLiteral("LabelIntroduction"), this);
    LabelIntroduction->setObjectName(QStringLiteral("LabelIntroduction"));
    LabelIntroduction->setGeometry(16, 62, 331, 52);
    LabelIntroduction->setWordWrap(true);
    ButtonYes = new QPushButton(QStringLiteral("ButtonYes"), this);
    ButtonYes->setObjectName(QStringLiteral("ButtonYes"));
    ButtonYes->setGeometry(88, 124, 81, 27);
    ButtonNo = new QPushButton(QStringLiteral("ButtonNo"), this);
    ButtonNo->setObjectName(QStringLiteral("ButtonNo"));
    ButtonNo->setGeometry(194, 124, 81, 27);
    CheckBoxDontDisplay = new QCheckBox(QStringLiteral("CheckBoxDontDisplay"), this);
    CheckBoxDontDisplay->setObjectName(QStringLiteral("CheckBoxDontDisplay"));
    CheckBoxDontDisplay->setGeometry(16, 170, 331, 21);
    CheckBoxDontDisplay->setChecked(false);

    connect(ButtonYes, &QPushButton::clicked, this, [this] { ButtonYesClick(); });
    connect(ButtonNo, &QPushButton::clicked, this, [this] { ButtonNoClick(); });
    connect(CheckBoxDontDisplay, &QCheckBox::clicked, this, [this] { CheckBoxDontDisplayClick(); });
}

TfrmHelpDialog::~TfrmHelpDialog()
{
    if (frmHelpDialog == this)
        frmHelpDialog = nullptr;
}

void TfrmHelpDialog::showCentred()
{
    if (QWidget *owner = parentWidget())
        move(owner->frameGeometry().center() - QPoint(width() / 2, height() / 2));
    show();
}

void TfrmHelpDialog::ButtonYesClick()
{
    frmCommon->OpenWebHelp();
    hide();
}

void TfrmHelpDialog::ButtonNoClick()
{
    hide();
}

void TfrmHelpDialog::CheckBoxDontDisplayClick()
{
    frmCommon->WriteDisplayHelpDialog(CheckBoxDontDisplay->isChecked() ? 0 : 1);
}
