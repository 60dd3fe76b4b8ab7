#include "run/TfrmOverWrite.h"

TfrmOverWrite *frmOverWrite = nullptr;

TfrmOverWrite::TfrmOverWrite(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    // Dialog border with only a close box.
    setObjectName(QStringLiteral("frmOverWrite"));
    setWindowTitle(QStringLiteral("文件已存在"));
    setFixedSize(360, 120);
    setModal(true);

    labelDes = new QLabel(QStringLiteral("文件已存在，是否覆盖？"), this);
    labelDes->setObjectName(QStringLiteral("labelDes"));
    labelDes->setGeometry(10, 12, 340, 24);
    labelDes->setAlignment(Qt::AlignCenter);
    QFont bold = labelDes->font();
    bold.setBold(true);
    labelDes->setFont(bold);

    buttonOverWrite = new QPushButton(QStringLiteral("覆盖"), this);
    buttonOverWrite->setObjectName(QStringLiteral("buttonOverWrite"));
    buttonOverWrite->setGeometry(20, 46, 100, 27);
    buttonIgnore = new QPushButton(QStringLiteral("忽略"), this);
    buttonIgnore->setObjectName(QStringLiteral("buttonIgnore"));
    buttonIgnore->setGeometry(130, 46, 100, 27);
    buttonAutoName = new QPushButton(QStringLiteral("自动命名"), this);
    buttonAutoName->setObjectName(QStringLiteral("buttonAutoName"));
    buttonAutoName->setGeometry(240, 46, 100, 27);
    buttonAutoName->setDefault(true);
    buttonAutoName->setAutoDefault(true);
    buttonOverWrite->setAutoDefault(false);
    buttonIgnore->setAutoDefault(false);

    checkBoxNotice = new QCheckBox(QStringLiteral("下次不再提示，均依此次选择执行"), this);
    checkBoxNotice->setObjectName(QStringLiteral("checkBoxNotice"));
    checkBoxNotice->setGeometry(20, 84, 320, 22);

    connect(buttonOverWrite, &QPushButton::clicked, this, [this] { buttonOverWriteClick(); accept(); });
    connect(buttonIgnore, &QPushButton::clicked, this, [this] { buttonIgnoreClick(); reject(); });
    connect(buttonAutoName, &QPushButton::clicked, this, [this] { buttonAutoNameClick(); accept(); });
}

TfrmOverWrite::~TfrmOverWrite()
{
    if (frmOverWrite == this)
        frmOverWrite = nullptr;
}

void TfrmOverWrite::buttonOverWriteClick()
{
    Choice = checkBoxNotice->isChecked() ? 4 : 3;
}

void TfrmOverWrite::buttonIgnoreClick()
{
    Choice = checkBoxNotice->isChecked() ? 2 : 0;
}

void TfrmOverWrite::buttonAutoNameClick()
{
    Choice = checkBoxNotice->isChecked() ? 6 : 5;
}

int TfrmOverWrite::ask()
{
    Choice = 0; // the close box presses no button
    if (QWidget *owner = parentWidget())
        move(owner->frameGeometry().center() - QPoint(width() / 2, height() / 2));
    exec();
    return Choice;
}
