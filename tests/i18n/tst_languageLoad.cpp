// Loading the language file: every key reaches its own target, through the
// settings layer's rules, once per program run.
#include "TestUtil.h"

#include "app/IniFile.h"
#include "app/TfrmCommon.h"
#include "app/ZendrelApplication.h"
#include "i18n/LanguageKeys.h"
#include "mainwindow/TfrmMain.h"
#include "queue/TFrmBatchAdd.h"
#include "queue/TFrmDirectory.h"
#include "run/TfrmOverWrite.h"
#include "run/TfrmUnSupportFormat.h"
#include "ui/TfrmHelpDialog.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QHeaderView>
#include <QMenuBar>

namespace {

QString id(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

// A distinct text for every key, with characters beyond ASCII.
QString valueFor(const QString &section, const QString &key)
{
    return QStringLiteral("%1.%2 äß 中文").arg(section, key);
}

QByteArray fileWith(const QString &skipSection = {}, const QString &skipKey = {})
{
    QByteArray out;
    QString current;
    for (const LanguageKeys::Row &row : LanguageKeys::rows()) {
        if (row.section != current) {
            current = row.section;
            out += "\r\n[" + current.toUtf8() + "]\r\n";
        }
        if (row.section == skipSection && row.key == skipKey)
            continue;
        out += row.key.toUtf8() + '=' + valueFor(row.section, row.key).toUtf8() + "\r\n";
    }
    return out;
}

QWidget *windowOf(const QString &section)
{
    if (section == QLatin1String("frmMain"))
        return frmMain;
    if (section == QLatin1String("frmDirectory"))
        return FrmDirectory;
    if (section == QLatin1String("frmBatchAdd"))
        return FrmBatchAdd;
    if (section == QLatin1String("frmOverWrite"))
        return frmOverWrite;
    if (section == QLatin1String("frmUnSupportFormat"))
        return frmUnSupportFormat;
    if (section == QLatin1String("frmHelpDialog"))
        return frmHelpDialog;
    return nullptr;
}

QString captionOf(QObject *o)
{
    if (auto *l = qobject_cast<QLabel *>(o))
        return l->text();
    if (auto *b = qobject_cast<QAbstractButton *>(o))
        return b->text();
    if (auto *g = qobject_cast<QGroupBox *>(o))
        return g->title();
    if (auto *m = qobject_cast<QMenu *>(o))
        return m->title();
    if (auto *a = qobject_cast<QAction *>(o))
        return a->text();
    return QStringLiteral("<no caption>");
}

// What the user sees (or a window holds) for one key, found independently
// of the loader: by the object name of the target control. Keys whose
// control has another name, and the targets that are no control, are
// listed here; every other key names its control.
QString shownText(const QString &section, const QString &key)
{
    static const QHash<QString, QString> renamed = {
        {id("frmMain", "groupBoxSettingsVideo"), "GroupBoxSettingsVideo"},
        {id("frmMain", "groupBoxSettingsAudio"), "GroupBoxSettingsAudio"},
        {id("frmMain", "groupBoxFormat"), "GroupBoxFormat"},
        {id("frmDirectory", "labelDiretroy"), "LabelDirectory"},
        {id("frmDirectory", "buttonOK"), "ButtonOK"},
        {id("frmDirectory", "buttonCancel"), "ButtonCancel"},
        {id("frmHelpDialog", "labelWelcom"), "LabelWelcom"},
        {id("frmHelpDialog", "labelIntroduction"), "LabelIntroduction"},
        {id("frmHelpDialog", "checkBoxDontDisplay"), "CheckBoxDontDisplay"},
    };
    static const QHash<QString, std::function<QString()>> special = {
        {id("App", "Title"), [] { return ZendrelApplication::title(); }},
        {id("frmMain", "Caption"), [] { return frmMain->windowTitle(); }},
        {id("frmDirectory", "caption"), [] { return FrmDirectory->windowTitle(); }},
        {id("frmBatchAdd", "caption"), [] { return FrmBatchAdd->windowTitle(); }},
        {id("frmOverWrite", "caption"), [] { return frmOverWrite->windowTitle(); }},
        {id("frmUnSupportFormat", "caption"), [] { return frmUnSupportFormat->windowTitle(); }},
        {id("frmHelpDialog", "title"), [] { return frmHelpDialog->windowTitle(); }},
        {id("frmMain", "ListViewItem0"), [] { return frmMain->listViewFiles->headerItem()->text(0); }},
        {id("frmMain", "ListViewItem1"), [] { return frmMain->listViewFiles->headerItem()->text(1); }},
        {id("frmMain", "ListViewItem2"), [] { return frmMain->listViewFiles->headerItem()->text(2); }},
        {id("frmMain", "StringStartCaption"), [] { return frmMain->StringStartCaption; }},
        {id("frmMain", "StringStopCaption"), [] { return frmMain->StringStopCaption; }},
        {id("frmMain", "msgStatusReady"), [] { return frmMain->msgStatusReady; }},
        {id("frmMain", "msgStatusRun"), [] { return frmMain->msgStatusRun; }},
        {id("frmMain", "msgClearAll"), [] { return frmMain->msgClearAll; }},
        {id("frmMain", "msgFolderView"), [] { return frmMain->msgFolderView; }},
        {id("frmMain", "msgFinishInfo"), [] { return frmMain->msgFinishInfo; }},
        {id("frmUnSupportFormat", "msgUnSupportFormat"), [] { return frmUnSupportFormat->msgUnSupportFormat; }},
        {id("frmUnSupportFormat", "msgPleaseInputEmail"), [] { return frmUnSupportFormat->msgPleaseInputEmail; }},
    };
    const QString k = id(section, key);
    if (special.contains(k))
        return special[k]();
    QWidget *window = windowOf(section);
    if (!window)
        return QStringLiteral("<no window for %1>").arg(section);
    const QString name = renamed.value(k, key);
    // Dialogs are children of the main window: look for the main window's
    // controls outside them.
    QList<QObject *> found;
    for (QObject *o : window->findChildren<QObject *>(name)) {
        QObject *owner = o->parent();
        while (owner && !qobject_cast<QDialog *>(owner))
            owner = owner->parent();
        if (!owner || owner == window)
            found << o;
    }
    if (found.size() != 1)
        return QStringLiteral("<%1 controls named %2>").arg(found.size()).arg(name);
    return captionOf(found.first());
}

} // namespace

class TestLanguageLoad : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;
    QString dir;
    QString languageFile;
    bool started = false;
    // The rows of a table over every key share one program run.
    QByteArray sharedBy;
    TestUtil::ErrorRecorder *errors = nullptr;

