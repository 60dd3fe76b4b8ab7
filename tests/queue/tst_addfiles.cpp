// The sources of files: the folder walk and the batch-add dialog, drops from
// the desktop and the open dialog, over real temporary folder trees.
#include "QueueTestHelpers.h"
#include "TestUtil.h"

#include "mainwindow/TfrmMain.h"
#include "queue/ShellFolderTree.h"
#include "queue/TFrmBatchAdd.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

class TestAddFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir m_program;
    QTemporaryDir m_files;
    QString root; // the generated tree
    int m_pipeWriter = -1;
    TfrmMain *w = nullptr;

    QStringList paths() const
    {
        QStringList p;
        for (int i = 0; i < w->listViewFiles->topLevelItemCount(); ++i)
            p << w->listViewFiles->topLevelItem(i)->text(0);
        return p;
    }
    static QStringList sorted(QStringList l)
    {
        l.sort();
        return l;
    }
    // Paths relative to the tree, for short tables.
    QStringList relative(const QStringList &l) const
    {
        QStringList r;
        for (const QString &p : l)
            r << (p.startsWith(root + QLatin1Char('/')) ? p.mid(root.size() + 1) : p);
        return r;
    }
    void touch(const QString &rel) { TestUtil::writeFile(root + QLatin1Char('/') + rel, "x"); }
    void folder(const QString &rel) { QVERIFY(QDir().mkpath(root + QLatin1Char('/') + rel)); }
    void link(const QString &target, const QString &rel)
    {
        QVERIFY(QFile::link(target, root + QLatin1Char('/') + rel));
    }
    // Rows of one folder are walked before the next entry: they form one block.
    void checkBlock(const QStringList &rows, const QString &prefix)
    {
        int first = -1, last = -1, count = 0;
        for (int i = 0; i < rows.size(); ++i) {
            if (rows.at(i).startsWith(prefix)) {
                if (first < 0)
                    first = i;
                last = i;
                ++count;
            }
        }
        QVERIFY2(count == 0 || last - first + 1 == count, qPrintable(prefix + " is not walked depth first"));
    }
    static QDropEvent *dropEvent(QEvent::Type type, QMimeData *data)
    {
        if (type == QEvent::Drop)
            return new QDropEvent(QPointF(100, 300), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        if (type == QEvent::DragEnter)
            return new QDragEnterEvent(QPoint(100, 300), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        return new QDragMoveEvent(QPoint(100, 300), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    }
    // Sends a whole drag-and-drop of these URLs to the main window; returns
    // whether the window accepted it.
    bool drop(const QList<QUrl> &urls)
    {
        QMimeData data;
        data.setUrls(urls);
        bool accepted = true;
        for (QEvent::Type t : {QEvent::DragEnter, QEvent::DragMove, QEvent::Drop}) {
            std::unique_ptr<QDropEvent> e(dropEvent(t, &data));
            QApplication::sendEvent(w, e.get());
            accepted = accepted && e->isAccepted();
        }
        return accepted;
    }
    // One opening of the open dialog: optionally picks a filter entry
    // (0-based), opens a folder and types file names, then OK or Cancel.
    // Returns the entry the dialog started on.
    int openDialogOnce(int entry, const QString &folder, const QString &names, bool ok,
                       std::function<void(QFileDialog *)> check = {})
    {
        int startIndex = -1;
        QueueTest::onNextModal<QFileDialog>([&](QFileDialog *d) {
            if (check)
                check(d);
            auto *types = d->findChild<QComboBox *>("fileTypeCombo");
            startIndex = types->currentIndex();
            if (entry >= 0) {
                types->setCurrentIndex(entry);
                emit types->activated(entry);
            }
            d->setDirectory(folder);
            d->findChild<QLineEdit *>("fileNameEdit")->setText(names);
            QMetaObject::invokeMethod(d, ok ? "accept" : "reject");
        });
        w->ActionFileAdd->trigger();
        return startIndex;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_program.isValid() && m_files.isValid());
        const QString dir = TestUtil::makeProgramDir(m_program);
        TestUtil::writeFile(dir + QStringLiteral("config.ini"), "[setting]\ndisplayHelpDialog=0\n");
        TestUtil::startProgram(dir);
        w = frmMain;
        QVERIFY(w && FrmBatchAdd);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));

        // The tree for the walks.
        root = m_files.path() + QStringLiteral("/tree");
        touch("a.avi");
        touch("UP.AVI");
        touch("b.txt");
        touch("noext");
        touch("h.mp3");
        touch("sub/d.mp4");
        touch("sub/deeper/e.avi");
        touch("sub/deeper/notes.txt");
        touch("sub/f.mkv");
        touch("clips.avi/g.avi"); // a folder whose name passes as a file
        touch(".hidden/hid.avi");
        touch("with blanks/vidéo ñandú.avi");
        folder("empty");
        link(root + "/sub", "alias.avi");   // a link to a folder, named like a file
        link(root + "/sub", "sublink");     // a link to a folder
        folder("loop");
        link(root + "/loop", "loop/again"); // a link loop
        link(root + "/gone.avi", "dangling.avi");
        touch("plainfile");
#ifdef Q_OS_UNIX
        // A named pipe with a writer and no data: reading it would block.
        const QByteArray pipe = QFile::encodeName(root + "/sub/pipe");
        QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
        m_pipeWriter = ::open(pipe.constData(), O_RDWR | O_NONBLOCK);
        QVERIFY(m_pipeWriter >= 0);
#endif
    }
    void cleanupTestCase()
    {
        TestUtil::stopProgram();
#ifdef Q_OS_UNIX
        if (m_pipeWriter >= 0)
            ::close(m_pipeWriter);
#endif
    }
    void init() { w->ClearQueue(); }

    // ---- the walk ----------------------------------------------------------

    void walk_data()
    {
        QTest::addColumn<bool>("subFolders");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QStringList>("expected");
        const QStringList topOnly{"a.avi", "UP.AVI", "h.mp3", "clips.avi", "alias.avi", "dangling.avi"};
        const QStringList all{"a.avi", "UP.AVI", "h.mp3", "sub/d.mp4", "sub/deeper/e.avi", "sub/f.mkv", "clips.avi/g.avi",
                              "with blanks/vidéo ñandú.avi", "alias.avi", "dangling.avi"};
        QTest::newRow("* without sub-folders") << false << "*" << topOnly;
        QTest::newRow("empty is *") << false << "" << topOnly;
        QTest::newRow("* with sub-folders") << true << "*" << all;
        // The extension filters folders as well: only "clips.avi" is entered.
        QTest::newRow("avi with sub-folders") << true << "avi"
                                              << QStringList{"a.avi", "UP.AVI", "clips.avi/g.avi", "alias.avi", "dangling.avi"};
        QTest::newRow("avi without sub-folders") << false << "avi"
                                                 << QStringList{"a.avi", "UP.AVI", "clips.avi", "alias.avi", "dangling.avi"};
        QTest::newRow("wildcards") << false << "m?3" << QStringList{"h.mp3"};
        QTest::newRow("unsupported") << true << "txt" << QStringList{};
        QTest::newRow("no match") << true << "zzz" << QStringList{};
    }
    void walk()
    {
        QFETCH(bool, subFolders);
        QFETCH(QString, extension);
        QFETCH(QStringList, expected);
        w->AddFolderToQueue(root, subFolders, extension);
        const QStringList rows = paths();
        QCOMPARE(sorted(relative(rows)), sorted(expected));
        for (const QString &p : rows)
            QVERIFY2(p.startsWith(root + QLatin1Char('/')), qPrintable(p));
        checkBlock(rows, root + "/sub/");
        checkBlock(rows, root + "/sub/deeper/");
        // A second walk adds no duplicates.
        w->AddFolderToQueue(root, subFolders, extension);
        QCOMPARE(paths(), rows);
    }

    void walkAddsNothingForUnlistablePlaces_data()
    {
        QTest::addColumn<QString>("place");
        QTest::newRow("missing") << m_files.path() + "/missing";
        QTest::newRow("a file") << root + "/plainfile";
        QTest::newRow("under a file") << root + "/plainfile/x";
        QTest::newRow("the computer") << ShellFolderTree::computerParsingName();
        QTest::newRow("program resources") << ":/";
        QTest::newRow("relative") << "tree";
        QTest::newRow("empty") << "";
    }
    void walkAddsNothingForUnlistablePlaces()
    {
        QFETCH(QString, place);
        TestUtil::ErrorRecorder errors;
        // A file in the working folder would be found by a relative listing.
        const QString old = QDir::currentPath();
        QDir::setCurrent(m_files.path());
        w->AddFolderToQueue(place, true, "*");
        QDir::setCurrent(old);
        QCOMPARE(paths(), QStringList{});
        QVERIFY(errors.texts.isEmpty());
    }

    // Entry paths are the folder as given, a separator and the entry name.
    void walkJoinsFolderAsGiven()
    {
        w->AddFolderToQueue(root + "/sub/", false, "mp4");
        QCOMPARE(paths(), QStringList{root + "/sub//d.mp4"});
    }

    void walkKeepsLongPaths()
    {
        QString deep = m_files.path() + "/long";
        for (int i = 0; i < 5; ++i)
            deep += QLatin1Char('/') + QString(220, QChar(0x61 + i));
        TestUtil::writeFile(deep + "/clip one.avi", "x");
        QVERIFY(deep.size() > 1000);
        w->AddFolderToQueue(m_files.path() + "/long", true, "*");
        QCOMPARE(paths(), QStringList{deep + "/clip one.avi"});
    }

    // Pending events run during the walk, and earlier rows are already there.
    void walkLetsEventsThrough()
    {
        int rowsWhenTimerRan = -1;
        QTimer::singleShot(0, w, [&] { rowsWhenTimerRan = w->listViewFiles->topLevelItemCount(); });
        w->AddFolderToQueue(root, true, "*");
        QVERIFY(rowsWhenTimerRan >= 0);
        QVERIFY(rowsWhenTimerRan < w->listViewFiles->topLevelItemCount());
    }

    // Closing the main window ends a running walk.
    void walkEndsWhenWindowCloses()
    {
        QTimer::singleShot(0, w, [this] { w->hide(); });
        w->AddFolderToQueue(root, true, "*");
        const int rowsAdded = w->listViewFiles->topLevelItemCount();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QVERIFY(rowsAdded <= 1);
    }

    // ---- the batch-add dialog ------------------------------------------------

    void batchDialogTree()
    {
        ShellFolderTree *tree = FrmBatchAdd->shellTree;
        QVERIFY(tree);
        QTreeView *view = FrmBatchAdd->ShellTreeView;
        const QModelIndex top = tree->topIndex();
        QCOMPARE(view->model()->rowCount(), 1);
        QVERIFY(view->isExpanded(top));
        QVERIFY(!view->rootIsDecorated());
        QCOMPARE(tree->parsingName(top), ShellFolderTree::computerParsingName());
        QVERIFY(!tree->parsingName(top).startsWith(QLatin1Char('/')));
        QVERIFY(!tree->indexOf(ShellFolderTree::computerParsingName()).isValid());
        // "/" lies below the computer.
        QTRY_VERIFY(view->model()->rowCount(top) >= 1);
        QCOMPARE(tree->parsingName(view->model()->index(0, 0, top)), QStringLiteral("/"));
        // Folders only.
        QVERIFY(tree->selectFolder(root));
        const QModelIndex rootIndex = tree->indexOf(root);
        view->expand(rootIndex);
        QTRY_VERIFY(view->model()->rowCount(rootIndex) > 0);
        for (int i = 0; i < view->model()->rowCount(rootIndex); ++i) {
            const QString p = tree->parsingName(view->model()->index(i, 0, rootIndex));
            QVERIFY2(QFileInfo(p).isDir(), qPrintable(p));
        }
        // A right click selects.
        const QModelIndex child = view->model()->index(0, 0, rootIndex);
        view->scrollTo(child);
        QTest::mouseClick(view->viewport(), Qt::RightButton, {}, view->visualRect(child).center());
        QCOMPARE(view->currentIndex(), child);
    }

    // The folder model keeps the model rules while folders load, for both
    // kinds of top node.
    void folderModelIsConsistent_data()
    {
        QTest::addColumn<bool>("computer");
        QTest::newRow("computer") << true;
        QTest::newRow("folder") << false;
    }
    void folderModelIsConsistent()
    {
        QFETCH(bool, computer);
        QTreeView view;
        ShellFolderTree *tree = computer ? ShellFolderTree::showComputer(&view) : ShellFolderTree::showFolder(&view, root);
        QAbstractItemModelTester tester(tree->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        view.show();
        QVERIFY(tree->selectFolder(root + "/sub/deeper"));
        QTRY_VERIFY(tree->model()->rowCount(tree->indexOf(root + "/sub")) == 1);
        view.expandRecursively(tree->indexOf(root));
        QTest::qWait(200);
        QCOMPARE(tree->parsingName(view.currentIndex()), root + "/sub/deeper");
        QCOMPARE(tree->parsingName(tree->topIndex()), computer ? ShellFolderTree::computerParsingName() : root);
        // Folders outside the top folder are not part of the tree.
        QCOMPARE(tree->indexOf(m_files.path()).isValid(), computer);
    }

    void batchDialog()
    {
        // The dialog opens at the computer, selected.
        QCOMPARE(FrmBatchAdd->shellTree->selectedParsingName().isEmpty(), false);
        w->ActionFileBatchAdd->trigger();
        QVERIFY(FrmBatchAdd->isVisible());
        QVERIFY(!FrmBatchAdd->isModal());
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(w->isEnabled());

        // The computer itself adds nothing.
        FrmBatchAdd->ShellTreeView->setCurrentIndex(FrmBatchAdd->shellTree->topIndex());
        QTest::mouseClick(FrmBatchAdd->buttonOK, Qt::LeftButton);
        QVERIFY(!FrmBatchAdd->isVisible());
        QCOMPARE(paths(), QStringList{});

        // A folder, an extension with blanks around it, sub-folders ticked.
        w->ActionFileBatchAdd->trigger();
        QVERIFY(FrmBatchAdd->shellTree->selectFolder(root));
        FrmBatchAdd->editExt->setText(QStringLiteral("  avi \t"));
        FrmBatchAdd->checkBoxIsSubDirectorie->setChecked(true);
        QTest::mouseClick(FrmBatchAdd->buttonOK, Qt::LeftButton);
        QVERIFY(!FrmBatchAdd->isVisible());
        QCOMPARE(sorted(relative(paths())),
                 sorted(QStringList{"a.avi", "UP.AVI", "clips.avi/g.avi", "alias.avi", "dangling.avi"}));

        // The next opening keeps folder, extension and tick; Cancel and
        // Escape only hide.
        w->ClearQueue();
        w->ActionFileBatchAdd->trigger();
        QCOMPARE(FrmBatchAdd->shellTree->selectedParsingName(), root);
        QCOMPARE(FrmBatchAdd->editExt->text(), QStringLiteral("  avi \t"));
        QVERIFY(FrmBatchAdd->checkBoxIsSubDirectorie->isChecked());
        QTest::mouseClick(FrmBatchAdd->buttonCancel, Qt::LeftButton);
        QVERIFY(!FrmBatchAdd->isVisible());
        w->ActionFileBatchAdd->trigger();
        QTest::keyClick(FrmBatchAdd->ShellTreeView, Qt::Key_Escape);
        QVERIFY(!FrmBatchAdd->isVisible());
        QCOMPARE(paths(), QStringList{});

        // An empty extension box works like "*".
        w->ActionFileBatchAdd->trigger();
        QVERIFY(FrmBatchAdd->shellTree->selectFolder(root + "/sub"));
        FrmBatchAdd->editExt->clear();
        FrmBatchAdd->checkBoxIsSubDirectorie->setChecked(false);
        QTest::mouseClick(FrmBatchAdd->buttonOK, Qt::LeftButton);
        QCOMPARE(sorted(relative(paths())), sorted(QStringList{"sub/d.mp4", "sub/f.mkv"}));
    }

    // ---- drops -----------------------------------------------------------------

    void drops_data()
    {
        QTest::addColumn<QStringList>("dropped"); // relative to the tree; "http:" for a web address
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("files in the drop's order")
            << QStringList{"sub/f.mkv", "a.avi", "sub/d.mp4"} << QStringList{"sub/f.mkv", "a.avi", "sub/d.mp4"} << true;
        QTest::newRow("folders are not walked")
            << QStringList{"sub", "clips.avi", "clips.avi/"} << QStringList{"clips.avi"} << true;
        QTest::newRow("unsupported and duplicate") << QStringList{"b.txt", "a.avi", "a.avi"} << QStringList{"a.avi"} << true;
        QTest::newRow("blanks and letters") << QStringList{"with blanks/vidéo ñandú.avi"}
                                            << QStringList{"with blanks/vidéo ñandú.avi"} << true;
        QTest::newRow("web addresses are no files") << QStringList{"http:"} << QStringList{} << false;
    }
    void drops()
    {
        QFETCH(QStringList, dropped);
        QFETCH(QStringList, expected);
        QFETCH(bool, accepted);
        QList<QUrl> urls;
        for (const QString &d : dropped)
            urls << (d == "http:" ? QUrl("http://example.invalid/a.avi") : QUrl::fromLocalFile(root + "/" + d));
        QCOMPARE(drop(urls), accepted);
        QCOMPARE(relative(paths()), expected);
    }

    void dropKeepsLongPaths()
    {
        const QString p = root + "/" + QStringList(6, QString(200, QLatin1Char('q'))).join('/') + "/x.avi";
        QVERIFY(drop({QUrl::fromLocalFile(p)}));
        QCOMPARE(paths(), QStringList{p});
    }

    // A drop over any control reaches the main window: the platform hands a
    // drag to the nearest widget that accepts drops, walking up from the one
    // under the mouse.
    void dropTargetIsTheWholeWindow()
    {
        QVERIFY(w->acceptDrops());
        const QList<QWidget *> controls{w->listViewFiles->viewport(), w->comboBoxVideoBitrate, w->comboBoxSampleRate,
                                        w->editOutputFolder,           w->buttonConvert,        w->ComboBoxFormatSelect};
        for (QWidget *control : controls) {
            QWidget *target = w->childAt(control->mapTo(w, control->rect().center()));
            while (target && !target->acceptDrops())
                target = target->parentWidget();
            QVERIFY2(target == w, qPrintable(control->objectName()));
        }
        for (QWidget *child : w->findChildren<QWidget *>())
            if (child->window() == w)
                QVERIFY2(!child->acceptDrops(), qPrintable(child->objectName() + " " + child->metaObject()->className()));
    }

    // ---- the open dialog ---------------------------------------------------------

    void openDialogFilterText()
    {
        const QString f = TfrmMain::OpenDialogFilter();
        const QStringList parts = f.split('|');
        QCOMPARE(parts.size(), 64);
        QCOMPARE(parts.at(0), QStringLiteral("Support files"));
        QCOMPARE(parts.at(1), TfrmMain::SupportedExtensions());
        QCOMPARE(parts.at(8), QStringLiteral("DV Video Files (*.dv;*.dif)"));
        QCOMPARE(parts.at(9), QStringLiteral("*.dv;*.dif"));
        QCOMPARE(parts.at(16), QStringLiteral("MP2 Files (*.mp3)"));
        QCOMPARE(parts.at(24), parts.at(38)); // entries 13 and 20
        QCOMPARE(parts.at(48), QStringLiteral("Monkey's Audio Files (*.ape;*.cue)"));
        QCOMPARE(parts.at(62), QStringLiteral("All files (*.*)"));
        QCOMPARE(parts.at(63), QStringLiteral("*.*"));
        QVERIFY(!f.endsWith('|'));
        for (const QString p : {"*.avs", "*.psp", "*.smk", "*.nsv"})
            QCOMPARE(f.count(p), 1);
    }

    void openDialog()
    {
        const QString expectedFirst =
            QStringLiteral("Support files (") + TfrmMain::SupportedExtensions().replace(';', ' ') + QLatin1Char(')');

        // First opening: entry 1; several files come in the dialog's order.
        bool checked = false;
        const int first = openDialogOnce(-1, root, "\"h.mp3\" \"a.avi\" \"b.txt\"", true, [&](QFileDialog *d) {
            checked = true;
            QCOMPARE(d->windowTitle(), QStringLiteral("Open video files"));
            QCOMPARE(d->fileMode(), QFileDialog::ExistingFiles);
            QVERIFY(d->testOption(QFileDialog::DontUseNativeDialog));
            const QStringList filters = d->nameFilters();
            QCOMPARE(filters.size(), 32);
            QCOMPARE(filters.first(), expectedFirst);
            QCOMPARE(filters.at(4), QStringLiteral("DV Video Files (*.dv;*.dif) (*.dv *.dif)"));
            QCOMPARE(filters.last(), QStringLiteral("All files (*.*) (*.*)"));
            auto *types = d->findChild<QComboBox *>("fileTypeCombo");
            QCOMPARE(types->currentText(), QStringLiteral("Support files"));
            QCOMPARE(types->itemText(4), QStringLiteral("DV Video Files (*.dv;*.dif)"));
        });
        QVERIFY(checked);
        QCOMPARE(first, 0);
        QCOMPARE(relative(paths()), (QStringList{"h.mp3", "a.avi"}));

        // Second opening: the file name is empty again; entry 20 (the same
        // text as entry 13) with OK.
        w->ClearQueue();
        QString nameAtStart = "?";
        openDialogOnce(19, root + "/sub", "d.mp4", true, [&](QFileDialog *d) {
            nameAtStart = d->findChild<QLineEdit *>("fileNameEdit")->text();
        });
        QCOMPARE(nameAtStart, QString());
        QCOMPARE(relative(paths()), QStringList{"sub/d.mp4"});

        // Third opening starts on entry 20; entry 32, then Cancel.
        QCOMPARE(openDialogOnce(31, root, "a.avi", false), 19);
        QCOMPARE(relative(paths()), QStringList{"sub/d.mp4"});

        // A Cancel does not count: entry 20 again. Entry 32 with a text file
        // adds nothing.
        QCOMPARE(openDialogOnce(31, root, "b.txt", true), 19);
        QCOMPARE(relative(paths()), QStringList{"sub/d.mp4"});
        QCOMPARE(w->lastOpenDialogFilters().size(), 32);
    }
};

ZENDREL_TEST_MAIN(TestAddFiles)
#include "tst_addfiles.moc"
