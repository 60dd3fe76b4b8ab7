// The overwrite policy for existing output files, the automatic names and
// the overwrite dialog, over real files in a temporary folder.
#include "TestUtil.h"

#include "app/TfrmCommon.h"
#include "mainwindow/TfrmMain.h"
#include "run/TfrmOverWrite.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <unistd.h>

namespace {

// Closes any modal window that opens while it lives and counts them, so a
// dialog that should not come fails the test instead of hanging it.
struct NoDialogGuard
{
    QTimer timer;
    int shown = 0;
    NoDialogGuard()
    {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                ++shown;
                modal->close();
            }
        });
        timer.start();
    }
};

// Answers the next overwrite dialog: ticks or unticks the check box with a
// click, then presses the button ("close" for the close box).
struct DialogAnswer
{
    bool shown = false;
    bool modal = false;
    bool tickBefore = false;
};

void answerOverwrite(const QString &button, bool tick, DialogAnswer *seen)
{
    TestUtil::answerNextModal(button, [tick, seen](QWidget *w) {
        auto *dialog = qobject_cast<TfrmOverWrite *>(w);
        if (!dialog)
            return;
        seen->shown = true;
        seen->modal = dialog->isModal();
        seen->tickBefore = dialog->checkBoxNotice->isChecked();
        if (dialog->checkBoxNotice->isChecked() != tick)
            QTest::mouseClick(dialog->checkBoxNotice, Qt::LeftButton);
    });
}

QByteArray bytesOf(const QString &path)
{
    return TestUtil::readFile(path);
}

} // namespace

class TestOverwrite : public QObject
{
    Q_OBJECT

    QTemporaryDir m_programTmp;
    QString m_programDir;
    TestUtil::ErrorRecorder *m_errors = nullptr;