    void start(const QByteArray &language)
    {
        if (language.isNull())
            QFile::remove(languageFile);
        else
            TestUtil::writeFile(languageFile, language);
        TestUtil::startProgram(dir);
        started = true;
        frmMain->show();
        QVERIFY(QTest::qWaitForWindowExposed(frmMain));
        QTRY_VERIFY(frmMain->FirstPaintDone);
    }
    void startShared(const QByteArray &language)
    {
        if (started && sharedBy == QTest::currentTestFunction())
            return;
        start(language);
        sharedBy = QTest::currentTestFunction();
    }
    void stop()
    {
        if (started)
            TestUtil::stopProgram();
        started = false;
        sharedBy.clear();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(tmp.isValid());
        dir = TestUtil::makeProgramDir(tmp, false);
        TestUtil::writeFile(dir + QStringLiteral("config.ini"), "[setting]\r\ndisplayHelpDialog=0\r\n");
        languageFile = dir + QStringLiteral("language/en.ini");
    }
    void init()
    {
        if (sharedBy != QTest::currentTestFunction())
            stop();
        errors = new TestUtil::ErrorRecorder;
    }
    void cleanup()
    {
        if (sharedBy.isEmpty())
            stop();
        delete errors;
        errors = nullptr;
    }
    void cleanupTestCase() { stop(); }

