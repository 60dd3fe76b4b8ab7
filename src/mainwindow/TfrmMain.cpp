#include "mainwindow/TfrmMain.h"

#include "app/Errors.h"
#include "app/IniFile.h"
#include "app/TfrmCommon.h"
#include "app/TfrmSplash.h"
#include "app/ZendrelApplication.h"
#include "encoder/TFFMpeg.h"
#include "mainwindow/ActionBinding.h"
#include "profiles/TVideoProfile.h"
#include "run/TConsoleIO.h"
#include "ui/TfrmHelpDialog.h"
#include "ui/TsuiSkinEngine.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QMenuBar>
#include <QShowEvent>

TfrmMain *frmMain = nullptr;

namespace {

template <typename W>
W *make(QWidget *parent, const char *name, int x, int y, int w, int h)
{
    auto *widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

QLabel *label(QWidget *parent, const char *name, int x, int y, int w, int h, const QString &text)
{
    auto *l = make<QLabel>(parent, name, x, y, w, h);
    l->setText(text);
    return l;
}

QGroupBox *group(QWidget *parent, const char *name, int x, int y, int w, int h, const QString &title)
{
    auto *g = make<QGroupBox>(parent, name, x, y, w, h);
    g->setTitle(title);
    return g;
}

QComboBox *combo(QWidget *parent, const char *name, int x, int y, int w, int h, bool editable)
{
    auto *c = make<QComboBox>(parent, name, x, y, w, h);
    c->setEditable(editable);
    c->setInsertPolicy(QComboBox::NoInsert);
    return c;
}

QAction *action(QObject *owner, const char *name, const QString &caption)
{
    auto *a = new QAction(caption, owner);
    a->setObjectName(QLatin1String(name));
    return a;
}

QAction *separator(QObject *owner, const char *name)
{
    auto *s = new QAction(owner);
    s->setObjectName(QLatin1String(name));
    s->setSeparator(true);
    return s;
}

} // namespace

TfrmMain::TfrmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    if (!frmMain)
        frmMain = this;
    setWindowTitle(QStringLiteral("Zendrel"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    buildInventory();
    buildMenus();
    adjustSize();
    setFixedSize(sizeHint());
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    if (frmMain == this)
        frmMain = nullptr;
}

void TfrmMain::buildInventory()
{
    clientArea = new QWidget(this);
    clientArea->setObjectName(QStringLiteral("clientArea"));
    clientArea->setFixedSize(472, 495);
    setCentralWidget(clientArea);
    QWidget *c = clientArea;

    // Actions first: buttons and menu entries bind to them.
    ActionFileAdd = action(this, "ActionFileAdd", QStringLiteral("Add"));
    ActionFileBatchAdd = action(this, "ActionFileBatchAdd", QStringLiteral("ActionFileBatchAdd"));
    ActionFileDelete = action(this, "ActionFileDelete", QStringLiteral("Remove"));
    ActionFileClearAll = action(this, "ActionFileClearAll", QStringLiteral("ClearAll"));
    ActionFileMoveUp = action(this, "ActionFileMoveUp", QStringLiteral("MoveUp"));
    ActionFileMoveDown = action(this, "ActionFileMoveDown", QStringLiteral("MoveDown"));
    ActionConvertNow = action(this, "ActionConvertNow", QStringLiteral("ConvertNow"));
    ActionExit = action(this, "ActionExit", QStringLiteral("ActionExit"));
    ActionSetDirectory = action(this, "ActionSetDirectory", QStringLiteral("ActionSetDirectory"));
    ActionLoadProfile = action(this, "ActionLoadProfile", QStringLiteral("ActionLoadProfile"));
    ActionChangeProfile = action(this, "ActionChangeProfile", QStringLiteral("ActionChangeProfile"));

    connect(ActionFileAdd, &QAction::triggered, this, [this] { ActionFileAddExecute(); });
    connect(ActionFileBatchAdd, &QAction::triggered, this, [this] { ActionFileBatchAddExecute(); });
    connect(ActionFileDelete, &QAction::triggered, this, [this] { ActionFileDeleteExecute(); });
    connect(ActionFileClearAll, &QAction::triggered, this, [this] { ActionFileClearAllExecute(); });
    connect(ActionFileMoveUp, &QAction::triggered, this, [this] { ActionFileMoveUpExecute(); });
    connect(ActionFileMoveDown, &QAction::triggered, this, [this] { ActionFileMoveDownExecute(); });
    connect(ActionConvertNow, &QAction::triggered, this, [this] { ActionConvertNowExecute(); });
    connect(ActionExit, &QAction::triggered, this, [this] { ActionExitExecute(); });
    connect(ActionSetDirectory, &QAction::triggered, this, [this] { ActionSetDirectoryExecute(); });
    connect(ActionLoadProfile, &QAction::triggered, this, [this] { ActionLoadProfileExecute(); });
    connect(ActionChangeProfile, &QAction::triggered, this, [this] { ActionChangeProfileExecute(); });

    listViewFiles = make<QTreeWidget>(c, "listViewFiles", 2, 2, 463, 137);
    listViewFiles->setColumnCount(3);
    listViewFiles->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Start Time"), QStringLiteral("Duration")});
    listViewFiles->header()->setStretchLastSection(false);
    listViewFiles->setColumnWidth(0, 298);
    listViewFiles->setColumnWidth(1, 70);
    listViewFiles->setColumnWidth(2, 90);
    listViewFiles->setRootIsDecorated(false);
    listViewFiles->setUniformRowHeights(true);
    listViewFiles->setItemsExpandable(false);
    listViewFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    listViewFiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    listViewFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listViewFiles->setMouseTracking(true); // hot tracking
    listViewFiles->setAllColumnsShowFocus(true);
    listViewFiles->setContextMenuPolicy(Qt::CustomContextMenu);
    listViewFiles->setStyleSheet(QString()); // grid lines come from the skin

    groupBoxButtons = group(c, "groupBoxButtons", 2, 140, 463, 38, QString());
    buttonAdd = make<QPushButton>(groupBoxButtons, "buttonAdd", 13, 8, 66, 25);
    buttonDelete = make<QPushButton>(groupBoxButtons, "buttonDelete", 85, 8, 66, 25);
    buttonClearAll = make<QPushButton>(groupBoxButtons, "buttonClearAll", 165, 9, 66, 25);
    buttonMoveUp = make<QPushButton>(groupBoxButtons, "buttonMoveUp", 310, 9, 66, 25);
    buttonMoveDown = make<QPushButton>(groupBoxButtons, "buttonMoveDown", 384, 9, 66, 25);
    ActionBinding::bindButton(buttonAdd, ActionFileAdd);
    ActionBinding::bindButton(buttonDelete, ActionFileDelete);
    ActionBinding::bindButton(buttonClearAll, ActionFileClearAll);
    ActionBinding::bindButton(buttonMoveUp, ActionFileMoveUp);
    ActionBinding::bindButton(buttonMoveDown, ActionFileMoveDown);

    groupBoxStatus = group(c, "groupBoxStatus", 2, 179, 463, 57, QStringLiteral("groupBoxStatus"));
    labelCurrentDecrption = label(groupBoxStatus, "labelCurrentDecrption", 8, 16, 81, 13, QStringLiteral("labelCurrentDecrption"));
    labelCurrentProgress = label(groupBoxStatus, "labelCurrentProgress", 8, 34, 81, 13, QStringLiteral("labelCurrentProgress"));
    labelCurrentInfo = label(groupBoxStatus, "labelCurrentInfo", 96, 15, 361, 13, QStringLiteral("labelCurrentInfo"));
    labelCurrentInfo->setToolTip(labelCurrentInfo->text());
    progressBarCurrent = make<QProgressBar>(groupBoxStatus, "progressBarCurrent", 96, 32, 345, 17);
    progressBarCurrent->setRange(0, 100);
    progressBarCurrent->setValue(0);

    GroupBoxFormat = group(c, "GroupBoxFormat", 3, 240, 462, 41, QStringLiteral("GroupBoxFormat"));
    ComboBoxFormatSelect = combo(GroupBoxFormat, "ComboBoxFormatSelect", 32, 14, 409, 21, false);
    connect(ComboBoxFormatSelect, QOverload<int>::of(&QComboBox::activated), this, [this](int) { ComboBoxFormatSelectChange(); });

    groupBoxSettings = group(c, "groupBoxSettings", 2, 283, 463, 134, QStringLiteral("groupBoxSettings"));
    GroupBoxSettingsVideo = group(groupBoxSettings, "GroupBoxSettingsVideo", 9, 12, 215, 117, QStringLiteral("GroupBoxSettingsVideo"));
    QWidget *v = GroupBoxSettingsVideo;
    labelVideoCodec = label(v, "labelVideoCodec", 13, 16, 65, 13, QStringLiteral("labelVideoCodec"));
    ComboBoxVideoCodec = combo(v, "ComboBoxVideoCodec", 82, 13, 120, 21, false);
    labelVideoBitrate = label(v, "labelVideoBitrate", 13, 35, 65, 13, QStringLiteral("labelVideoBitrate"));
    comboBoxVideoBitrate = combo(v, "comboBoxVideoBitrate", 82, 33, 120, 21, true);
    labelFrameRate = label(v, "labelFrameRate", 13, 55, 65, 13, QStringLiteral("labelFrameRate"));
    comboBoxFrameRate = combo(v, "comboBoxFrameRate", 82, 52, 120, 21, true);
    labelVideoSize = label(v, "labelVideoSize", 13, 77, 65, 13, QStringLiteral("labelVideoSize"));
    comboBoxVideoSize = combo(v, "comboBoxVideoSize", 82, 73, 120, 21, true);
    LabelVideoAspect = label(v, "LabelVideoAspect", 13, 98, 65, 13, QStringLiteral("LabelVideoAspect"));
    ComboBoxAspect = combo(v, "ComboBoxAspect", 82, 94, 120, 21, false);
    ComboBoxAspect->addItems({QStringLiteral("auto"), QStringLiteral("4:3"), QStringLiteral("16:9")});
    ComboBoxAspect->setCurrentIndex(0);

    GroupBoxSettingsAudio = group(groupBoxSettings, "GroupBoxSettingsAudio", 237, 12, 215, 116, QStringLiteral("GroupBoxSettingsAudio"));
    QWidget *a = GroupBoxSettingsAudio;
    labelAudioCodec = label(a, "labelAudioCodec", 13, 16, 66, 13, QStringLiteral("labelAudioCodec"));
    ComboBoxAudioCodec = combo(a, "ComboBoxAudioCodec", 83, 13, 120, 21, false);
    labelAudioBitrate = label(a, "labelAudioBitrate", 13, 36, 66, 13, QStringLiteral("labelAudioBitrate"));
    comboBoxAudioBitrate = combo(a, "comboBoxAudioBitrate", 83, 34, 120, 21, true);
    labelSampleRate = label(a, "labelSampleRate", 13, 55, 66, 13, QStringLiteral("labelSampleRate"));
    comboBoxSampleRate = combo(a, "comboBoxSampleRate", 83, 54, 120, 21, true);
    labelChannel = label(a, "labelChannel", 14, 76, 66, 13, QStringLiteral("labelChannel"));
    comboBoxChannel = combo(a, "comboBoxChannel", 83, 73, 120, 21, false);

    groupBoxOutput = group(c, "groupBoxOutput", 2, 417, 463, 39, QStringLiteral("groupBoxOutput"));
    labelOutput = label(groupBoxOutput, "labelOutput", 8, 16, 65, 17, QStringLiteral("labelOutput"));
    editOutputFolder = make<QLineEdit>(groupBoxOutput, "editOutputFolder", 80, 12, 257, 21);
    editOutputFolder->setReadOnly(true);
    editOutputFolder->setText(QStringLiteral("/"));
    connect(editOutputFolder, &QLineEdit::textChanged, this, [this] { editOutputFolderChange(); });
    BitBtnOutput = make<QPushButton>(groupBoxOutput, "BitBtnOutput", 346, 10, 111, 25);
    BitBtnOutput->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    ActionBinding::bindButton(BitBtnOutput, ActionSetDirectory);

    buttonConvert = make<QPushButton>(c, "buttonConvert", 183, 459, 105, 33);
    ActionBinding::bindButton(buttonConvert, ActionConvertNow);

    // The edit panel lies over the list and starts hidden.
    GroupBoxEditItem = group(c, "GroupBoxEditItem", 7, 64, 453, 65, QString());
    GroupBoxEditItem->setFlat(true);
    GroupBoxEditItem->setAutoFillBackground(true);
    QWidget *e = GroupBoxEditItem;
    LabelEditItemFile = label(e, "LabelEditItemFile", 12, 15, 29, 17, QStringLiteral("File"));
    LabelEditItemFileName = label(e, "LabelEditItemFileName", 48, 15, 393, 17, QString());
    LabelFileStartTime = label(e, "LabelFileStartTime", 11, 39, 56, 17, QStringLiteral("Start Time:"));
    MaskEditFileStartTime = make<QLineEdit>(e, "MaskEditFileStartTime", 69, 38, 56, 19);
    LabelFileDuration = label(e, "LabelFileDuration", 144, 39, 54, 17, QStringLiteral("Duration:"));
    MaskEditItemFileDuration = make<QLineEdit>(e, "MaskEditItemFileDuration", 200, 37, 49, 19);
    // First hour digit optional, every other digit required, ":" fixed.
    for (QLineEdit *m : {MaskEditFileStartTime, MaskEditItemFileDuration}) {
        m->setInputMask(QStringLiteral("09:99:99;_"));
        m->setMaxLength(8);
        m->setText(QStringLiteral("00:00:00"));
    }
    LabelEditItemMinutes = label(e, "LabelEditItemMinutes", 255, 39, 66, 17, QStringLiteral("(Second)"));
    ButtonEditItemOK = make<QPushButton>(e, "ButtonEditItemOK", 321, 34, 59, 22);
    ButtonEditItemOK->setText(QStringLiteral("OK"));
    ButtonEditItemCancel = make<QPushButton>(e, "ButtonEditItemCancel", 389, 34, 59, 22);
    ButtonEditItemCancel->setText(QStringLiteral("Cancel"));
    connect(ButtonEditItemOK, &QPushButton::clicked, this, [this] { ButtonEditItemOKClick(); });
    connect(ButtonEditItemCancel, &QPushButton::clicked, this, [this] { ButtonEditItemCancelClick(); });
    GroupBoxEditItem->hide();

    // Non-visual components.
    ConsoleIO = new TConsoleIO(this);
    ConsoleIO->setObjectName(QStringLiteral("ConsoleIO"));
    ConsoleIO->TerminateCommand = QStringLiteral("quit");
    ConsoleIO->SplitMode = TConsoleIO::smSplitchar;
    ConsoleIO->SplitChar = '\n';
    connect(ConsoleIO, &TConsoleIO::OnReceiveOutput, this, [this](const QString &s) { ConsoleIOReceiveOutput(s); });
    connect(ConsoleIO, &TConsoleIO::OnReceiveError, this, [this](const QString &s) { ConsoleIOReceiveError(s); });
    connect(ConsoleIO, &TConsoleIO::OnProcessStatusChange, this, [this](bool r) { ConsoleIOProcessStatusChange(r); });
    FFMpeg = new TFFMpeg(this);
    FFMpeg->setObjectName(QStringLiteral("FFMpeg"));
    VideoProfile = new TVideoProfile(this);
    VideoProfile->setObjectName(QStringLiteral("VideoProfile"));
    suiSkinEngine = new TsuiSkinEngine(this);
    suiSkinEngine->setObjectName(QStringLiteral("suiSkinEngine"));
    if (frmCommon)
        frmCommon->skinEngine = suiSkinEngine;
    TimerRunTime = new QTimer(this);
    TimerRunTime->setObjectName(QStringLiteral("TimerRunTime"));
    TimerRunTime->setInterval(1000);
    connect(TimerRunTime, &QTimer::timeout, this, [this] { TimerRunTimeTimer(); });

    // Event filters for the list's mouse release and the time fields.
    listViewFiles->viewport()->installEventFilter(this);
    MaskEditFileStartTime->installEventFilter(this);
    MaskEditItemFileDuration->installEventFilter(this);
}

void TfrmMain::buildMenus()
{
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
    popMenu1 = ActionBinding::bindEntry(PopupMenu, "popMenu1", ActionFileAdd);
    popMenu2 = ActionBinding::bindEntry(PopupMenu, "popMenu2", ActionFileBatchAdd);
    popMenu3 = ActionBinding::bindEntry(PopupMenu, "popMenu3", ActionFileDelete);
    popMenu4 = ActionBinding::bindEntry(PopupMenu, "popMenu4", ActionFileClearAll);
    popMenu5 = separator(PopupMenu, "popMenu5");
    popMenu6 = ActionBinding::bindEntry(PopupMenu, "popMenu6", ActionFileMoveUp);
    popMenu7 = ActionBinding::bindEntry(PopupMenu, "popMenu7", ActionFileMoveDown);
    PopupMenu->addActions({popMenu1, popMenu2, popMenu3, popMenu4, popMenu5, popMenu6, popMenu7});
    connect(listViewFiles, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { PopupMenu->popup(listViewFiles->viewport()->mapToGlobal(p)); });

    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));
    bar->setNativeMenuBar(false);

