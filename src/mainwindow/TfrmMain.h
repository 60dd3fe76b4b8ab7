#pragma once
// The main window: the conversion queue, the format and setting boxes, the
// output folder, the progress display and the Convert button. It owns the
// run's state. Its behaviour is split by subsystem: this file's .cpp builds
// the inventory and runs creation, first show, first paint and shutdown;
// queue/, profiles/, encoder/, run/, i18n/ and ui/ implement the rest.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <QTreeWidget>

class QFileDialog;
class TConsoleIO;
class TFFMpeg;
class TVideoProfile;
class TsuiSkinEngine;

class TfrmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    // ---- window state -------------------------------------------------
    bool FirstPaintDone = false;
    bool KeepRunning = true;
    int OverwriteChoice = 0;
    int RunTicks = 0;
    qint64 InputDurationSeconds = 0;
    qint64 MaxTimeSeconds = 0;
    QString CurrentFormat;
    QString CurrentExtension;
    bool RunActive = false; // a run is in progress (also between two jobs)

    // Held texts from the language file.
    QString msgStatusReady, msgStatusRun, msgClearAll, msgFolderView, msgFinishInfo;
    QString StringStartCaption, StringStopCaption;

    // ---- controls ------------------------------------------------------
    QWidget *clientArea = nullptr;
    QTreeWidget *listViewFiles = nullptr;
    QGroupBox *groupBoxButtons = nullptr;
    QPushButton *buttonAdd = nullptr, *buttonDelete = nullptr, *buttonClearAll = nullptr;
    QPushButton *buttonMoveUp = nullptr, *buttonMoveDown = nullptr;
    QGroupBox *groupBoxStatus = nullptr;
    QLabel *labelCurrentDecrption = nullptr, *labelCurrentProgress = nullptr, *labelCurrentInfo = nullptr;
    QProgressBar *progressBarCurrent = nullptr;
    QGroupBox *GroupBoxFormat = nullptr;
    QComboBox *ComboBoxFormatSelect = nullptr;
    QGroupBox *groupBoxSettings = nullptr, *GroupBoxSettingsVideo = nullptr, *GroupBoxSettingsAudio = nullptr;
    QLabel *labelVideoCodec = nullptr, *labelVideoBitrate = nullptr, *labelFrameRate = nullptr;
    QLabel *labelVideoSize = nullptr, *LabelVideoAspect = nullptr;
    QComboBox *ComboBoxVideoCodec = nullptr, *comboBoxVideoBitrate = nullptr, *comboBoxFrameRate = nullptr;
    QComboBox *comboBoxVideoSize = nullptr, *ComboBoxAspect = nullptr;
    QLabel *labelAudioCodec = nullptr, *labelAudioBitrate = nullptr, *labelSampleRate = nullptr, *labelChannel = nullptr;
    QComboBox *ComboBoxAudioCodec = nullptr, *comboBoxAudioBitrate = nullptr, *comboBoxSampleRate = nullptr;
    QComboBox *comboBoxChannel = nullptr;
    QGroupBox *groupBoxOutput = nullptr;
    QLabel *labelOutput = nullptr;
    QLineEdit *editOutputFolder = nullptr;
    QPushButton *BitBtnOutput = nullptr;
    QPushButton *buttonConvert = nullptr;
    QGroupBox *GroupBoxEditItem = nullptr;
    QLabel *LabelEditItemFile = nullptr, *LabelEditItemFileName = nullptr;
    QLabel *LabelFileStartTime = nullptr, *LabelFileDuration = nullptr, *LabelEditItemMinutes = nullptr;
    QLineEdit *MaskEditFileStartTime = nullptr, *MaskEditItemFileDuration = nullptr;
    QPushButton *ButtonEditItemOK = nullptr, *ButtonEditItemCancel = nullptr;

    // ---- actions -------------------------------------------------------
    QAction *ActionFileAdd = nullptr, *ActionFileBatchAdd = nullptr, *ActionFileDelete = nullptr;
    QAction *ActionFileClearAll = nullptr, *ActionFileMoveUp = nullptr, *ActionFileMoveDown = nullptr;
    QAction *ActionConvertNow = nullptr, *ActionExit = nullptr, *ActionSetDirectory = nullptr;
    QAction *ActionLoadProfile = nullptr, *ActionChangeProfile = nullptr;

    // ---- menus ---------------------------------------------------------
    QMenu *PopupMenu = nullptr;
    QAction *popMenu1 = nullptr, *popMenu2 = nullptr, *popMenu3 = nullptr, *popMenu4 = nullptr;
    QAction *popMenu5 = nullptr, *popMenu6 = nullptr, *popMenu7 = nullptr;
    QMenu *N_1 = nullptr, *N_Skin = nullptr, *N_Tools = nullptr, *N_OtherProducts = nullptr, *N_Help = nullptr;
    QAction *N1_1 = nullptr, *N1_11 = nullptr, *N1_2 = nullptr, *N1_3 = nullptr, *N1_4 = nullptr;
    QAction *N1_5 = nullptr, *N1_6 = nullptr, *N1_7 = nullptr, *N1_8 = nullptr, *N1_9 = nullptr, *N1_10 = nullptr;
    QAction *N_Skins[18] = {};    // N_Skin1 .. N_Skin18
    QAction *N_Products[7] = {};  // N_Product1 .. N_Product7
    QAction *N_LocalHelp = nullptr, *N_HomePage = nullptr, *N_Support = nullptr, *N_FeedBack = nullptr;
    QAction *N_Update = nullptr;

    // ---- non-visual components -------------------------------------------
    TConsoleIO *ConsoleIO = nullptr;
    TFFMpeg *FFMpeg = nullptr;
    TVideoProfile *VideoProfile = nullptr;
    QFileDialog *OpenDialog = nullptr; // made on first use
    TsuiSkinEngine *suiSkinEngine = nullptr;
    QTimer *TimerRunTime = nullptr;

    // ---- creation, show, paint, close (mainwindow/) ----------------------
    void FormCreate();
    void FormShow();
    void FormPaint();
    void FormClose();
    void ActionExitExecute();
    void EncoderCheck();
    QString ReadOutputFolder() const;
    void WriteOutputFolder() const;
    static QString GetTempDir();

    // ---- queue (queue/) --------------------------------------------------
    void AddFileToQueue(const QString &path);
    bool IsInQueue(const QString &path) const;
    void RemoveSelected();
    void ActionFileDeleteExecute();
    void ActionFileClearAllExecute();
    void MoveSelectedUp();
    void MoveSelectedDown();
    void ActionFileMoveUpExecute();
    void ActionFileMoveDownExecute();
    void ClearQueue(); // removes every row without asking
    void listViewFilesMouseUp(Qt::MouseButton button, const QPoint &pos);
    void ButtonEditItemOKClick();
    void ButtonEditItemCancelClick();
    void ActionFileAddExecute();
    void ActionFileBatchAddExecute();
    void AddFolderToQueue(const QString &folder, bool includeSubFolders, const QString &extension);
    void WMDropFiles(const QStringList &paths);
    void ActionSetDirectoryExecute();
    void editOutputFolderChange();
    static QString SupportedExtensions();
    static QString OpenDialogFilter();
    QStringList lastOpenDialogFilters() const;

    // ---- profiles (profiles/) ---------------------------------------------
    void ActionLoadProfileExecute();
    void ActionChangeProfileExecute();
    void ComboBoxFormatSelectChange();
    void FillSettingBox(const QString &defaultValue, const QString &values, QComboBox *box, bool enabled);

    // ---- job command (encoder/) --------------------------------------------
    // Returns the command text; LastJobArguments holds the same command as
    // words (the program path first) for starting the process.
    QString BuildJobCommand(const QString &inputFile, const QString &outputFile, const QString &startTime,
                            const QString &duration);
    QStringList LastJobArguments;

    // ---- run (run/) --------------------------------------------------------
    void ActionConvertNowExecute();
    void StartConversion();
    void StopConversion();
    void SetIdleState(bool enabled);
    void ConsoleIOProcessStatusChange(bool isRunning);
    void ResetStatus();
    void DeleteLogFile();
    void OpenFolder(const QString &path);
    void TimerRunTimeTimer();
    void ConsoleIOReceiveOutput(const QString &cmd);
    void ConsoleIOReceiveError(const QString &cmd);
    void ParseEncoderOutput(const QString &text);
    // inputPath: the job's input; an output that names the input file itself
    // always gets an automatic name.
    QString ResolveOutputPath(const QString &path, const QString &inputPath = QString());
    static QString AutoNamePath(const QString &path);
    void AppendLog(const QString &text);
    QString LogFilePath() const;

    // ---- language and skins, help (i18n/, ui/) ------------------------------
    void LoadLanguage(const QString &languageFile);
    void N_SkinClick(int index);       // N_Skin1Click .. N_Skin18Click
    void WMApplySkin(int index);       // the posted skin message
    void N_LocalHelpClick();
    void N_HomePageClick();
    void N_SupportClick();
    void N_FeedBackClick();
    void N_UpdateClick();
    void N_ProductClick(int number);   // N_Product1Click .. N_Product7Click

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildInventory();
    void buildMenus();
    // Queue bookkeeping: every path in the list, for a duplicate test that
    // does not scan the rows.
    QHash<QString, int> m_queuedPaths;
    QStringList m_openDialogFilters;
    int m_openDialogFilterIndex = 0;
    friend class QueueBookkeeping;
};

extern TfrmMain *frmMain;
