// The settings layer: Windows initialisation-file rules over real files.
#include "TestUtil.h"

#include "app/Errors.h"
#include "app/IniFile.h"
#include "app/TfrmCommon.h"

#include <QDir>
#include <QTemporaryDir>
#include <QUrl>

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void readString_data();
    void readString();
    void readInteger_data();
    void readInteger();
    void longValueIsCutTo2047Bytes();
    void missingFileReadsDefaults();
    void writeChangesOneKeyAndKeepsTheRest();
    void writeCreatesFileAndSection();
    void refusedWriteRaises_data();
    void refusedWriteRaises();
    void settingsAccessorsUseTheirDefaults();
    void languageChoosesTheSet_data();
    void languageChoosesTheSet();

private:
    QTemporaryDir m_tmp;
};

void TestSettings::readString_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << QByteArray("[setting]\nkey=value\n") << "setting" << "key" << "value";
    QTest::newRow("section case") << QByteArray("[SETTING]\nkey=v\n") << "setting" << "key" << "v";
    QTest::newRow("key case") << QByteArray("[setting]\nKEY=v\n") << "setting" << "Key" << "v";
    QTest::newRow("blanks dropped") << QByteArray("[s]\n  k  =   a b  \n") << "s" << "k" << "a b";
    QTest::newRow("double quotes") << QByteArray("[s]\nk=\" a \"\n") << "s" << "k" << " a ";
    QTest::newRow("single quotes") << QByteArray("[s]\nk='x'\n") << "s" << "k" << "x";
    QTest::newRow("one pair only") << QByteArray("[s]\nk=\"\"x\"\"\n") << "s" << "k" << "\"x\"";
    QTest::newRow("unbalanced quote kept") << QByteArray("[s]\nk=\"x\n") << "s" << "k" << "\"x";
    QTest::newRow("crlf") << QByteArray("[s]\r\nk=v\r\n") << "s" << "k" << "v";
    QTest::newRow("missing key") << QByteArray("[s]\nother=v\n") << "s" << "k" << "dflt";
    QTest::newRow("missing section") << QByteArray("[t]\nk=v\n") << "s" << "k" << "dflt";
    QTest::newRow("key in later section only") << QByteArray("[s]\na=1\n[t]\nk=v\n") << "s" << "k" << "dflt";
    QTest::newRow("empty value") << QByteArray("[s]\nk=\n") << "s" << "k" << "";
    QTest::newRow("utf8") << QByteArray("[s]\nk=转换\n") << "s" << "k" << QString::fromUtf8("转换");
}

void TestSettings::readString()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const QString path = m_tmp.filePath(QStringLiteral("read.ini"));
    TestUtil::writeFile(path, file);
    QCOMPARE(Ini::readString(path, section, key, QStringLiteral("dflt")), expected);
}

void TestSettings::readInteger_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("decimal") << QByteArray("3") << 3;
    QTest::newRow("negative") << QByteArray("-1") << -1;
    QTest::newRow("hex") << QByteArray("0x0A") << 10;
    QTest::newRow("hex upper") << QByteArray("0X1f") << 31;
    QTest::newRow("blanks") << QByteArray("  12  ") << 12;
    QTest::newRow("quoted") << QByteArray("\"7\"") << 7;
    QTest::newRow("word") << QByteArray("abc") << 99;
    QTest::newRow("trailing junk") << QByteArray("12abc") << 99;
    QTest::newRow("empty") << QByteArray("") << 99;
    QTest::newRow("fraction") << QByteArray("1.5") << 99;
    QTest::newRow("too large") << QByteArray("99999999999") << 99;
}

void TestSettings::readInteger()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    const QString path = m_tmp.filePath(QStringLiteral("int.ini"));
    TestUtil::writeFile(path, "[setting]\nlogfile=" + value + "\n");
    QCOMPARE(Ini::readInteger(path, QStringLiteral("setting"), QStringLiteral("logfile"), 99), expected);
}

void TestSettings::longValueIsCutTo2047Bytes()
{
    const QString path = m_tmp.filePath(QStringLiteral("long.ini"));
    TestUtil::writeFile(path, "[s]\nk=" + QByteArray(3000, 'x') + "\n");
    QCOMPARE(Ini::readBytes(path, QStringLiteral("s"), QStringLiteral("k")).size(), 2047);
}

void TestSettings::missingFileReadsDefaults()
{
    const QString path = m_tmp.filePath(QStringLiteral("none.ini"));
    QCOMPARE(Ini::readString(path, QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("d")), QStringLiteral("d"));
    QCOMPARE(Ini::readInteger(path, QStringLiteral("s"), QStringLiteral("k"), 10), 10);
    QVERIFY(!QFile::exists(path));
}

void TestSettings::writeChangesOneKeyAndKeepsTheRest()
{
    const QString path = m_tmp.filePath(QStringLiteral("write.ini"));
    const QByteArray before = "; my notes\r\n[common]\r\nlanguage=1\r\n\r\n[SETTING]\r\n  LogFile = 1 \r\noutputFolder=/old\r\n"
                              "odd line without equals\r\n\r\n[skin]\r\nskin=3\r\n";
    TestUtil::writeFile(path, before);
    Ini::writeString(path, QStringLiteral("setting"), QStringLiteral("outputFolder"), QStringLiteral("/new folder"));
    QByteArray expected = before;
    expected.replace("outputFolder=/old", "outputFolder=/new folder");
    QCOMPARE(TestUtil::readFile(path), expected);

    // A new key goes at the end of its section, before the blank line.
    Ini::writeInteger(path, QStringLiteral("setting"), QStringLiteral("displayHelpDialog"), 0);
    expected.replace("odd line without equals\r\n", "odd line without equals\r\ndisplayHelpDialog=0\r\n");
    QCOMPARE(TestUtil::readFile(path), expected);
    QCOMPARE(Ini::readInteger(path, QStringLiteral("skin"), QStringLiteral("skin"), 10), 3);
}

