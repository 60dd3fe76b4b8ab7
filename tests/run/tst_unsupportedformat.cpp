// The unsupported-format dialog: its inventory, what a showing fills in,
// the encoder log in the text box, the codecs page and the hide rules.
#include "TestUtil.h"

#include "app/TfrmCommon.h"
#include "mainwindow/TfrmMain.h"
#include "run/TfrmUnSupportFormat.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

class TestUnsupportedFormat : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;
    QStringList opened;

    QString logPath() const { return frmCommon->ProgramDir + QStringLiteral("logFile.txt"); }
    void removeLog() const
    {
        QFile::remove(logPath());
        QDir(logPath()).removeRecursively();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(tmp.isValid());
        TestUtil::startProgram(TestUtil::makeProgramDir(tmp, false));
        QVERIFY(frmCommon && frmMain && frmUnSupportFormat);
        TfrmCommon::shellOpenHook() = [this](const QString &target) { opened << target; };
    }
    void cleanupTestCase()
    {
        TfrmCommon::shellOpenHook() = nullptr;
        TestUtil::stopProgram();
    }
    void init()
    {
        frmUnSupportFormat->hide();
        frmUnSupportFormat->RichEditErrorMsg->clear();
        frmUnSupportFormat->msgUnSupportFormat = QStringLiteral("No decoder for %s. Download one?");
        removeLog();
        opened.clear();
    }

    void inventory_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("text");
        auto row = [](const char *name, const char *cls, const QString &text) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(cls) << text;
        };
        row("GroupBoxNotice", "QGroupBox", QString());
        row("LabelUnSupportFormat", "QLabel",
            QStringLiteral("由于系统中缺少%s格式的解码器，故此类文件未转换成功。现在是否打开我们的官方网站以下载相关的解码器并安装？"));
        row("ButtonDownloadCodecs", "QPushButton", QStringLiteral("Yes"));
        row("ButtonCancel", "QPushButton", QStringLiteral("No"));
        row("LabelErrorMsg", "QLabel", QStringLiteral("如您安装解码器后，仍然无法转换，请将以下错误信息发送给我们："));
        row("LabelUserName", "QLabel", QStringLiteral("您的姓名："));
        row("EditUserName", "QLineEdit", QString());
        row("LabelUserEmail", "QLabel", QStringLiteral("您的EMAIL："));
        row("EditUserEmail", "QLineEdit", QString());
        row("LabelOrderID", "QLabel", QStringLiteral("订单编号："));
        row("EditOrderID", "QLineEdit", QString());
        row("LabelOrderIDNotice", "QLabel", QStringLiteral("LabelOrderIDNotice"));
        row("RichEditErrorMsg", "QTextEdit", QString());
        row("ButtonSendErrorReport", "QPushButton", QStringLiteral("Send Report"));
    }
    void inventory()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QFETCH(QString, text);
        // A fresh dialog, so nothing a showing changed is seen.
        TfrmUnSupportFormat fresh;
        QWidget *w = fresh.findChild<QWidget *>(name);
        QVERIFY2(w, qPrintable(name));
        QVERIFY(w->inherits(className.toLatin1().constData()));
        if (auto *l = qobject_cast<QLabel *>(w))
            QCOMPARE(l->text(), text);
        else if (auto *b = qobject_cast<QPushButton *>(w))
            QCOMPARE(b->text(), text);
        else if (auto *e = qobject_cast<QLineEdit *>(w))
            QCOMPARE(e->text(), text);
        else if (auto *t = qobject_cast<QTextEdit *>(w))
            QCOMPARE(t->toPlainText(), text);
        if (name == QLatin1String("LabelUnSupportFormat") || name == QLatin1String("ButtonDownloadCodecs") ||
            name == QLatin1String("ButtonCancel"))
            QCOMPARE(w->parentWidget(), fresh.GroupBoxNotice);
    }

    void formAndFields()
    {
        TfrmUnSupportFormat fresh;
        QCOMPARE(fresh.windowTitle(), QStringLiteral("Error"));
        QCOMPARE(fresh.minimumSize(), fresh.maximumSize()); // single, fixed border
        QVERIFY(fresh.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(fresh.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(fresh.UnsupportedFormats.isEmpty());
        QVERIFY(fresh.msgUnSupportFormat.isEmpty());
        QVERIFY(fresh.msgPleaseInputEmail.isEmpty());
    }

    // Shown without waiting, centred on the main window, label filled from
    // the template; the formats are shown as plain text.
    void showing_data()
    {
        QTest::addColumn<QString>("templ");
        QTest::addColumn<QString>("formats");
        QTest::addColumn<QString>("label");
        QTest::newRow("two formats") << QStringLiteral("No decoder for %s. Download one?") << QStringLiteral(".avi,.MPE")
                                     << QStringLiteral("No decoder for .avi,.MPE. Download one?");
        QTest::newRow("markup stays text") << QStringLiteral("<b>%s</b>") << QStringLiteral(".a<i>")
                                           << QStringLiteral("<b>.a<i></b>");
        QTest::newRow("no template") << QString() << QStringLiteral(".avi") << QString();
    }
    void showing()
    {
        QFETCH(QString, templ);
        QFETCH(QString, formats);
        QFETCH(QString, label);
        frmMain->setGeometry(120, 80, 700, 560);
        frmUnSupportFormat->msgUnSupportFormat = templ;
        frmUnSupportFormat->UnsupportedFormats = formats;
        frmUnSupportFormat->showModeless();
        QVERIFY(frmUnSupportFormat->isVisible());
        QVERIFY(!frmUnSupportFormat->isModal());
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(frmUnSupportFormat->LabelUnSupportFormat->text(), label);
        QCOMPARE(frmUnSupportFormat->LabelUnSupportFormat->textFormat(), Qt::PlainText);
        const QPoint offset = frmUnSupportFormat->frameGeometry().center() - frmMain->frameGeometry().center();
        QVERIFY2(qAbs(offset.x()) <= 2 && qAbs(offset.y()) <= 2,
                 qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    }

    // The log goes into the box line by line: a line ends at LF or CR LF,
    // a carriage return on its own is dropped.
    void logLines_data()
    {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<QString>("box");
        QTest::newRow("LF") << QByteArray("a\nb\n") << QStringLiteral("a\nb");
        QTest::newRow("CR LF") << QByteArray("cmd one\r\nout\r\n") << QStringLiteral("cmd one\nout");
        QTest::newRow("output line that ended in CR LF") << QByteArray("frame= 10\r\r\n") << QStringLiteral("frame= 10");
        QTest::newRow("lone CR inside a line") << QByteArray("ab\rcd\r\n") << QStringLiteral("abcd");
        QTest::newRow("last line without a break") << QByteArray("a\r\nb") << QStringLiteral("a\nb");
        QTest::newRow("empty lines kept") << QByteArray("a\r\n\r\nb\r\n") << QStringLiteral("a\n\nb");
        QTest::newRow("empty log clears the box") << QByteArray() << QString();
        QTest::newRow("UTF-8 text") << QByteArray("/home/ü/路径.avi\r\n") << QStringLiteral("/home/ü/路径.avi");
    }
    void logLines()
    {
        QFETCH(QByteArray, log);
        QFETCH(QString, box);
        frmUnSupportFormat->RichEditErrorMsg->setPlainText(QStringLiteral("earlier text"));
        TestUtil::writeFile(logPath(), log);
        frmUnSupportFormat->showModeless();
        QCOMPARE(frmUnSupportFormat->RichEditErrorMsg->toPlainText(), box);
    }

    // Without a log (logging off) the box keeps what it showed; a folder in
    // the log's place reads as no log.
    void noLogKeepsBox_data()
    {
        QTest::addColumn<bool>("folderInstead");
        QTest::newRow("no log") << false;
        QTest::newRow("a folder where the log should be") << true;
    }
    void noLogKeepsBox()
    {
        QFETCH(bool, folderInstead);
        if (folderInstead)
            QVERIFY(QDir().mkpath(logPath()));
        TestUtil::ErrorRecorder errors;
        frmUnSupportFormat->RichEditErrorMsg->setPlainText(QStringLiteral("typed by the user"));
        frmUnSupportFormat->showModeless();
        QCOMPARE(frmUnSupportFormat->RichEditErrorMsg->toPlainText(), QStringLiteral("typed by the user"));
        QVERIFY(errors.texts.isEmpty());
    }

    // Showing the dialog while it is open runs nothing: label and box keep
    // the earlier run's content, while the new formats are already held.
    void showWhileOpenRunsNothing()
    {
        frmUnSupportFormat->UnsupportedFormats = QStringLiteral(".avi");
        TestUtil::writeFile(logPath(), "first run\r\n");
        frmUnSupportFormat->showModeless();

        frmUnSupportFormat->UnsupportedFormats = QStringLiteral(".mkv,.wmv");
        TestUtil::writeFile(logPath(), "second run\r\n");
        frmUnSupportFormat->showModeless();
        QVERIFY(frmUnSupportFormat->isVisible());
        QCOMPARE(frmUnSupportFormat->LabelUnSupportFormat->text(), QStringLiteral("No decoder for .avi. Download one?"));
        QCOMPARE(frmUnSupportFormat->RichEditErrorMsg->toPlainText(), QStringLiteral("first run"));

        // The codecs page already asks for the new formats.
        QTest::mouseClick(frmUnSupportFormat->ButtonDownloadCodecs, Qt::LeftButton);
        QCOMPARE(opened, QStringList{frmCommon->CodecsURL + QStringLiteral("?format=.mkv,.wmv")});

        // Once hidden, the next showing fills both again.
        frmUnSupportFormat->hide();
        frmUnSupportFormat->showModeless();
        QCOMPARE(frmUnSupportFormat->LabelUnSupportFormat->text(),
                 QStringLiteral("No decoder for .mkv,.wmv. Download one?"));
        QCOMPARE(frmUnSupportFormat->RichEditErrorMsg->toPlainText(), QStringLiteral("second run"));
    }

    // The formats go into the query unchanged; the dialog stays open.
    void codecsPage()
    {
        frmUnSupportFormat->UnsupportedFormats = QStringLiteral(".avi,.MPE");
        frmUnSupportFormat->showModeless();
        QTest::mouseClick(frmUnSupportFormat->ButtonDownloadCodecs, Qt::LeftButton);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first(), frmCommon->CodecsURL + QStringLiteral("?format=.avi,.MPE"));
        QVERIFY(opened.first().startsWith(QStringLiteral("https://")));
        QVERIFY(opened.first().endsWith(QStringLiteral(".example/codecs.php?format=.avi,.MPE")));
        QVERIFY(frmUnSupportFormat->isVisible());
    }

    // No and the close box hide the dialog; the entries stay for next time.
    void hiding_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("No") << false;
        QTest::newRow("close box") << true;
    }
    void hiding()
    {
        QFETCH(bool, closeBox);
        frmUnSupportFormat->showModeless();
        frmUnSupportFormat->EditUserName->setText(QStringLiteral("ab cd"));
        frmUnSupportFormat->EditUserEmail->setText(QStringLiteral("a@b.example"));
        frmUnSupportFormat->EditOrderID->setText(QStringLiteral("7"));
        if (closeBox)
            frmUnSupportFormat->close();
        else
            QTest::mouseClick(frmUnSupportFormat->ButtonCancel, Qt::LeftButton);
        QVERIFY(!frmUnSupportFormat->isVisible());
        QVERIFY(opened.isEmpty());
        frmUnSupportFormat->showModeless();
        QCOMPARE(frmUnSupportFormat->EditUserName->text(), QStringLiteral("ab cd"));
        QCOMPARE(frmUnSupportFormat->EditUserEmail->text(), QStringLiteral("a@b.example"));
        QCOMPARE(frmUnSupportFormat->EditOrderID->text(), QStringLiteral("7"));
    }

    // Enter in an edit box presses no button.
    void enterInEditBoxPressesNothing()
    {
        frmUnSupportFormat->UnsupportedFormats = QStringLiteral(".avi");
        frmUnSupportFormat->showModeless();
        frmUnSupportFormat->activateWindow();
        frmUnSupportFormat->EditUserName->setFocus();
        QTest::keyClick(frmUnSupportFormat->EditUserName, Qt::Key_Return);
        QVERIFY(frmUnSupportFormat->isVisible());
        QVERIFY(opened.isEmpty());
    }
};

ZENDREL_TEST_MAIN(TestUnsupportedFormat)
#include "tst_unsupportedformat.moc"