    N_1 = bar->addMenu(QStringLiteral("&File"));
    N_1->setObjectName(QStringLiteral("N_1"));
    N1_1 = ActionBinding::bindEntry(N_1, "N1_1", ActionFileAdd);
    N1_11 = ActionBinding::bindEntry(N_1, "N1_11", ActionFileBatchAdd);
    N1_2 = ActionBinding::bindEntry(N_1, "N1_2", ActionFileDelete);
    N1_3 = ActionBinding::bindEntry(N_1, "N1_3", ActionFileClearAll);
    N1_4 = separator(N_1, "N1_4");
    N1_5 = ActionBinding::bindEntry(N_1, "N1_5", ActionFileMoveUp);
    N1_6 = ActionBinding::bindEntry(N_1, "N1_6", ActionFileMoveDown);
    N1_7 = separator(N_1, "N1_7");
    N1_8 = ActionBinding::bindEntry(N_1, "N1_8", ActionConvertNow);
    N1_9 = separator(N_1, "N1_9");
    N1_10 = ActionBinding::bindEntry(N_1, "N1_10", ActionExit);
    N_1->addActions({N1_1, N1_11, N1_2, N1_3, N1_4, N1_5, N1_6, N1_7, N1_8, N1_9, N1_10});

    N_Skin = bar->addMenu(QStringLiteral("&Skin"));
    N_Skin->setObjectName(QStringLiteral("N_Skin"));
    for (int k = 1; k <= 18; ++k) {
        QAction *entry = N_Skin->addAction(QStringLiteral("Skin%1").arg(k));
        entry->setObjectName(QStringLiteral("N_Skin%1").arg(k));
        connect(entry, &QAction::triggered, this, [this, k] { N_SkinClick(k); });
        N_Skins[k - 1] = entry;
    }