void TestSettings::writeCreatesFileAndSection()
{
    const QString path = m_tmp.filePath(QStringLiteral("new.ini"));
    Ini::writeString(path, QStringLiteral("setting"), QStringLiteral("outputFolder"), QStringLiteral("/home/u"));
    Ini::writeInteger(path, QStringLiteral("skin"), QStringLiteral("skin"), 3);
    QCOMPARE(TestUtil::readFile(path), QByteArray("[setting]\noutputFolder=/home/u\n\n[skin]\nskin=3\n"));
}

void TestSettings::refusedWriteRaises_data()
{
    QTest::addColumn<QString>("path");
    // Root ignores permission bits, so the refusals come from the file system.
    const QString blocker = m_tmp.filePath(QStringLiteral("plainfile"));
    TestUtil::writeFile(blocker, "x");
    QDir().mkpath(m_tmp.filePath(QStringLiteral("isdir.ini")));
    QTest::newRow("folder is a file") << blocker + QStringLiteral("/config.ini");
    QTest::newRow("file is a folder") << m_tmp.filePath(QStringLiteral("isdir.ini"));
    QTest::newRow("missing folder") << m_tmp.filePath(QStringLiteral("no/such/config.ini"));
}

void TestSettings::refusedWriteRaises()
{
    QFETCH(QString, path);
    try {
        Ini::writeString(path, QStringLiteral("skin"), QStringLiteral("skin"), QStringLiteral("3"));
        QFAIL("no error raised");
    } catch (const ZError &e) {
        QCOMPARE(e.message(), QStringLiteral("Unable to write to %1").arg(path));
    }
}

void TestSettings::settingsAccessorsUseTheirDefaults()
{
    QTemporaryDir dir;
    TfrmCommon::setProgramDirOverride(dir.path());
    TfrmCommon common;
    QCOMPARE(common.ProgramDir, dir.path() + QStringLiteral("/"));
    QCOMPARE(common.ConfigFile, dir.path() + QStringLiteral("/config.ini"));
    QCOMPARE(common.LanguageIndex, 2);
    QCOMPARE(common.ReadSkinIndex(), 10);
    QVERIFY(common.ReadDisplayHelpDialog());
    QVERIFY(!common.ReadLogFileSetting());

    TestUtil::writeFile(common.ConfigFile, "[setting]\nlogfile=1\ndisplayHelpDialog=2\n[skin]\nskin=0x0A\n");
    QVERIFY(common.ReadLogFileSetting()); // read afresh, nothing cached
    QVERIFY(!common.ReadDisplayHelpDialog());
    QCOMPARE(common.ReadSkinIndex(), 10);
    common.WriteSkinIndex(3);
    QCOMPARE(common.ReadSkinIndex(), 3);
    TestUtil::writeFile(common.ConfigFile, "[setting]\nlogfile=2\ndisplayHelpDialog=abc\n");
    QVERIFY(!common.ReadLogFileSetting());
    QVERIFY(common.ReadDisplayHelpDialog()); // a word reads as the default 1
    TfrmCommon::setProgramDirOverride(QString());
}

void TestSettings::languageChoosesTheSet_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<bool>("chinese");
    QTest::newRow("none") << QByteArray() << false;
    QTest::newRow("1") << QByteArray("[common]\nlanguage=1\n") << true;
    QTest::newRow("hex 1") << QByteArray("[common]\nlanguage=0x1\n") << true;
    QTest::newRow("0") << QByteArray("[common]\nlanguage=0\n") << false;
    QTest::newRow("3") << QByteArray("[common]\nlanguage=3\n") << false;
    QTest::newRow("word") << QByteArray("[common]\nlanguage=chinese\n") << false;
}

void TestSettings::languageChoosesTheSet()
{
    QFETCH(QByteArray, config);
    QFETCH(bool, chinese);
    QTemporaryDir dir;
    if (!config.isEmpty())
        TestUtil::writeFile(dir.filePath(QStringLiteral("config.ini")), config);
    TfrmCommon::setProgramDirOverride(dir.path());
    TfrmCommon common;
    TfrmCommon::setProgramDirOverride(QString());
    const QString p = dir.path() + QStringLiteral("/");
    QCOMPARE(common.LanguageFile, p + (chinese ? "language/gb.ini" : "language/en.ini"));
    QCOMPARE(common.SplashFile, p + (chinese ? "splash-gb.bmp" : "splash-en.bmp"));
    QCOMPARE(common.HelpFile, p + (chinese ? "Zendrel_gb.chm" : "Zendrel.chm"));
    QVERIFY(common.FeedbackURL.endsWith(chinese ? "/contactus.htm" : "/feedback.htm"));
    QVERIFY(common.CodecsURL.endsWith("/codecs.php"));
    QVERIFY(common.ErrorReportURL.endsWith("/bug_report_submit.php"));
    QVERIFY(common.OnlineHelpURL.endsWith("/help-video-converter.php"));
    QVERIFY(common.SupportAddress.startsWith("mailto:"));
    for (const QString &url : {common.HomePageURL, common.CodecsURL, common.ErrorReportURL, common.FeedbackURL}) {
        QVERIFY2(url.startsWith("https://") && QUrl(url).host().endsWith(".example"), qPrintable(url));
    }
}

ZENDREL_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
