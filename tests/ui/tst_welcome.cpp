// The welcome dialog: when the first paint shows it, how it looks, its
// buttons and the setting its check box writes at every click.
#include "TestUtil.h"

#include "app/IniFile.h"
#include "app/TfrmCommon.h"
#include "mainwindow/TfrmMain.h"
#include "ui/TfrmHelpDialog.h"

#include <QDir>
#include <QFile>

class TestWelcome : public QObject
{
    Q_OBJECT

    QStringList opened;
    bool started = false;

    // Starts the program and shows the main window until it has painted.
    void startAndPaint(const QString &dir)
    {
        TestUtil::startProgram(dir);
        started = true;
        frmMain->show();
        QVERIFY(QTest::qWaitForWindowExposed(frmMain));
        QTRY_VERIFY(frmMain->FirstPaintDone);
        QTest::qWait(50); // the dialog comes with a queued call
    }
    QString freshDir(const QTemporaryDir &tmp, const QByteArray &config)
    {
        const QString dir = TestUtil::makeProgramDir(tmp, false);
        if (!config.isNull())
            TestUtil::writeFile(dir + QStringLiteral("config.ini"), config);
        return dir;
    }
    QString storedValue() const
    {
        return Ini::readString(frmCommon->ConfigFile, QStringLiteral("setting"), QStringLiteral("displayHelpDialog"),
                               QStringLiteral("missing"));
    }
    void clickCheckBox()
    {
        QCheckBox *box = frmHelpDialog->CheckBoxDontDisplay;
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }

private slots:
    void initTestCase()
    {
        TfrmCommon::shellOpenHook() = [this](const QString &target) { opened << target; };
    }
    void cleanupTestCase() { TfrmCommon::shellOpenHook() = nullptr; }
    void init() { opened.clear(); }
    void cleanup()
    {
        if (started)
            TestUtil::stopProgram();
        started = false;
    }

    // Shown at the first paint exactly when the setting reads as 1.
    void shownAtFirstPaint_data()
    {
        QTest::addColumn<QByteArray>("config"); // null: no settings file
        QTest::addColumn<bool>("shown");
        QTest::newRow("no settings file") << QByteArray() << true;
        QTest::newRow("no key") << QByteArray("[setting]\r\nlogfile=0\r\n") << true;
        QTest::newRow("1") << QByteArray("[setting]\r\ndisplayHelpDialog=1\r\n") << true;
        QTest::newRow("0") << QByteArray("[setting]\r\ndisplayHelpDialog=0\r\n") << false;
        QTest::newRow("2") << QByteArray("[setting]\r\ndisplayHelpDialog=2\r\n") << false;
        QTest::newRow("a word") << QByteArray("[setting]\r\ndisplayHelpDialog=never\r\n") << true;
        QTest::newRow("hexadecimal 1") << QByteArray("[SETTING]\r\nDisplayHelpDialog=0x1\r\n") << true;
        QTest::newRow("hexadecimal 0") << QByteArray("[setting]\r\ndisplayHelpDialog=0x0\r\n") << false;
    }
    void shownAtFirstPaint()
    {
        QFETCH(QByteArray, config);
        QFETCH(bool, shown);
        QTemporaryDir tmp;
        startAndPaint(freshDir(tmp, config));
        QCOMPARE(frmHelpDialog->isVisible(), shown);
        // Showing it writes nothing.
        QCOMPARE(TestUtil::readFile(frmCommon->ConfigFile).contains("isplayHelpDialog"),
                 config.contains("isplayHelpDialog"));
    }

