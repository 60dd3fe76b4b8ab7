#include "i18n/LanguageKeys.h"

#include "app/ZendrelApplication.h"
#include "mainwindow/TfrmMain.h"
#include "queue/TFrmBatchAdd.h"
#include "queue/TFrmDirectory.h"
#include "run/TfrmOverWrite.h"
#include "run/TfrmUnSupportFormat.h"
#include "ui/TfrmHelpDialog.h"

#include <QAbstractButton>

namespace LanguageKeys {

namespace {

using Apply = std::function<void(TfrmMain &, const QString &)>;

void put(QLabel *l, const QString &t) { l->setText(t); }
void put(QAbstractButton *b, const QString &t) { b->setText(t); }
void put(QGroupBox *g, const QString &t) { g->setTitle(t); }
void put(QAction *a, const QString &t) { a->setText(t); }
void put(QMenu *m, const QString &t) { m->setTitle(t); }

// The caption of a control, action or menu entry.
template <typename Get>
Apply caption(Get get)
{
    return [get](TfrmMain &m, const QString &t) {
        if (auto *target = get(m))
            put(target, t);
    };
}

template <typename Get>
Apply window(Get get)
{
    return [get](TfrmMain &m, const QString &t) {
        if (QWidget *w = get(m))
            w->setWindowTitle(t);
    };
}

Apply column(int index)
{
    return [index](TfrmMain &m, const QString &t) { m.listViewFiles->headerItem()->setText(index, t); };
}

Apply held(QString TfrmMain::*field)
{
    return [field](TfrmMain &m, const QString &t) { m.*field = t; };
}

Apply heldUnSupportFormat(QString TfrmUnSupportFormat::*field)
{
    return [field](TfrmMain &, const QString &t) {
        if (frmUnSupportFormat)
            frmUnSupportFormat->*field = t;
    };
}

// msgStatusReady is held and shown at once in the status line, whose hint
// always carries the same text.
void statusReady(TfrmMain &m, const QString &t)
{
    m.msgStatusReady = t;
    m.labelCurrentInfo->setText(t);
    m.labelCurrentInfo->setToolTip(t);
}

void applicationTitle(TfrmMain &, const QString &t)
{
    ZendrelApplication::setTitle(t);
}

#define MAIN(member) [](TfrmMain &m) { return m.member; }
#define DIALOG(dialog, member) [](TfrmMain &) { return dialog ? dialog->member : nullptr; }
#define DIALOG_WINDOW(dialog) [](TfrmMain &) -> QWidget * { return dialog; }

QList<Row> build()
{
    const QString app = QStringLiteral("App");
    const QString main = QStringLiteral("frmMain");
    const QString dir = QStringLiteral("frmDirectory");
    const QString batch = QStringLiteral("frmBatchAdd");
    const QString over = QStringLiteral("frmOverWrite");
    const QString unsup = QStringLiteral("frmUnSupportFormat");
    const QString help = QStringLiteral("frmHelpDialog");

    QList<Row> r = {
        {app, QStringLiteral("Title"), applicationTitle},

        {main, QStringLiteral("Caption"), window([](TfrmMain &m) -> QWidget * { return &m; })},
        {main, QStringLiteral("ActionFileAdd"), caption(MAIN(ActionFileAdd))},
        {main, QStringLiteral("ActionFileBatchAdd"), caption(MAIN(ActionFileBatchAdd))},
        {main, QStringLiteral("ActionConvertNow"), caption(MAIN(ActionConvertNow))},
        {main, QStringLiteral("ActionFileDelete"), caption(MAIN(ActionFileDelete))},
        {main, QStringLiteral("ActionFileClearAll"), caption(MAIN(ActionFileClearAll))},
        {main, QStringLiteral("ActionFileMoveUp"), caption(MAIN(ActionFileMoveUp))},
        {main, QStringLiteral("ActionFileMoveDown"), caption(MAIN(ActionFileMoveDown))},
        {main, QStringLiteral("ActionExit"), caption(MAIN(ActionExit))},
        {main, QStringLiteral("ActionSetDirectory"), caption(MAIN(ActionSetDirectory))},
        {main, QStringLiteral("ListViewItem0"), column(0)},
        {main, QStringLiteral("ListViewItem1"), column(1)},
        {main, QStringLiteral("ListViewItem2"), column(2)},
        {main, QStringLiteral("groupBoxStatus"), caption(MAIN(groupBoxStatus))},
        {main, QStringLiteral("groupBoxSettings"), caption(MAIN(groupBoxSettings))},
        {main, QStringLiteral("groupBoxSettingsVideo"), caption(MAIN(GroupBoxSettingsVideo))},
        {main, QStringLiteral("groupBoxSettingsAudio"), caption(MAIN(GroupBoxSettingsAudio))},
        {main, QStringLiteral("groupBoxOutput"), caption(MAIN(groupBoxOutput))},
        {main, QStringLiteral("groupBoxFormat"), caption(MAIN(GroupBoxFormat))},
        {main, QStringLiteral("LabelEditItemFile"), caption(MAIN(LabelEditItemFile))},
        {main, QStringLiteral("LabelFileStartTime"), caption(MAIN(LabelFileStartTime))},
        {main, QStringLiteral("LabelFileDuration"), caption(MAIN(LabelFileDuration))},
        {main, QStringLiteral("LabelEditItemMinutes"), caption(MAIN(LabelEditItemMinutes))},
        {main, QStringLiteral("ButtonEditItemOK"), caption(MAIN(ButtonEditItemOK))},
        {main, QStringLiteral("ButtonEditItemCancel"), caption(MAIN(ButtonEditItemCancel))},
        {main, QStringLiteral("labelCurrentDecrption"), caption(MAIN(labelCurrentDecrption))},
        {main, QStringLiteral("labelCurrentProgress"), caption(MAIN(labelCurrentProgress))},
        {main, QStringLiteral("labelOutput"), caption(MAIN(labelOutput))},
        {main, QStringLiteral("labelVideoCodec"), caption(MAIN(labelVideoCodec))},
        {main, QStringLiteral("labelVideoBitrate"), caption(MAIN(labelVideoBitrate))},
        {main, QStringLiteral("labelFrameRate"), caption(MAIN(labelFrameRate))},
        {main, QStringLiteral("labelVideoSize"), caption(MAIN(labelVideoSize))},
        {main, QStringLiteral("labelAudioCodec"), caption(MAIN(labelAudioCodec))},
        {main, QStringLiteral("labelAudioBitrate"), caption(MAIN(labelAudioBitrate))},
        {main, QStringLiteral("labelSampleRate"), caption(MAIN(labelSampleRate))},
        {main, QStringLiteral("labelChannel"), caption(MAIN(labelChannel))},
        {main, QStringLiteral("LabelVideoAspect"), caption(MAIN(LabelVideoAspect))},
        {main, QStringLiteral("StringStartCaption"), held(&TfrmMain::StringStartCaption)},
        {main, QStringLiteral("StringStopCaption"), held(&TfrmMain::StringStopCaption)},
        {main, QStringLiteral("msgStatusReady"), statusReady},
        {main, QStringLiteral("msgStatusRun"), held(&TfrmMain::msgStatusRun)},
        {main, QStringLiteral("msgClearAll"), held(&TfrmMain::msgClearAll)},
        {main, QStringLiteral("msgFolderView"), held(&TfrmMain::msgFolderView)},
        {main, QStringLiteral("msgFinishInfo"), held(&TfrmMain::msgFinishInfo)},
        {main, QStringLiteral("N_1"), caption(MAIN(N_1))},
        {main, QStringLiteral("N_Skin"), caption(MAIN(N_Skin))},
    };
    for (int k = 1; k <= 18; ++k)
        r.append({main, QStringLiteral("N_Skin%1").arg(k),
                  caption([k](TfrmMain &m) { return m.N_Skins[k - 1]; })});
    r.append({main, QStringLiteral("N_Tools"), caption(MAIN(N_Tools))});
    r.append({main, QStringLiteral("N_OtherProducts"), caption(MAIN(N_OtherProducts))});
    for (int k = 1; k <= 7; ++k)
        r.append({main, QStringLiteral("N_Product%1").arg(k),
                  caption([k](TfrmMain &m) { return m.N_Products[k - 1]; })});

    r += QList<Row>{
        {main, QStringLiteral("N_Help"), caption(MAIN(N_Help))},
        {main, QStringLiteral("N_LocalHelp"), caption(MAIN(N_LocalHelp))},
        {main, QStringLiteral("N_HomePage"), caption(MAIN(N_HomePage))},
        {main, QStringLiteral("N_Support"), caption(MAIN(N_Support))},
        {main, QStringLiteral("N_FeedBack"), caption(MAIN(N_FeedBack))},
        {main, QStringLiteral("N_Update"), caption(MAIN(N_Update))},

        {dir, QStringLiteral("caption"), window(DIALOG_WINDOW(FrmDirectory))},
        {dir, QStringLiteral("labelDiretroy"), caption(DIALOG(FrmDirectory, LabelDirectory))},
        {dir, QStringLiteral("buttonOK"), caption(DIALOG(FrmDirectory, ButtonOK))},
        {dir, QStringLiteral("buttonCancel"), caption(DIALOG(FrmDirectory, ButtonCancel))},

        {batch, QStringLiteral("caption"), window(DIALOG_WINDOW(FrmBatchAdd))},
        {batch, QStringLiteral("labelDirectory"), caption(DIALOG(FrmBatchAdd, labelDirectory))},
        {batch, QStringLiteral("checkBoxIsSubDirectorie"), caption(DIALOG(FrmBatchAdd, checkBoxIsSubDirectorie))},
        {batch, QStringLiteral("labelFileNameExt"), caption(DIALOG(FrmBatchAdd, labelFileNameExt))},
        {batch, QStringLiteral("labelNoticeFileNameExt"), caption(DIALOG(FrmBatchAdd, labelNoticeFileNameExt))},
        {batch, QStringLiteral("buttonOK"), caption(DIALOG(FrmBatchAdd, buttonOK))},
        {batch, QStringLiteral("buttonCancel"), caption(DIALOG(FrmBatchAdd, buttonCancel))},

        {over, QStringLiteral("caption"), window(DIALOG_WINDOW(frmOverWrite))},
        {over, QStringLiteral("labelDes"), caption(DIALOG(frmOverWrite, labelDes))},
        {over, QStringLiteral("buttonOverWrite"), caption(DIALOG(frmOverWrite, buttonOverWrite))},
        {over, QStringLiteral("buttonIgnore"), caption(DIALOG(frmOverWrite, buttonIgnore))},
        {over, QStringLiteral("buttonAutoName"), caption(DIALOG(frmOverWrite, buttonAutoName))},
        {over, QStringLiteral("checkBoxNotice"), caption(DIALOG(frmOverWrite, checkBoxNotice))},

        {unsup, QStringLiteral("caption"), window(DIALOG_WINDOW(frmUnSupportFormat))},
        {unsup, QStringLiteral("ButtonDownloadCodecs"), caption(DIALOG(frmUnSupportFormat, ButtonDownloadCodecs))},
        {unsup, QStringLiteral("ButtonCancel"), caption(DIALOG(frmUnSupportFormat, ButtonCancel))},
        {unsup, QStringLiteral("LabelErrorMsg"), caption(DIALOG(frmUnSupportFormat, LabelErrorMsg))},
        {unsup, QStringLiteral("ButtonSendErrorReport"), caption(DIALOG(frmUnSupportFormat, ButtonSendErrorReport))},
        {unsup, QStringLiteral("msgUnSupportFormat"), heldUnSupportFormat(&TfrmUnSupportFormat::msgUnSupportFormat)},
        {unsup, QStringLiteral("LabelUserName"), caption(DIALOG(frmUnSupportFormat, LabelUserName))},
        {unsup, QStringLiteral("LabelUserEmail"), caption(DIALOG(frmUnSupportFormat, LabelUserEmail))},
        {unsup, QStringLiteral("LabelOrderID"), caption(DIALOG(frmUnSupportFormat, LabelOrderID))},
        {unsup, QStringLiteral("LabelOrderIDNotice"), caption(DIALOG(frmUnSupportFormat, LabelOrderIDNotice))},
        {unsup, QStringLiteral("msgPleaseInputEmail"), heldUnSupportFormat(&TfrmUnSupportFormat::msgPleaseInputEmail)},

        {help, QStringLiteral("title"), window(DIALOG_WINDOW(frmHelpDialog))},
        {help, QStringLiteral("labelWelcom"), caption(DIALOG(frmHelpDialog, LabelWelcom))},
        {help, QStringLiteral("labelIntroduction"), caption(DIALOG(frmHelpDialog, LabelIntroduction))},
        {help, QStringLiteral("checkBoxDontDisplay"), caption(DIALOG(frmHelpDialog, CheckBoxDontDisplay))},
        {help, QStringLiteral("ButtonYes"), caption(DIALOG(frmHelpDialog, ButtonYes))},
        {help, QStringLiteral("ButtonNo"), caption(DIALOG(frmHelpDialog, ButtonNo))},
    };
    return r;
}

#undef MAIN
#undef DIALOG
#undef DIALOG_WINDOW

} // namespace

const QList<Row> &rows()
{
    static const QList<Row> table = build();
    return table;
}

QStringList sections()
{
    QStringList out;
    for (const Row &row : rows())
        if (!out.contains(row.section))
            out << row.section;
    return out;
}

} // namespace LanguageKeys
