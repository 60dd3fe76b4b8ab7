// Choosing a skin: the stored index, the file it names, the Skin menu (the
// look changes after the handler has returned, the choice is stored first),
// and missing or unreadable skin files.
#include "TestUtil.h"

#include "app/IniFile.h"
#include "app/TfrmCommon.h"
#include "mainwindow/TfrmMain.h"
#include "ui/TsuiSkinEngine.h"

#include <QDir>
#include <QFile>

class TestSkinChoice : public QObject
{
    Q_OBJECT

    bool started = false;
    QTemporaryDir *tmp = nullptr;
    QString dir;

    QString freshDir(const QByteArray &config)
    {
        delete tmp;
        tmp = new QTemporaryDir;
        dir = TestUtil::makeProgramDir(*tmp, false);
        const QByteArray settings = "[setting]\r\ndisplayHelpDialog=0\r\n";
        TestUtil::writeFile(dir + QStringLiteral("config.ini"), config.isNull() ? settings : settings + config);
        return dir;
    }
    void start()
    {
        TestUtil::startProgram(dir);
        started = true;
        frmMain->show();
        QVERIFY(QTest::qWaitForWindowExposed(frmMain));
    }
    QString skinPath(const QString &name) const { return dir + QStringLiteral("skins/") + name; }
    QString sheetOf(const QString &name) const { return QString::fromUtf8(TestUtil::readFile(skinPath(name))); }
    QByteArray storedIndex() const
    {
        return Ini::readBytes(dir + QStringLiteral("config.ini"), QStringLiteral("skin"), QStringLiteral("skin"), "missing");
    }
    // Picks a menu entry the way the user does: through the event loop, so
    // an error reaches the general handler.
    void pick(int k)
    {
        QMetaObject::invokeMethod(frmMain->N_Skins[k - 1], &QAction::trigger, Qt::QueuedConnection);
    }

private slots:
    void init() { qApp->setStyleSheet(QString()); }
    void cleanup()
    {
        if (started)
            TestUtil::stopProgram();
        started = false;
        qApp->setStyleSheet(QString());
    }
    void cleanupTestCase() { delete tmp; }

