// The real start-up sequence on the offscreen platform: first start,
// the main window's inventory, the first-show steps and the shutdown.
#include "TestUtil.h"

#include "app/Errors.h"
#include "app/IniFile.h"
#include "app/TfrmCommon.h"
#include "app/TfrmSplash.h"
#include "mainwindow/TfrmMain.h"
#include "queue/TFrmBatchAdd.h"
#include "queue/TFrmDirectory.h"
#include "run/TConsoleIO.h"
#include "run/TfrmOverWrite.h"
#include "run/TfrmUnSupportFormat.h"
#include "ui/TfrmHelpDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstStartWritesOutputFolderAndInstallsEncoder();
    void inventory_data();
    void inventory();
    void menusAndActions();
    void firstShowStepsRunOnce();
    void encoderCheckKeepsAnInstalledEncoder();
    void windowsExistHiddenInOrder();
    void missingSplashIsReportedAndStartGoesOn();
    void refusedSettingsWriteIsShownAndStartGoesOn();
    void errorLeavingAHandlerIsShown();
    void shutdownEmptiesQueueAndDeletesScript();

private:
    void showMain();
    QTemporaryDir *m_tmp = nullptr;
    QString m_dir;
};

void TestStartup::init()
{
    m_tmp = new QTemporaryDir;
    m_dir = TestUtil::makeProgramDir(*m_tmp, /*withEncoder=*/false);
    // The welcome dialog stays out of the way unless a test wants it.
    TestUtil::writeFile(m_dir + "config.ini", "[setting]\ndisplayHelpDialog=0\n");
}

void TestStartup::cleanup()
{
    TestUtil::stopProgram();
    TfrmCommon::setProgramDirOverride(QString());
    delete m_tmp;
    m_tmp = nullptr;
}

void TestStartup::showMain()
{
    frmMain->show();
    QVERIFY(QTest::qWaitForWindowExposed(frmMain));
    QTRY_VERIFY(frmMain->FirstPaintDone);
}

void TestStartup::firstStartWritesOutputFolderAndInstallsEncoder()
{
    QFile::remove(m_dir + "config.ini");
    TestUtil::ErrorRecorder errors;
    TestUtil::startProgram(m_dir);
    QCOMPARE(frmMain->editOutputFolder->text(), QStringLiteral("/"));
    QVERIFY(!QFile::exists(m_dir + "libm9s.exe"));
    showMain();
    QCOMPARE(frmCommon->LanguageIndex, 2);
    QCOMPARE(frmMain->editOutputFolder->text(), QDir::homePath());
    QCOMPARE(Ini::readString(m_dir + "config.ini", "setting", "outputFolder"), QDir::homePath());
    QVERIFY(QFileInfo(m_dir + "libm9s.exe").isExecutable());
    QCOMPARE(TestUtil::readFile(m_dir + "libm9s.exe"), TestUtil::readFile(TestUtil::encoderPath()));
    // The welcome dialog shows on a first start.
    QTRY_VERIFY(frmHelpDialog->isVisible());
    QVERIFY2(errors.texts.isEmpty(), qPrintable(errors.texts.join(" | ")));
}

