// The Help menu, the product entries and the updater: the targets of both
// language sets, the addresses themselves, and the end of the program.
#include "TestUtil.h"

#include "app/TfrmCommon.h"
#include "app/WebAddresses.h"
#include "mainwindow/TfrmMain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include <unistd.h>

namespace {

const QString English = QString::fromLatin1(WebAddresses::EnglishSite);
const QString Chinese = QString::fromLatin1(WebAddresses::ChineseSite);
const QString ProductA = QString::fromLatin1(WebAddresses::EnglishProductA);
const QString ProductB = QString::fromLatin1(WebAddresses::EnglishProductB);

// A stand-in updater that leaves a mark when it runs.
void writeUpdater(const QString &dir, const QString &marker)
{
    const QString path = dir + QStringLiteral("update.EXE");
    TestUtil::writeFile(path, "#!/bin/sh\necho started > '" + marker.toUtf8() + "'\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Run in a child copy of this test: the Update entry, chosen while a nested
// wait is running (as during a job), must end the process by itself.
[[noreturn]] void runUpdaterChild(const QString &dir)
{
    TestUtil::startProgram(dir);
    frmMain->show();
    QTimer::singleShot(50, [] { frmMain->N_Update->trigger(); });
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ::_exit(3); // still alive
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

    QStringList opened;
    bool started = false;

    QString startWithLanguage(const QTemporaryDir &tmp, const QByteArray &language)
    {
        const QString dir = TestUtil::makeProgramDir(tmp, false);
        if (!language.isNull())
            TestUtil::writeFile(dir + QStringLiteral("config.ini"), "[common]\r\nlanguage=" + language + "\r\n");
        TestUtil::startProgram(dir);
        started = true;
        return dir;
    }

private slots:
    void initTestCase()
    {
        const QString child = qEnvironmentVariable("ZENDREL_UPDATER_CHILD");
        if (!child.isEmpty())
            runUpdaterChild(child);
        TfrmCommon::shellOpenHook() = [this](const QString &target) { opened << target; };
    }
    void cleanupTestCase() { TfrmCommon::shellOpenHook() = nullptr; }
    void init() { opened.clear(); }
    void cleanup()
    {
        TfrmCommon::quitHook() = nullptr;
        if (started)
            TestUtil::stopProgram();
        started = false;
    }

    // Every Help and product entry, in menu order, for both language sets.
    void menuTargets_data()
    {
        QTest::addColumn<QByteArray>("language"); // null: no settings file
        QTest::addColumn<QStringList>("expected");
        const QStringList englishSet{
            QStringLiteral("Zendrel.chm"), English, QString::fromLatin1(WebAddresses::EnglishSupportMail),
            English + QStringLiteral("/feedback.htm"),
            // N_Product1 .. N_Product7
            ProductA, ProductB, English, English, ProductB, ProductB, ProductA};
        const QStringList chineseSet{
            QStringLiteral("Zendrel_gb.chm"), Chinese, QString::fromLatin1(WebAddresses::ChineseSupportMail),
            Chinese + QStringLiteral("/contactus.htm"),
            Chinese, Chinese, Chinese, Chinese, Chinese, Chinese, Chinese};
        QTest::newRow("no settings file") << QByteArray() << englishSet;
        QTest::newRow("language 2") << QByteArray("2") << englishSet;
        QTest::newRow("language 0") << QByteArray("0") << englishSet;
        QTest::newRow("language a word") << QByteArray("one") << englishSet;
        QTest::newRow("language 1") << QByteArray("1") << chineseSet;
    }
    void menuTargets()
    {
        QFETCH(QByteArray, language);
        QFETCH(QStringList, expected);
        QTemporaryDir tmp;
        const QString dir = startWithLanguage(tmp, language);
        expected[0] = dir + expected[0]; // the help file ships in the program folder
        QVERIFY(TestUtil::readFile(expected[0]).startsWith("ITSF"));

        for (QAction *entry : {frmMain->N_LocalHelp, frmMain->N_HomePage, frmMain->N_Support, frmMain->N_FeedBack})
            entry->trigger();
        for (QAction *entry : frmMain->N_Products)
            entry->trigger();
        QCOMPARE(opened, expected);
    }

    // The welcome dialog's Yes opens the online help with an empty user name.
    void webHelp_data()
    {
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<QString>("expected");
        QTest::newRow("English") << QByteArray("2") << English + QStringLiteral("/help-video-converter.php?user=");
        QTest::newRow("Chinese") << QByteArray("1") << Chinese + QStringLiteral("/help-video-converter.php?user=");
    }
    void webHelp()
    {
        QFETCH(QByteArray, language);
        QFETCH(QString, expected);
        QTemporaryDir tmp;
        startWithLanguage(tmp, language);
        frmCommon->OpenWebHelp();
        QCOMPARE(opened, QStringList{expected});
    }

    // The product set follows LanguageIndex at the moment of the click.
    void productSetDecidedAtClick()
    {
        QTemporaryDir tmp;
        startWithLanguage(tmp, "2");
        frmMain->N_Products[1]->trigger();
        frmCommon->LanguageIndex = 1;
        frmMain->N_Products[1]->trigger();
        frmCommon->LanguageIndex = 3;
        frmMain->N_Products[1]->trigger();
        QCOMPARE(opened, (QStringList{ProductB, Chinese, ProductB}));
        // Outside 1 to 7 nothing opens.
        frmCommon->OpenProductPage(0);
        frmCommon->OpenProductPage(8);
        QCOMPARE(opened.size(), 3);
    }

    // The maker's addresses: https, on domains under ".example".
    void addressesAreOurs_data()
    {
        QTest::addColumn<QByteArray>("language");
        QTest::newRow("English") << QByteArray("2");
        QTest::newRow("Chinese") << QByteArray("1");
    }
    void addressesAreOurs()
    {
        QFETCH(QByteArray, language);
        QTemporaryDir tmp;
        startWithLanguage(tmp, language);
        const QStringList urls{frmCommon->HomePageURL, frmCommon->FeedbackURL, frmCommon->OnlineHelpURL,
                               frmCommon->CodecsURL,   frmCommon->ErrorReportURL, ProductA, ProductB};
        for (const QString &u : urls) {
            const QUrl url(u);
            QVERIFY2(url.isValid() && url.scheme() == QLatin1String("https"), qPrintable(u));
            QVERIFY2(url.host().endsWith(QLatin1String(".example")), qPrintable(u));
        }
        QVERIFY(frmCommon->SupportAddress.startsWith(QLatin1String("mailto:")));
        QVERIFY(frmCommon->SupportAddress.endsWith(QLatin1String(".example")));
    }

    // The updater starts from the program folder and the program ends at
    // once, whether or not the updater could start.
    void updater_data()
    {
        QTest::addColumn<int>("kind"); // 0 runs, 1 missing, 2 not executable
        QTest::newRow("updater present") << 0;
        QTest::newRow("updater missing") << 1;
        QTest::newRow("updater not executable") << 2;
    }
    void updater()
    {
        QFETCH(int, kind);
        QTemporaryDir tmp;
        const QString dir = startWithLanguage(tmp, "2");
        const QString marker = tmp.path() + QStringLiteral("/updater-ran");
        if (kind == 0)
            writeUpdater(dir, marker);
        if (kind == 2)
            TestUtil::writeFile(dir + QStringLiteral("update.EXE"), "not a program");
        int quits = 0;
        TfrmCommon::quitHook() = [&quits] { ++quits; };
        TestUtil::ErrorRecorder errors;

        frmMain->N_Update->trigger();
        QCOMPARE(quits, 1);
        QVERIFY(errors.texts.isEmpty());
        QVERIFY(opened.isEmpty());
        if (kind == 0)
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 5000);
    }

    // Without the seam the process itself ends, even inside a nested wait,
    // after the usual shutdown (the temporary script is gone).
    void updaterEndsTheProcess()
    {
        QTemporaryDir tmp;
        const QString dir = TestUtil::makeProgramDir(tmp, false);
        const QString marker = tmp.path() + QStringLiteral("/updater-ran");
        writeUpdater(dir, marker);
        const QString tempDir = tmp.path() + QStringLiteral("/temp");
        QVERIFY(QDir().mkpath(tempDir));
        TestUtil::writeFile(tempDir + QStringLiteral("/m9s.avs"), "script");

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZENDREL_UPDATER_CHILD"), dir);
        env.insert(QStringLiteral("TMPDIR"), tempDir);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QVERIFY2(child.exitCode() == 0, child.readAllStandardError().constData());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 5000);
        QVERIFY(!QFile::exists(tempDir + QStringLiteral("/m9s.avs")));
    }
};

ZENDREL_TEST_MAIN(TestHelp)
#include "tst_help.moc"