    void fileNames_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("file");
        const char *names[] = {"Calmness.ssk", "DiamondBlue.ssk", "DiamondGreen.ssk", "GlassGreen.ssk", "Longhorn.ssk",
                               "MacOS.ssk",    "MP10.ssk",        "MSN.ssk",          "OneBlue.ssk",    "Silver.ssk",
                               "SportsBlack.ssk", "SportsBlue.ssk", "Midsummer.ssk",  "Emerald.ssk",    "Warm.ssk",
                               "XPBlue.ssk",   "XPGreen.ssk",     "XPSilver.ssk"};
        for (int k = 1; k <= 18; ++k)
            QTest::addRow("%d", k) << k << names[k - 1];
        for (int k : {0, 19, -1, 100, INT_MIN, INT_MAX})
            QTest::addRow("%d", k) << k << "Silver.ssk";
    }
    void fileNames()
    {
        QFETCH(int, index);
        QFETCH(QString, file);
        QCOMPARE(TfrmCommon::SkinFileName(index), file);
        QVERIFY(QFile::exists(TestUtil::programDir() + QStringLiteral("/skins/") + file));
    }

    // The stored index picks the skin at the first show and stays as it is.
    void restoredAtStart_data()
    {
        QTest::addColumn<QByteArray>("config"); // null: no skin section
        QTest::addColumn<QString>("file");
        QTest::newRow("no section") << QByteArray() << "Silver.ssk";
        QTest::newRow("0") << QByteArray("[skin]\r\nskin=0\r\n") << "Silver.ssk";
        QTest::newRow("19") << QByteArray("[skin]\r\nskin=19\r\n") << "Silver.ssk";
        QTest::newRow("-1") << QByteArray("[skin]\r\nskin=-1\r\n") << "Silver.ssk";
        QTest::newRow("abc") << QByteArray("[skin]\r\nskin=abc\r\n") << "Silver.ssk";
        QTest::newRow("0x0A") << QByteArray("[skin]\r\nskin=0x0A\r\n") << "Silver.ssk";
        QTest::newRow("empty") << QByteArray("[skin]\r\nskin=\r\n") << "Silver.ssk";
        QTest::newRow("3") << QByteArray("[skin]\r\nskin=3\r\n") << "DiamondGreen.ssk";
        QTest::newRow("0x03") << QByteArray("[Skin]\r\nSKIN=0x03\r\n") << "DiamondGreen.ssk";
        QTest::newRow("18 in quotes") << QByteArray("[skin]\r\nskin=\"18\"\r\n") << "XPSilver.ssk";
        QTest::newRow("11") << QByteArray("[skin]\r\nskin=11\r\n") << "SportsBlack.ssk";
    }
    void restoredAtStart()
    {
        QFETCH(QByteArray, config);
        QFETCH(QString, file);
        freshDir(config);
        const QByteArray before = storedIndex();
        start();
        QCOMPARE(frmCommon->skinEngine->SkinFile(), skinPath(file));
        QCOMPARE(frmCommon->skinEngine->LoadedFile(), skinPath(file));
        QCOMPARE(qApp->styleSheet(), sheetOf(file));
        QCOMPARE(storedIndex(), before);
    }

    // The entry's handler queues the new look and stores the index at once;
    // the look follows when the event loop takes the queued call, and the
    // next start restores it.
    void menuStoresThenApplies()
    {
        freshDir({});
        start();
        QCOMPARE(qApp->styleSheet(), sheetOf("Silver.ssk"));
        frmMain->N_Skins[2]->trigger(); // N_Skin3
        QCOMPARE(storedIndex(), QByteArray("3"));
        QCOMPARE(qApp->styleSheet(), sheetOf("Silver.ssk"));
        QTRY_COMPARE(qApp->styleSheet(), sheetOf("DiamondGreen.ssk"));
        QCOMPARE(frmCommon->skinEngine->LoadedFile(), skinPath("DiamondGreen.ssk"));

        TestUtil::stopProgram();
        qApp->setStyleSheet(QString());
        start();
        QCOMPARE(qApp->styleSheet(), sheetOf("DiamondGreen.ssk"));
    }

    // Every entry of the menu gives its own file.
    void everyEntry()
    {
        freshDir({});
        start();
        for (int k = 1; k <= 18; ++k) {
            pick(k);
            QTRY_COMPARE(frmCommon->skinEngine->LoadedFile(), skinPath(TfrmCommon::SkinFileName(k)));
            QCOMPARE(storedIndex(), QByteArray::number(k));
            QCOMPARE(qApp->styleSheet(), sheetOf(TfrmCommon::SkinFileName(k)));
        }
    }

    // The skin in use picked again: stored again and handed over again.
    void sameSkinAgain()
    {
        freshDir("[skin]\r\nskin=7\r\n");
        start();
        QCOMPARE(qApp->styleSheet(), sheetOf("MP10.ssk"));
        TestUtil::writeFile(dir + QStringLiteral("config.ini"), "[setting]\r\ndisplayHelpDialog=0\r\n");
        qApp->setStyleSheet(QString());
        pick(7);
        QTRY_COMPARE(qApp->styleSheet(), sheetOf("MP10.ssk"));
        QCOMPARE(storedIndex(), QByteArray("7"));
    }

    // A refused write is reported by the general handler, and the new look
    // comes all the same, because it was queued before the write.
    void refusedWriteStillApplies()
    {
        freshDir({});
        start();
        QFile::remove(dir + QStringLiteral("config.ini"));
        QVERIFY(QDir().mkpath(dir + QStringLiteral("config.ini")));
        TestUtil::ErrorRecorder errors;
        pick(5);
        QTRY_COMPARE(qApp->styleSheet(), sheetOf("Longhorn.ssk"));
        QCOMPARE(errors.texts, QStringList{QStringLiteral("Unable to write to %1config.ini").arg(dir)});
    }

    // A missing file: nothing changes, nothing is said, the index is stored.
    void missingSkinFile()
    {
        freshDir({});
        start();
        QVERIFY(QFile::remove(skinPath("Warm.ssk")));
        TestUtil::ErrorRecorder errors;
        pick(15);
        QTRY_COMPARE(frmCommon->skinEngine->SkinFile(), skinPath("Warm.ssk"));
        QCOMPARE(storedIndex(), QByteArray("15"));
        QCOMPARE(qApp->styleSheet(), sheetOf("Silver.ssk"));
        QCOMPARE(frmCommon->skinEngine->LoadedFile(), skinPath("Silver.ssk"));
        QCOMPARE(errors.texts, QStringList());
    }

    // No skins folder at all: the plain look, and no message.
    void noSkinsFolder()
    {
        freshDir({});
        QVERIFY(QDir(dir + QStringLiteral("skins")).removeRecursively());
        TestUtil::ErrorRecorder errors;
        start();
        QCOMPARE(qApp->styleSheet(), QString());
        QCOMPARE(frmCommon->skinEngine->LoadedFile(), QString());
        QCOMPARE(errors.texts, QStringList());
    }

    // A file that exists but cannot be read raises; the general handler
    // shows it, the look stays, the index is stored.
    void unreadableSkinFile_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: a folder of that name
        QTest::addColumn<QString>("reason");
        QTest::newRow("a folder") << QByteArray() << "Is a directory";
        QTest::newRow("not text") << QByteArray("\xff\xfe\x00\x01 QWidget { }", 16) << "The file is not a skin file.";
        QTest::newRow("NUL byte") << QByteArray("QWidget { color: red; }\0", 24) << "The file is not a skin file.";
    }
    void unreadableSkinFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        freshDir({});
        start();
        const QString path = skinPath("Emerald.ssk");
        QVERIFY(QFile::remove(path));
        if (content.isNull())
            QVERIFY(QDir().mkpath(path));
        else
            TestUtil::writeFile(path, content);
        TestUtil::ErrorRecorder errors;
        pick(14);
        QTRY_COMPARE(errors.texts.size(), 1);
        QCOMPARE(errors.texts.first(), QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason));
        QCOMPARE(qApp->styleSheet(), sheetOf("Silver.ssk"));
        QCOMPARE(storedIndex(), QByteArray("14"));
        // The program goes on: another skin still loads.
        pick(9);
        QTRY_COMPARE(qApp->styleSheet(), sheetOf("OneBlue.ssk"));
    }
};

ZENDREL_TEST_MAIN(TestSkinChoice)
#include "tst_skinChoice.moc"