void TestStartup::inventory_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    const QList<QPair<const char *, QRect>> rows = {
        {"listViewFiles", {2, 2, 463, 137}},        {"groupBoxButtons", {2, 140, 463, 38}},
        {"buttonAdd", {13, 8, 66, 25}},             {"buttonDelete", {85, 8, 66, 25}},
        {"buttonClearAll", {165, 9, 66, 25}},       {"buttonMoveUp", {310, 9, 66, 25}},
        {"buttonMoveDown", {384, 9, 66, 25}},       {"groupBoxStatus", {2, 179, 463, 57}},
        {"labelCurrentDecrption", {8, 16, 81, 13}}, {"labelCurrentProgress", {8, 34, 81, 13}},
        {"labelCurrentInfo", {96, 15, 361, 13}},    {"progressBarCurrent", {96, 32, 345, 17}},
        {"GroupBoxFormat", {3, 240, 462, 41}},      {"ComboBoxFormatSelect", {32, 14, 409, 21}},
        {"groupBoxSettings", {2, 283, 463, 134}},   {"GroupBoxSettingsVideo", {9, 12, 215, 117}},
        {"ComboBoxVideoCodec", {82, 13, 120, 21}},  {"comboBoxVideoBitrate", {82, 33, 120, 21}},
        {"comboBoxFrameRate", {82, 52, 120, 21}},   {"comboBoxVideoSize", {82, 73, 120, 21}},
        {"ComboBoxAspect", {82, 94, 120, 21}},      {"GroupBoxSettingsAudio", {237, 12, 215, 116}},
        {"ComboBoxAudioCodec", {83, 13, 120, 21}},  {"comboBoxAudioBitrate", {83, 34, 120, 21}},
        {"comboBoxSampleRate", {83, 54, 120, 21}},  {"comboBoxChannel", {83, 73, 120, 21}},
        {"groupBoxOutput", {2, 417, 463, 39}},      {"labelOutput", {8, 16, 65, 17}},
        {"editOutputFolder", {80, 12, 257, 21}},    {"BitBtnOutput", {346, 10, 111, 25}},
        {"buttonConvert", {183, 459, 105, 33}},     {"GroupBoxEditItem", {7, 64, 453, 65}},
        {"LabelEditItemFile", {12, 15, 29, 17}},    {"LabelEditItemFileName", {48, 15, 393, 17}},
        {"MaskEditFileStartTime", {69, 38, 56, 19}}, {"MaskEditItemFileDuration", {200, 37, 49, 19}},
        {"LabelEditItemMinutes", {255, 39, 66, 17}}, {"ButtonEditItemOK", {321, 34, 59, 22}},
        {"ButtonEditItemCancel", {389, 34, 59, 22}},
    };
    for (const auto &r : rows)
        QTest::newRow(r.first) << QString::fromLatin1(r.first) << r.second;
}

void TestStartup::inventory()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    TestUtil::startProgram(m_dir);
    auto *w = frmMain->findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->geometry(), geometry);
}