    QString makeFile(const QDir &dir, const QString &name, const QByteArray &content = "old content")
    {
        const QString path = dir.filePath(name);
        TestUtil::writeFile(path, content);
        return path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_programTmp.isValid());
        m_programDir = TestUtil::makeProgramDir(m_programTmp, false);
        m_errors = new TestUtil::ErrorRecorder; // a profile that fails to load must not block
        TestUtil::startProgram(m_programDir);
        QVERIFY(frmMain);
        QVERIFY(frmOverWrite);
        frmMain->setGeometry(300, 200, 480, 560);
    }

    void cleanupTestCase()
    {
        TestUtil::stopProgram();
        delete m_errors;
    }

    void init()
    {
        frmMain->OverwriteChoice = 0;
    }

    // Runs before any dialog showing, so the controls are as designed.
    void dialogAsDesigned()
    {
        TfrmOverWrite *d = frmOverWrite;
        QCOMPARE(d->parentWidget(), static_cast<QWidget *>(frmMain));
        QCOMPARE(d->windowTitle(), QStringLiteral("文件已存在"));
        QCOMPARE(d->labelDes->text(), QStringLiteral("文件已存在，是否覆盖？"));
        QVERIFY(d->labelDes->font().bold());
        QVERIFY(d->labelDes->alignment() & Qt::AlignHCenter);
        QCOMPARE(d->buttonOverWrite->text(), QStringLiteral("覆盖"));
        QCOMPARE(d->buttonIgnore->text(), QStringLiteral("忽略"));
        QCOMPARE(d->buttonAutoName->text(), QStringLiteral("自动命名"));
        QCOMPARE(d->checkBoxNotice->text(), QStringLiteral("下次不再提示，均依此次选择执行"));
        QVERIFY(!d->checkBoxNotice->isChecked());
        QVERIFY(d->buttonAutoName->isDefault());
        QVERIFY(!d->buttonOverWrite->isDefault());
        QVERIFY(!d->buttonIgnore->isDefault());
        const Qt::WindowFlags flags = d->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(!d->isVisible());
    }

    // Modal, centred on the main window; Return presses the default button.
    void dialogShowsModalCentred()
    {
        QTemporaryDir tmp;
        const QString out = makeFile(QDir(tmp.path()), QStringLiteral("clip.avi"));
        bool modal = false;
        QPoint centre;
        auto *timer = new QTimer;
        timer->setInterval(20);
        connect(timer, &QTimer::timeout, [&] {
            QWidget *w = QApplication::activeModalWidget();
            if (!w)
                return;
            timer->stop();
            modal = w == frmOverWrite && frmOverWrite->isModal();
            centre = w->frameGeometry().center();
            QTest::keyClick(w, Qt::Key_Return);
        });
        timer->start();
        const QString result = frmMain->ResolveOutputPath(out);
        delete timer;
        QVERIFY(modal);
        const QPoint ownerCentre = frmMain->frameGeometry().center();
        QVERIFY2((centre - ownerCentre).manhattanLength() <= 4,
                 qPrintable(QStringLiteral("dialog centre %1,%2 owner centre %3,%4")
                                .arg(centre.x()).arg(centre.y()).arg(ownerCentre.x()).arg(ownerCentre.y())));
        QCOMPARE(frmOverWrite->Choice, 5);
        QCOMPARE(result, QDir(tmp.path()).filePath(QStringLiteral("clip(1).avi")));
        QCOMPARE(frmMain->OverwriteChoice, 0);
        QVERIFY(!frmOverWrite->isVisible());
    }

    void noExistingOutput()
    {
        QTemporaryDir tmp;
        const QString out = QDir(tmp.path()).filePath(QStringLiteral("new.avi"));
        NoDialogGuard guard;
        QCOMPARE(frmMain->ResolveOutputPath(out), out);
        QCOMPARE(guard.shown, 0);
        QVERIFY(!QFileInfo::exists(out)); // deciding writes nothing
    }

    void answerCodes_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("tick");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("result"); // same, empty or auto
        QTest::addColumn<bool>("remembered");

        QTest::newRow("ignore") << "buttonIgnore" << false << 0 << "empty" << false;
        QTest::newRow("ignore, ticked") << "buttonIgnore" << true << 2 << "empty" << true;
        QTest::newRow("overwrite") << "buttonOverWrite" << false << 3 << "same" << false;
        QTest::newRow("overwrite, ticked") << "buttonOverWrite" << true << 4 << "same" << true;
        QTest::newRow("auto name") << "buttonAutoName" << false << 5 << "auto" << false;
        QTest::newRow("auto name, ticked") << "buttonAutoName" << true << 6 << "auto" << true;
        QTest::newRow("close box") << "close" << false << 0 << "empty" << false;
        QTest::newRow("close box, ticked") << "close" << true << 0 << "empty" << false;
    }

    // One answer, then a second existing output: a remembered answer acts
    // again without a dialog; otherwise the dialog comes again (closed here).
    void answerCodes()
    {
        QFETCH(QString, button);
        QFETCH(bool, tick);
        QFETCH(int, code);
        QFETCH(QString, result);
        QFETCH(bool, remembered);

        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        const QString first = makeFile(dir, QStringLiteral("first.avi"), "first");
        const QString second = makeFile(dir, QStringLiteral("second.mp4"), "second");

        auto expected = [&](const QString &path, const QString &kind) {
            if (kind == QLatin1String("same"))
                return path;
            if (kind == QLatin1String("empty"))
                return QString();
            const QFileInfo info(path);
            return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral("(1).") + info.suffix();
        };

        DialogAnswer seen;
        answerOverwrite(button, tick, &seen);
        QCOMPARE(frmMain->ResolveOutputPath(first), expected(first, result));
        QVERIFY(seen.shown);
        QVERIFY(seen.modal);
        QCOMPARE(frmOverWrite->Choice, code);
        QCOMPARE(frmMain->OverwriteChoice, remembered ? code : 0);
        QCOMPARE(frmOverWrite->checkBoxNotice->isChecked(), tick); // keeps its tick
        QCOMPARE(bytesOf(first), QByteArray("first"));

        if (remembered) {
            NoDialogGuard guard;
            QCOMPARE(frmMain->ResolveOutputPath(second), expected(second, result));
            QCOMPARE(guard.shown, 0);
            QCOMPARE(frmMain->OverwriteChoice, code);
        } else {
            DialogAnswer again;
            answerOverwrite(QStringLiteral("close"), tick, &again);
            QCOMPARE(frmMain->ResolveOutputPath(second), QString());
            QVERIFY(again.shown);
            QCOMPARE(again.tickBefore, tick); // the tick of the last showing stays
            QCOMPARE(frmMain->OverwriteChoice, 0);
        }
        QCOMPARE(bytesOf(second), QByteArray("second"));

        // A free path never asks, whatever answer is in force.
        NoDialogGuard guard;
        const QString free = dir.filePath(QStringLiteral("free.avi"));
        QCOMPARE(frmMain->ResolveOutputPath(free), free);
        QCOMPARE(guard.shown, 0);
    }

    void autoName_data()
    {
        QTest::addColumn<QStringList>("existing"); // relative to the folder; a trailing "/" makes a folder
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");

        QTest::newRow("free") << QStringList{} << "a.avi" << "a.avi";
        QTest::newRow("taken once") << QStringList{"a.avi"} << "a.avi" << "a(1).avi";
        QTest::newRow("taken twice") << QStringList{"a.avi", "a(1).avi"} << "a.avi" << "a(1)(1).avi";
        QTest::newRow("taken three times") << QStringList{"a.avi", "a(1).avi", "a(1)(1).avi"} << "a.avi"
                                           << "a(1)(1)(1).avi";
        QTest::newRow("no counter") << QStringList{"a.avi", "a(1).avi", "a(2).avi"} << "a.avi" << "a(1)(1).avi";
        QTest::newRow("no extension") << QStringList{"clip"} << "clip" << "clip(1)";
        QTest::newRow("two dots") << QStringList{"a.b.avi"} << "a.b.avi" << "a.b(1).avi";
        QTest::newRow("dot in folder name") << QStringList{"my.dir/clip"} << "my.dir/clip" << "my.dir/clip(1)";
        QTest::newRow("dot in folder and name") << QStringList{"my.dir/a.avi"} << "my.dir/a.avi" << "my.dir/a(1).avi";
        QTest::newRow("dot file") << QStringList{".avi"} << ".avi" << "(1).avi";
        QTest::newRow("blanks kept") << QStringList{"my clip .avi"} << "my clip .avi" << "my clip (1).avi";
        QTest::newRow("folder takes the name") << QStringList{"a.avi", "a(1).avi/"} << "a.avi" << "a(1)(1).avi";
    }

    void autoName()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, path);
        QFETCH(QString, expected);

        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        QDir().mkpath(dir.filePath(QStringLiteral("my.dir")));
        for (const QString &name : existing) {
            if (name.endsWith(QLatin1Char('/')))
                QVERIFY(dir.mkpath(name));
            else
                makeFile(dir, name);
        }
        QCOMPARE(TfrmMain::AutoNamePath(dir.filePath(path)), dir.filePath(expected));
    }

    void outputIsInput_data()
    {
        QTest::addColumn<int>("choiceInForce");
        QTest::addColumn<QString>("naming"); // how the output path names the input

        for (int choice : {0, 2, 4, 6})
            for (const char *naming : {"same path", "dot-dot path", "symbolic link", "hard link"})
                QTest::addRow("choice %d, %s", choice, naming) << choice << QString::fromLatin1(naming);
    }

    // Writing the placeholder onto the input would destroy it: the output
    // always gets an automatic name, without asking, whatever is in force.
    void outputIsInput()
    {
        QFETCH(int, choiceInForce);
        QFETCH(QString, naming);

        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        QVERIFY(dir.mkpath(QStringLiteral("sub")));
        const QString input = makeFile(dir, QStringLiteral("clip.avi"), "the input");
        QString output;
        if (naming == QLatin1String("same path")) {
            output = input;
        } else if (naming == QLatin1String("dot-dot path")) {
            output = dir.filePath(QStringLiteral("sub/../clip.avi"));
        } else if (naming == QLatin1String("symbolic link")) {
            output = dir.filePath(QStringLiteral("link.avi"));
            QVERIFY(QFile::link(input, output));
        } else {
            output = dir.filePath(QStringLiteral("hard.avi"));
            QCOMPARE(::link(QFile::encodeName(input).constData(), QFile::encodeName(output).constData()), 0);
        }

        frmMain->OverwriteChoice = choiceInForce;
        NoDialogGuard guard;
        const QString result = frmMain->ResolveOutputPath(output, input);
        QCOMPARE(guard.shown, 0);
        QVERIFY(!result.isEmpty());
        QVERIFY2(!QFileInfo::exists(result), qPrintable(result));
        QCOMPARE(result, TfrmMain::AutoNamePath(output));
        QCOMPARE(frmMain->OverwriteChoice, choiceInForce);
        QCOMPARE(bytesOf(input), QByteArray("the input"));

        // Another existing output still follows the answer in force.
        if (choiceInForce == 4) {
            const QString other = makeFile(dir, QStringLiteral("other.avi"));
            QCOMPARE(frmMain->ResolveOutputPath(other, input), other);
        }
    }

    // A different file with the same name elsewhere is not the input.
    void sameNameOtherFolder()
    {
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        const QString input = makeFile(dir, QStringLiteral("in/clip.avi"), "input");
        const QString output = makeFile(dir, QStringLiteral("out/clip.avi"), "output");
        frmMain->OverwriteChoice = 4;
        QCOMPARE(frmMain->ResolveOutputPath(output, input), output);
    }
};

ZENDREL_TEST_MAIN(TestOverwrite)
#include "tst_overwrite.moc"