    // Modeless, fixed 363 x 206 with a close box only, centred on the main
    // window, and shown once per run however often the window repaints.
    void lookAndOnce()
    {
        QTemporaryDir tmp;
        startAndPaint(freshDir(tmp, {}));
        QVERIFY(frmHelpDialog->isVisible());
        QCOMPARE(frmHelpDialog->size(), QSize(363, 206));
        QCOMPARE(frmHelpDialog->minimumSize(), frmHelpDialog->maximumSize());
        const Qt::WindowFlags flags = frmHelpDialog->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(!frmHelpDialog->isModal());
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(frmHelpDialog->parentWidget(), frmMain);
        const QPoint offset = frmHelpDialog->frameGeometry().center() - frmMain->frameGeometry().center();
        QVERIFY2(qAbs(offset.x()) <= 2 && qAbs(offset.y()) <= 2,
                 qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
        QVERIFY(!frmHelpDialog->CheckBoxDontDisplay->isChecked());

        QTest::mouseClick(frmHelpDialog->ButtonNo, Qt::LeftButton);
        TestUtil::showMainWindowAgain();
        QTest::qWait(100);
        QVERIFY(!frmHelpDialog->isVisible());
    }

    // Yes opens the online help, No and the close box only hide; none of
    // them writes the setting.
    void buttons_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("opensHelp");
        QTest::newRow("Yes") << QStringLiteral("ButtonYes") << true;
        QTest::newRow("No") << QStringLiteral("ButtonNo") << false;
        QTest::newRow("close box") << QStringLiteral("close") << false;
    }
    void buttons()
    {
        QFETCH(QString, how);
        QFETCH(bool, opensHelp);
        QTemporaryDir tmp;
        startAndPaint(freshDir(tmp, "[setting]\r\ndisplayHelpDialog=1\r\n"));
        QVERIFY(frmHelpDialog->isVisible());
        if (how == QLatin1String("close"))
            frmHelpDialog->close();
        else
            QTest::mouseClick(frmHelpDialog->findChild<QPushButton *>(how), Qt::LeftButton);
        QVERIFY(!frmHelpDialog->isVisible());
        QCOMPARE(opened, opensHelp ? QStringList{frmCommon->OnlineHelpURL + QStringLiteral("?user=")} : QStringList{});
        QCOMPARE(storedValue(), QStringLiteral("1"));
    }

    // Every click writes at once: 0 when the box is now ticked, 1 when not.
    void checkBoxWritesEachClick_data()
    {
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QString>("stored");
        QTest::newRow("tick") << 1 << QStringLiteral("0");
        QTest::newRow("tick, untick") << 2 << QStringLiteral("1");
        QTest::newRow("tick, untick, tick") << 3 << QStringLiteral("0");
    }
    void checkBoxWritesEachClick()
    {
        QFETCH(int, clicks);
        QFETCH(QString, stored);
        QTemporaryDir tmp;
        startAndPaint(freshDir(tmp, {}));
        for (int i = 1; i <= clicks; ++i) {
            clickCheckBox();
            QCOMPARE(frmHelpDialog->CheckBoxDontDisplay->isChecked(), i % 2 == 1);
            QCOMPARE(storedValue(), QLatin1String(i % 2 == 1 ? "0" : "1"));
        }
        QVERIFY(frmHelpDialog->isVisible()); // written before any button
        QCOMPARE(storedValue(), stored);
    }

    // Ticked and No: the next start shows no welcome dialog.
    void choiceHoldsForNextStart()
    {
        QTemporaryDir tmp;
        const QString dir = freshDir(tmp, {});
        startAndPaint(dir);
        clickCheckBox();
        QTest::mouseClick(frmHelpDialog->ButtonNo, Qt::LeftButton);
        TestUtil::stopProgram();
        started = false;

        startAndPaint(dir);
        QVERIFY(!frmHelpDialog->isVisible());
    }

    // A settings file that cannot be written: the error is shown, the box
    // keeps its new state.
    void unwritableSetting()
    {
        QTemporaryDir tmp;
        startAndPaint(freshDir(tmp, {}));
        QFile::remove(frmCommon->ConfigFile);
        QVERIFY(QDir().mkpath(frmCommon->ConfigFile)); // a folder where the file should be
        TestUtil::ErrorRecorder errors;
        clickCheckBox();
        QCOMPARE(errors.texts, QStringList{QStringLiteral("Unable to write to ") + frmCommon->ConfigFile});
        QVERIFY(frmHelpDialog->CheckBoxDontDisplay->isChecked());
        QVERIFY(frmHelpDialog->isVisible());
    }
};

ZENDREL_TEST_MAIN(TestWelcome)
#include "tst_welcome.moc"