void TestStartup::menusAndActions()
{
    TestUtil::startProgram(m_dir);
    TfrmMain *m = frmMain;
    QCOMPARE(m->centralWidget()->size(), QSize(472, 495));
    QCOMPARE(m->minimumSize(), m->maximumSize());
    QVERIFY(!(m->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(m->windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(m->windowTitle(), QStringLiteral("Zendrel"));
    QVERIFY(m->GroupBoxEditItem->isHidden());
    QCOMPARE(m->listViewFiles->columnCount(), 3);
    QCOMPARE(m->listViewFiles->columnWidth(0), 298);
    QCOMPARE(m->listViewFiles->columnWidth(1), 70);
    QCOMPARE(m->listViewFiles->columnWidth(2), 90);
    QCOMPARE(m->listViewFiles->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(m->ComboBoxAspect->currentText(), QStringLiteral("auto"));
    QCOMPARE(m->ComboBoxAspect->count(), 3);
    QVERIFY(m->editOutputFolder->isReadOnly());
    QVERIFY(!m->ComboBoxVideoCodec->isEditable());
    QVERIFY(m->comboBoxVideoBitrate->isEditable());
    QCOMPARE(m->MaskEditFileStartTime->text(), QStringLiteral("00:00:00"));
    QCOMPARE(m->TimerRunTime->interval(), 1000);
    QVERIFY(!m->TimerRunTime->isActive());
    QVERIFY(m->ConsoleIO->EnableKill);
    QVERIFY(m->ConsoleIO->StopProcessOnFree);
    QCOMPARE(m->ConsoleIO->TerminateCommand, QStringLiteral("quit"));
    QVERIFY(m->acceptDrops());
    QCOMPARE(m->OverwriteChoice, 0);
    QVERIFY(m->KeepRunning);

    auto names = [](const QList<QAction *> &actions) {
        QStringList out;
        for (QAction *a : actions)
            out << a->objectName();
        return out;
    };
    QCOMPARE(names(m->N_1->actions()), (QStringList{"N1_1", "N1_11", "N1_2", "N1_3", "N1_4", "N1_5", "N1_6", "N1_7",
                                                    "N1_8", "N1_9", "N1_10"}));
    QCOMPARE(names(m->PopupMenu->actions()),
             (QStringList{"popMenu1", "popMenu2", "popMenu3", "popMenu4", "popMenu5", "popMenu6", "popMenu7"}));
    QCOMPARE(m->N_Skin->actions().size(), 18);
    QCOMPARE(m->N_Skin->actions().last()->objectName(), QStringLiteral("N_Skin18"));
    QCOMPARE(m->N_OtherProducts->actions().size(), 7);
    QCOMPARE(names(m->N_Help->actions()),
             (QStringList{"N_LocalHelp", "N_HomePage", "N_Support", "N_FeedBack", "N_Update"}));
    QStringList bar;
    for (QAction *a : m->menuBar()->actions())
        bar << a->menu()->objectName();
    QCOMPARE(bar, (QStringList{"N_1", "N_Skin", "N_Tools", "N_Help"}));

    // Buttons and entries follow their action's caption and enabled state.
    m->ActionFileAdd->setText(QStringLiteral("Add files"));
    m->ActionFileAdd->setEnabled(false);
    QCOMPARE(m->buttonAdd->text(), QStringLiteral("Add files"));
    QCOMPARE(m->N1_1->text(), QStringLiteral("Add files"));
    QCOMPARE(m->popMenu1->text(), QStringLiteral("Add files"));
    QVERIFY(!m->buttonAdd->isEnabled() && !m->N1_1->isEnabled() && !m->popMenu1->isEnabled());
    QCOMPARE(m->buttonConvert->text(), m->ActionConvertNow->text());
    QCOMPARE(m->BitBtnOutput->text(), m->ActionSetDirectory->text());
}

void TestStartup::firstShowStepsRunOnce()
{
    TestUtil::startProgram(m_dir);
    showMain();
    const QString first = frmMain->editOutputFolder->text();
    Ini::writeString(m_dir + "config.ini", "setting", "outputFolder", "/somewhere/else");
    QFile::remove(m_dir + "libm9s.exe");

    // Hiding and showing again, minimising and restoring, repainting: only
    // the encoder check runs again.
    TestUtil::showMainWindowAgain();
    QTest::qWait(50);
    QCOMPARE(frmMain->editOutputFolder->text(), first);
    QVERIFY(QFile::exists(m_dir + "libm9s.exe"));
    QVERIFY(!frmHelpDialog->isVisible());
}

void TestStartup::encoderCheckKeepsAnInstalledEncoder()
{
    TestUtil::writeFile(m_dir + "libm9s.exe", "installed encoder");
    TestUtil::writeFile(m_dir + "plug.exe", QByteArray("other") + QByteArray("\x09\x00\x00\x00", 4));
    TestUtil::startProgram(m_dir);
    showMain();
    QCOMPARE(TestUtil::readFile(m_dir + "libm9s.exe"), QByteArray("installed encoder"));

    // Neither encoder nor carrier: start-up completes without a message.
    TestUtil::stopProgram();
    QFile::remove(m_dir + "libm9s.exe");
    QFile::remove(m_dir + "plug.exe");
    TestUtil::ErrorRecorder errors;
    TestUtil::startProgram(m_dir);
    showMain();
    QVERIFY(!QFile::exists(m_dir + "libm9s.exe"));
    QVERIFY2(errors.texts.isEmpty(), qPrintable(errors.texts.join(" | ")));
}

void TestStartup::windowsExistHiddenInOrder()
{
    TestUtil::startProgram(m_dir);
    QVERIFY(frmCommon && !frmCommon->isVisible());
    QVERIFY(frmSplash && !frmSplash->isVisible());
    QCOMPARE(frmSplash->size(), QSize(420, 300));
    QVERIFY(frmSplash->windowFlags() & Qt::FramelessWindowHint);
    const QList<QWidget *> dialogs = {frmHelpDialog, frmUnSupportFormat, frmOverWrite, FrmBatchAdd, FrmDirectory};
    for (QWidget *d : dialogs) {
        QVERIFY(d);
        QVERIFY(!d->isVisible());
        QCOMPARE(d->parentWidget(), frmMain);
    }
    // Created in the listed order: later siblings come later among the children.
    QList<QWidget *> order;
    for (QObject *o : frmMain->children())
        if (dialogs.contains(qobject_cast<QWidget *>(o)))
            order << qobject_cast<QWidget *>(o);
    QCOMPARE(order, dialogs);
    QCOMPARE(frmHelpDialog->size(), QSize(363, 206));
}

void TestStartup::missingSplashIsReportedAndStartGoesOn()
{
    QFile::remove(m_dir + "splash-en.bmp");
    TestUtil::ErrorRecorder errors;
    TestUtil::startProgram(m_dir);
    const QStringList splashErrors = errors.texts.filter(QStringLiteral("Cannot open file"));
    QCOMPARE(splashErrors.size(), 1);
    QVERIFY2(splashErrors[0].startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(m_dir + "splash-en.bmp")),
             qPrintable(splashErrors[0]));
    QVERIFY(splashErrors[0].size() > QStringLiteral("Cannot open file \"%1\". ").arg(m_dir + "splash-en.bmp").size());
    QVERIFY(frmMain);
    showMain();
}

void TestStartup::refusedSettingsWriteIsShownAndStartGoesOn()
{
    QFile::remove(m_dir + "config.ini");
    QDir().mkpath(m_dir + "config.ini"); // the settings file cannot be written
    TestUtil::ErrorRecorder errors;
    TestUtil::startProgram(m_dir);
    showMain();
    QVERIFY(errors.texts.contains(QStringLiteral("Unable to write to %1").arg(m_dir + "config.ini")));
    QCOMPARE(frmMain->editOutputFolder->text(), QDir::homePath()); // kept on screen
    QVERIFY(frmMain->isVisible());
}

void TestStartup::errorLeavingAHandlerIsShown()
{
    TestUtil::startProgram(m_dir);
    TestUtil::ErrorRecorder errors;
    QTimer::singleShot(0, frmMain, [] { throw Errors::inOut(2); });
    QTimer::singleShot(0, frmMain, [] { throw ZError(QStringLiteral("second")); });
    QTRY_COMPARE(errors.texts, (QStringList{"File not found", "second"}));
    QVERIFY(frmMain); // the program goes on
}

void TestStartup::shutdownEmptiesQueueAndDeletesScript()
{
    QTemporaryDir temp;
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", temp.path().toLocal8Bit());
    TestUtil::writeFile(temp.filePath("m9s.avs"), "script");
    TestUtil::startProgram(m_dir);
    showMain();
    QCOMPARE(TfrmMain::GetTempDir(), temp.path() + "/");
    auto *row = new QTreeWidgetItem(QStringList{"/x/a.avi", "00:00:00", ""});
    frmMain->listViewFiles->addTopLevelItem(row);
    frmMain->ActionExit->trigger();
    QVERIFY(!frmMain->isVisible());
    QCOMPARE(frmMain->listViewFiles->topLevelItemCount(), 0);
    QVERIFY(!QFile::exists(temp.filePath("m9s.avs")));
    QTRY_VERIFY(frmCommon == nullptr); // released
    qputenv("TMPDIR", oldTmp);
}

ZENDREL_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