    // Every key of every table reaches its own target at the first show.
    void everyTargetGetsItsText_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        for (const LanguageKeys::Row &row : LanguageKeys::rows())
            QTest::newRow(qPrintable(id(row.section, row.key))) << row.section << row.key;
    }
    void everyTargetGetsItsText()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        startShared(fileWith());
        QCOMPARE(shownText(section, key), valueFor(section, key));
        QVERIFY2(errors->texts.isEmpty(), qPrintable(errors->texts.join('\n')));
    }

    // Buttons and menu entries bound to an action show its text; the status
    // line shows msgStatusReady with the same hint; message boxes and the
    // task bar carry the title.
    void targetsThatFollow()
    {
        start(fileWith());
        const QString add = valueFor("frmMain", "ActionFileAdd");
        QCOMPARE(frmMain->buttonAdd->text(), add);
        QCOMPARE(frmMain->N1_1->text(), add);
        QCOMPARE(frmMain->popMenu1->text(), add);
        QCOMPARE(frmMain->popMenu2->text(), valueFor("frmMain", "ActionFileBatchAdd"));
        QCOMPARE(frmMain->N1_11->text(), valueFor("frmMain", "ActionFileBatchAdd"));
        QCOMPARE(frmMain->buttonDelete->text(), valueFor("frmMain", "ActionFileDelete"));
        QCOMPARE(frmMain->buttonClearAll->text(), valueFor("frmMain", "ActionFileClearAll"));
        QCOMPARE(frmMain->buttonMoveUp->text(), valueFor("frmMain", "ActionFileMoveUp"));
        QCOMPARE(frmMain->buttonMoveDown->text(), valueFor("frmMain", "ActionFileMoveDown"));
        QCOMPARE(frmMain->buttonConvert->text(), valueFor("frmMain", "ActionConvertNow"));
        QCOMPARE(frmMain->N1_8->text(), valueFor("frmMain", "ActionConvertNow"));
        QCOMPARE(frmMain->N1_10->text(), valueFor("frmMain", "ActionExit"));
        QCOMPARE(frmMain->BitBtnOutput->text(), valueFor("frmMain", "ActionSetDirectory"));

        const QString ready = valueFor("frmMain", "msgStatusReady");
        QCOMPARE(frmMain->labelCurrentInfo->text(), ready);
        QCOMPARE(frmMain->labelCurrentInfo->toolTip(), ready);

        const QString title = valueFor("App", "Title");
        QCOMPARE(ZendrelApplication::title(), title);
        QCOMPARE(QGuiApplication::applicationDisplayName(), title);
        QCOMPARE(frmMain->menuBar()->actions().at(0)->text(), valueFor("frmMain", "N_1"));
    }

    // A missing key blanks its own target, whatever the target held
    // before, and no other.
    void missingKeyBlanksOnlyItsTarget_data() { everyTargetGetsItsText_data(); }
    void missingKeyBlanksOnlyItsTarget()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        startShared(fileWith());
        const QString partial = dir + QStringLiteral("partial.ini");
        TestUtil::writeFile(partial, fileWith(section, key));
        frmMain->LoadLanguage(partial);
        QCOMPARE(shownText(section, key), QString());
        for (const LanguageKeys::Row &row : LanguageKeys::rows())
            if (row.section != section || row.key != key)
                QCOMPARE(shownText(row.section, row.key), valueFor(row.section, row.key));
    }

    // Section and key names without regard to case; blanks and one pair of
    // quotes dropped; a value longer than 2047 bytes cut.
    void settingsLayerRules_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("caption in capitals, empty") << QByteArray("[FRMMAIN]\r\nCAPTION=\r\n") << "frmMain" << "Caption" << "";
        QTest::newRow("caption in small letters") << QByteArray("[frmmain]\r\ncaption=Small\r\n") << "frmMain" << "Caption" << "Small";
        QTest::newRow("title") << QByteArray("[APP]\r\nTITLE=Upper\r\n") << "App" << "Title" << "Upper";
        QTest::newRow("dialog key") << QByteArray("[FrmDirectory]\r\nLABELDIRETROY=Folder\r\n") << "frmDirectory" << "labelDiretroy" << "Folder";
        QTest::newRow("blanks") << QByteArray("[frmMain]\r\nlabelOutput =   Save to:  \r\n") << "frmMain" << "labelOutput" << "Save to:";
        QTest::newRow("double quotes") << QByteArray("[frmMain]\r\nlabelOutput=\" in quotes \"\r\n") << "frmMain" << "labelOutput" << " in quotes ";
        QTest::newRow("single quotes") << QByteArray("[frmMain]\r\nlabelOutput='single'\r\n") << "frmMain" << "labelOutput" << "single";
        QTest::newRow("one pair only") << QByteArray("[frmMain]\r\nlabelOutput=\"\"twice\"\"\r\n") << "frmMain" << "labelOutput" << "\"twice\"";
        QTest::newRow("unmatched quote") << QByteArray("[frmMain]\r\nlabelOutput=\"open\r\n") << "frmMain" << "labelOutput" << "\"open";
        QTest::newRow("UTF-8") << QByteArray("[frmMain]\r\nlabelOutput=保存到:\r\n") << "frmMain" << "labelOutput" << "保存到:";
        const QByteArray big(3000, 'x');
        QTest::newRow("3000 bytes") << QByteArray("[frmMain]\r\nmsgClearAll=" + big + "\r\n") << "frmMain" << "msgClearAll"
                                    << QString(2047, QLatin1Char('x'));
        // The cut falls inside the three bytes of 中: the broken tail goes.
        QTest::newRow("cut inside a character") << QByteArray("[frmMain]\r\nmsgClearAll=" + QByteArray(2046, 'y') + "中文\r\n")
                                                << "frmMain" << "msgClearAll" << QString(2046, QLatin1Char('y'));
    }
    void settingsLayerRules()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        start(file);
        QCOMPARE(shownText(section, key), expected);
        if (section == QLatin1String("frmMain") && key == QLatin1String("Caption"))
            QCOMPARE(frmCommon->ReadProductName(), expected);
    }

    // No language file: every target blank, title included, no message,
    // and the program is usable.
    void noLanguageFile()
    {
        start(QByteArray());
        for (const LanguageKeys::Row &row : LanguageKeys::rows())
            QVERIFY2(shownText(row.section, row.key).isEmpty(), qPrintable(id(row.section, row.key)));
        QCOMPARE(ZendrelApplication::title(), QString());
        QCOMPARE(frmMain->labelCurrentInfo->toolTip(), QString());
        QCOMPARE(frmMain->buttonConvert->text(), QString());
        QVERIFY2(errors->texts.isEmpty(), qPrintable(errors->texts.join('\n')));
        QVERIFY(frmMain->ActionConvertNow->isEnabled());
    }

    // Without a language file the program still converts: blank captions
    // change nothing in the run.
    void convertsWithoutLanguageFile()
    {
        QTemporaryDir run;
        const QString runDir = TestUtil::makeProgramDir(run, true);
        TestUtil::writeFile(runDir + QStringLiteral("config.ini"), "[setting]\r\ndisplayHelpDialog=0\r\n");
        QVERIFY(QFile::remove(runDir + QStringLiteral("language/en.ini")));
        const QString clip = run.filePath(QStringLiteral("clip.mkv"));
        const QString out = run.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(out));
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"), {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=1",
                                                "-f", "lavfi", "-i", "sine=frequency=440:duration=1", "-c:v", "mpeg4",
                                                "-c:a", "mp2", "-shortest", clip});
        QVERIFY(ffmpeg.waitForFinished(60000));
        QCOMPARE(ffmpeg.exitCode(), 0);

        TestUtil::startProgram(runDir);
        started = true;
        frmMain->show();
        QVERIFY(QTest::qWaitForWindowExposed(frmMain));
        QCOMPARE(frmMain->buttonConvert->text(), QString());
        // An AVI format, whichever entry of the list it is.
        for (int i = 0; i < frmMain->ComboBoxFormatSelect->count() && frmMain->CurrentExtension != QLatin1String("avi"); ++i) {
            frmMain->ComboBoxFormatSelect->setCurrentIndex(i);
            frmMain->ComboBoxFormatSelectChange();
        }
        QCOMPARE(frmMain->CurrentExtension, QStringLiteral("avi"));
        frmMain->editOutputFolder->setText(out);
        frmMain->AddFileToQueue(clip);
        QCOMPARE(frmMain->listViewFiles->topLevelItemCount(), 1);

        TestUtil::answerNextModal(QStringLiteral("No")); // the question at the end, in the platform's words
        bool done = false;
        QMetaObject::invokeMethod(frmMain, [&done] { frmMain->ActionConvertNow->trigger(); done = true; }, Qt::QueuedConnection);
        QTRY_VERIFY_WITH_TIMEOUT(done, 60000);
        const QFileInfo converted(out + QStringLiteral("/clip.avi"));
        QVERIFY(converted.exists());
        QVERIFY(converted.size() > 1000);
        QVERIFY2(errors->texts.isEmpty(), qPrintable(errors->texts.join('\n')));
    }

    // The file is read at the first show only: later shows, minimising and
    // restoring keep the texts even when the file has changed.
    void readAtFirstShowOnly()
    {
        start("[frmMain]\r\nCaption=First\r\nlabelOutput=First\r\n[App]\r\nTitle=First\r\n");
        QCOMPARE(frmMain->windowTitle(), QStringLiteral("First"));
        TestUtil::writeFile(languageFile, "[frmMain]\r\nCaption=Second\r\nlabelOutput=Second\r\n[App]\r\nTitle=Second\r\n");
        TestUtil::showMainWindowAgain();
        QCoreApplication::processEvents();
        QCOMPARE(frmMain->windowTitle(), QStringLiteral("First"));
        QCOMPARE(frmMain->labelOutput->text(), QStringLiteral("First"));
        QCOMPARE(ZendrelApplication::title(), QStringLiteral("First"));
    }

    // The texts are in place when the window is first painted.
    void loadedBeforeFirstPaint()
    {
        TestUtil::writeFile(languageFile, "[frmMain]\r\nCaption=Loaded\r\n");
        TestUtil::startProgram(dir);
        started = true;
        frmMain->installEventFilter(this);
        frmMain->show();
        QVERIFY(QTest::qWaitForWindowExposed(frmMain));
        QTRY_VERIFY(frmMain->FirstPaintDone);
        frmMain->removeEventFilter(this);
        QCOMPARE(captionAtFirstPaint, QStringLiteral("Loaded"));
    }

protected:
    QString captionAtFirstPaint;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == frmMain && event->type() == QEvent::Paint && captionAtFirstPaint.isNull())
            captionAtFirstPaint = frmMain->windowTitle();
        return QObject::eventFilter(watched, event);
    }
};

ZENDREL_TEST_MAIN(TestLanguageLoad)
#include "tst_languageLoad.moc"