    N_Tools = bar->addMenu(QStringLiteral("&Tools"));
    N_Tools->setObjectName(QStringLiteral("N_Tools"));
    N_OtherProducts = N_Tools->addMenu(QStringLiteral("Other products"));
    N_OtherProducts->setObjectName(QStringLiteral("N_OtherProducts"));
    for (int k = 1; k <= 7; ++k) {
        QAction *entry = N_OtherProducts->addAction(QStringLiteral("Product%1").arg(k));
        entry->setObjectName(QStringLiteral("N_Product%1").arg(k));
        connect(entry, &QAction::triggered, this, [this, k] { N_ProductClick(k); });
        N_Products[k - 1] = entry;
    }

    N_Help = bar->addMenu(QStringLiteral("&Help"));
    N_Help->setObjectName(QStringLiteral("N_Help"));
    auto helpEntry = [this](const char *name, const QString &text, void (TfrmMain::*handler)()) {
        QAction *entry = N_Help->addAction(text);
        entry->setObjectName(QLatin1String(name));
        connect(entry, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return entry;
    };
    N_LocalHelp = helpEntry("N_LocalHelp", QStringLiteral("Help"), &TfrmMain::N_LocalHelpClick);
    N_HomePage = helpEntry("N_HomePage", QStringLiteral("Home page"), &TfrmMain::N_HomePageClick);
    N_Support = helpEntry("N_Support", QStringLiteral("Support"), &TfrmMain::N_SupportClick);
    N_FeedBack = helpEntry("N_FeedBack", QStringLiteral("Feedback"), &TfrmMain::N_FeedBackClick);
    N_Update = helpEntry("N_Update", QStringLiteral("Update"), &TfrmMain::N_UpdateClick);
}

void TfrmMain::FormCreate()
{
    setAcceptDrops(true);
    // Edit boxes take text drops of their own; without this, files dropped
    // on them would become text instead of reaching the queue.
    for (QWidget *child : findChildren<QWidget *>())
        child->setAcceptDrops(false);
    OverwriteChoice = 0;
    ConsoleIO->EnableKill = true;
    ConsoleIO->StopProcessOnFree = true;
    KeepRunning = true;
    // A failing profile must not stop the window from being created.
    try {
        ActionLoadProfile->trigger();
    } catch (const ZError &e) {
        ZendrelApplication::showError(e.message());
    }
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmMain::FormShow()
{
    if (!FirstPaintDone) {
        try {
            LoadLanguage(frmCommon->LanguageFile);
            frmCommon->ApplySkin(frmCommon->ReadSkinIndex());
            editOutputFolder->setText(ReadOutputFolder());
        } catch (const ZError &e) {
            ZendrelApplication::showError(e.message());
        }
    }
    EncoderCheck();
}

void TfrmMain::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    FormPaint();
}

void TfrmMain::FormPaint()
{
    if (FirstPaintDone)
        return;
    FirstPaintDone = true;
    if (frmCommon && frmCommon->ReadDisplayHelpDialog() && frmHelpDialog) {
        // Shown modeless once this paint has finished.
        QMetaObject::invokeMethod(frmHelpDialog, [] { if (frmHelpDialog) frmHelpDialog->showCentred(); }, Qt::QueuedConnection);
    }
}

void TfrmMain::EncoderCheck()
{
    if (!frmCommon)
        return;
    const QString encoder = frmCommon->ProgramDir + QStringLiteral("libm9s.exe");
    if (!QFile::exists(encoder))
        TfrmCommon::ExtractEncoder(frmCommon->ProgramDir + QStringLiteral("plug.exe"), encoder);
}

QString TfrmMain::ReadOutputFolder() const
{
    return Ini::readString(frmCommon->ConfigFile, QStringLiteral("setting"), QStringLiteral("outputFolder"), QDir::homePath());
}

void TfrmMain::WriteOutputFolder() const
{
    Ini::writeString(frmCommon->ConfigFile, QStringLiteral("setting"), QStringLiteral("outputFolder"), editOutputFolder->text());
}

QString TfrmMain::GetTempDir()
{
    QString dir = QDir::toNativeSeparators(QDir::tempPath());
    if (!dir.endsWith(QDir::separator()))
        dir += QDir::separator();
    return dir;
}

void TfrmMain::ActionExitExecute()
{
    close();
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
    QCoreApplication::quit();
}

void TfrmMain::FormClose()
{
    ClearQueue();
    if (ConsoleIO->IsRunning())
        ConsoleIO->StopProcess();
    const QString script = GetTempDir() + QStringLiteral("m9s.avs");
    if (QFile::exists(script))
        QFile::remove(script);
    if (frmCommon) {
        frmCommon->deleteLater();
    }
    if (frmSplash)
        frmSplash->deleteLater();
}
