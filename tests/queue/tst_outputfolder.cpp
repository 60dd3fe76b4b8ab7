// The output folder: the directory dialog and the stored setting.
#include "QueueTestHelpers.h"
#include "TestUtil.h"

#include "app/IniFile.h"
#include "app/TfrmCommon.h"
#include "mainwindow/TfrmMain.h"
#include "queue/ShellFolderTree.h"
#include "queue/TFrmDirectory.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

class TestOutputFolder : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_programDir;
    QString m_home;
    QString m_desktop;

    QString config() const { return m_programDir + QStringLiteral("config.ini"); }
    QString stored() const
    {
        return Ini::readString(config(), QStringLiteral("setting"), QStringLiteral("outputFolder"), QStringLiteral("<none>"));
    }
    // Puts a value into the settings file behind the program's back, so a
    // later write shows as a change of it.
    void tamper() { Ini::writeString(config(), QStringLiteral("setting"), QStringLiteral("outputFolder"), QStringLiteral("tampered")); }

    // Opens the dialog through the main window's button and answers it.
    void chooseWith(std::function<void(TFrmDirectory *)> act)
    {
        bool ran = false;
        QueueTest::onNextModal<TFrmDirectory>([&](TFrmDirectory *d) {
            ran = true;
            QVERIFY(d->isModal());
            act(d);
        });
        QTest::mouseClick(frmMain->BitBtnOutput, Qt::LeftButton);
        QVERIFY(ran);
        QVERIFY(!FrmDirectory->isVisible());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        m_home = m_tmp.path() + QStringLiteral("/home");
        m_desktop = m_home + QStringLiteral("/Desktop");
        QVERIFY(QDir().mkpath(m_desktop + QStringLiteral("/Videos")));
        QVERIFY(QDir().mkpath(m_desktop + QStringLiteral("/Other")));
        qputenv("HOME", m_home.toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (m_home + QStringLiteral("/.config")).toLocal8Bit());
        m_programDir = TestUtil::makeProgramDir(m_tmp);
        TestUtil::writeFile(config(), "[setting]\ndisplayHelpDialog=0\n");
        TestUtil::startProgram(m_programDir);
        frmMain->show();
        QVERIFY(QTest::qWaitForWindowExposed(frmMain));
    }
    void cleanupTestCase() { TestUtil::stopProgram(); }

    void desktopFolder()
    {
        QCOMPARE(TFrmDirectory::DesktopFolder(), m_desktop);
        // Without a desktop folder, the home folder.
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", (m_tmp.path() + QStringLiteral("/bare")).toLocal8Bit());
        QVERIFY(QDir().mkpath(m_tmp.path() + QStringLiteral("/bare")));
        QCOMPARE(TFrmDirectory::DesktopFolder(), m_tmp.path() + QStringLiteral("/bare"));
        qputenv("HOME", home);
    }

    void treeStartsAtTheDesktop()
    {
        ShellFolderTree *tree = FrmDirectory->shellTree;
        QVERIFY(tree);
        QTreeView *view = FrmDirectory->ShellTreeView1;
        QCOMPARE(view->model()->rowCount(), 1);
        const QModelIndex top = tree->topIndex();
        QCOMPARE(tree->parsingName(top), m_desktop);
        QCOMPARE(view->currentIndex(), top);
        QVERIFY(view->selectionModel()->isSelected(top));
        QVERIFY(view->isExpanded(top));
        QTRY_COMPARE(view->model()->rowCount(top), 2); // Videos and Other
        // Nothing outside the desktop is in the tree.
        QVERIFY(!tree->indexOf(m_home).isValid());
        QVERIFY(!tree->indexOf(QStringLiteral("/")).isValid());
        QVERIFY(tree->indexOf(m_desktop + QStringLiteral("/Videos")).isValid());
    }

    void editBoxIsReadOnly()
    {
        QLineEdit *box = frmMain->editOutputFolder;
        QVERIFY(box->isReadOnly());
        const QString before = box->text();
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("xyz"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), before);
    }

    // Every real change of the box is written at once; the same text again
    // writes nothing.
    void settingWrittenOncePerRealChange()
    {
        QLineEdit *box = frmMain->editOutputFolder;
        box->setText(QStringLiteral("/srv/out one"));
        QCOMPARE(stored(), QStringLiteral("/srv/out one"));
        tamper();
        box->setText(QStringLiteral("/srv/out one"));
        QCOMPARE(stored(), QStringLiteral("tampered"));
        box->setText(QStringLiteral("/srv/vidéos"));
        QCOMPARE(stored(), QStringLiteral("/srv/vidéos"));
    }

    void directoryDialog()
    {
        QLineEdit *box = frmMain->editOutputFolder;
        box->setText(QStringLiteral("/start"));

        // OK without touching the tree: the desktop folder.
        chooseWith([](TFrmDirectory *d) { QTest::mouseClick(d->ButtonOK, Qt::LeftButton); });
        QCOMPARE(FrmDirectory->ChosenFolder, m_desktop);
        QCOMPARE(box->text(), m_desktop);
        QCOMPARE(stored(), m_desktop);

        // The same folder again writes nothing.
        tamper();
        chooseWith([](TFrmDirectory *d) { QTest::mouseClick(d->ButtonOK, Qt::LeftButton); });
        QCOMPARE(stored(), QStringLiteral("tampered"));

        // Another folder.
        const QString videos = m_desktop + QStringLiteral("/Videos");
        chooseWith([&](TFrmDirectory *d) {
            QVERIFY(d->shellTree->selectFolder(videos));
            QTest::mouseClick(d->ButtonOK, Qt::LeftButton);
        });
        QCOMPARE(box->text(), videos);
        QCOMPARE(stored(), videos);

        // The selection is kept; Cancel empties ChosenFolder and changes nothing.
        chooseWith([&](TFrmDirectory *d) {
            QCOMPARE(d->shellTree->selectedParsingName(), videos);
            QVERIFY(d->shellTree->selectFolder(m_desktop + QStringLiteral("/Other")));
            QTest::mouseClick(d->ButtonCancel, Qt::LeftButton);
        });
        QCOMPARE(FrmDirectory->ChosenFolder, QString());
        QCOMPARE(box->text(), videos);

        // Escape works like Cancel.
        chooseWith([&](TFrmDirectory *d) {
            QTest::mouseClick(d->ButtonOK, Qt::LeftButton);
        });
        QCOMPARE(box->text(), m_desktop + QStringLiteral("/Other"));
        box->setText(QStringLiteral("/kept"));
        chooseWith([](TFrmDirectory *d) { QTest::keyClick(d->ShellTreeView1, Qt::Key_Escape); });
        QCOMPARE(FrmDirectory->ChosenFolder, QString());
        QCOMPARE(box->text(), QStringLiteral("/kept"));

        // The close box gives Cancel but leaves ChosenFolder as it was.
        chooseWith([](TFrmDirectory *d) { QTest::mouseClick(d->ButtonOK, Qt::LeftButton); });
        box->setText(QStringLiteral("/kept"));
        chooseWith([](TFrmDirectory *d) { d->close(); });
        QCOMPARE(FrmDirectory->ChosenFolder, m_desktop + QStringLiteral("/Other"));
        QCOMPARE(box->text(), QStringLiteral("/kept"));
    }

    // A refused write is reported; the box keeps the new text.
    void refusedWrite()
    {
        TestUtil::ErrorRecorder errors;
        QVERIFY(QFile::remove(config()));
        QVERIFY(QDir().mkpath(config())); // a folder where the file belongs
        chooseWith([&](TFrmDirectory *d) {
            QVERIFY(d->shellTree->selectFolder(m_desktop + QStringLiteral("/Videos")));
            QTest::mouseClick(d->ButtonOK, Qt::LeftButton);
        });
        QCOMPARE(errors.texts.size(), 1);
        QVERIFY2(errors.texts.first().startsWith(QStringLiteral("Unable to write to")), qPrintable(errors.texts.first()));
        QCOMPARE(frmMain->editOutputFolder->text(), m_desktop + QStringLiteral("/Videos"));
        QVERIFY(QDir(config()).removeRecursively());
        TestUtil::writeFile(config(), "[setting]\ndisplayHelpDialog=0\n");
    }

    // The chosen folder is there again at the next start.
    void rememberedAcrossStarts()
    {
        const QString other = m_desktop + QStringLiteral("/Other");
        chooseWith([&](TFrmDirectory *d) {
            QVERIFY(d->shellTree->selectFolder(other));
            QTest::mouseClick(d->ButtonOK, Qt::LeftButton);
        });
        QCOMPARE(stored(), other);
        TestUtil::stopProgram();
        TestUtil::startProgram(m_programDir);
        frmMain->show();
        QVERIFY(QTest::qWaitForWindowExposed(frmMain));
        QCOMPARE(frmMain->editOutputFolder->text(), other);
    }
};

ZENDREL_TEST_MAIN(TestOutputFolder)
#include "tst_outputfolder.moc"
