// The queue's rows: the add rules, the list operations and the edit panel.
#include "TestUtil.h"

#include "app/ZendrelApplication.h"
#include "mainwindow/TfrmMain.h"

#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using Rows = QList<QStringList>;

class TestQueue : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    TfrmMain *w = nullptr;

    Rows rows() const
    {
        Rows r;
        for (int i = 0; i < w->listViewFiles->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *it = w->listViewFiles->topLevelItem(i);
            r << QStringList{it->text(0), it->text(1), it->text(2)};
        }
        return r;
    }
    QStringList paths() const
    {
        QStringList p;
        for (const QStringList &r : rows())
            p << r.at(0);
        return p;
    }
    int selectedRow() const
    {
        const auto sel = w->listViewFiles->selectedItems();
        return sel.isEmpty() ? -1 : w->listViewFiles->indexOfTopLevelItem(sel.first());
    }
    void fill(const Rows &r)
    {
        for (const QStringList &row : r) {
            w->AddFileToQueue(row.at(0));
            QTreeWidgetItem *it = w->listViewFiles->topLevelItem(w->listViewFiles->topLevelItemCount() - 1);
            it->setText(1, row.value(1, QStringLiteral("00:00:00")));
            it->setText(2, row.value(2));
        }
    }
    // The middle of a row, in the list viewport's coordinates.
    QPoint rowPoint(int row) const
    {
        return w->listViewFiles->visualItemRect(w->listViewFiles->topLevelItem(row)).center();
    }
    void clickRow(int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(w->listViewFiles->viewport(), button, {}, rowPoint(row));
    }
    // Puts the cursor at pos and types text into a time field.
    void typeAt(QLineEdit *field, int pos, const QString &text)
    {
        field->setFocus(Qt::MouseFocusReason);
        field->setCursorPosition(pos);
        QTest::keyClicks(field, text);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        const QString dir = TestUtil::makeProgramDir(m_tmp);
        TestUtil::writeFile(dir + QStringLiteral("config.ini"), "[setting]\ndisplayHelpDialog=0\n");
        TestUtil::startProgram(dir);
        w = frmMain;
        QVERIFY(w);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
    void cleanupTestCase() { TestUtil::stopProgram(); }
    void init()
    {
        w->ClearQueue();
        for (QLineEdit *f : {w->MaskEditFileStartTime, w->MaskEditItemFileDuration})
            f->setText(QStringLiteral("00:00:00"));
        w->GroupBoxEditItem->hide();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }

    // ---- adding ----------------------------------------------------------

    void addRules_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("expected");
        const QString longName = QString(200, QLatin1Char('n'));
        const QString longPath = QStringLiteral("/v/") + QStringList(6, longName).join(QLatin1Char('/')) + QStringLiteral("/clip.avi");
        QTest::newRow("duplicate exact") << QStringList{"/v/a.avi", "/v/a.avi"} << QStringList{"/v/a.avi"};
        QTest::newRow("case differs") << QStringList{"/v/a.avi", "/v/A.avi"} << QStringList{"/v/a.avi", "/v/A.avi"};
        QTest::newRow("upper-case extension") << QStringList{"/v/clip.MP4", "/v/clip.Avi", "/v/x.MKV"}
                                              << QStringList{"/v/clip.MP4", "/v/clip.Avi", "/v/x.MKV"};
        QTest::newRow("unsupported") << QStringList{"/v/clip", "/v/clip.mpeg4", "/v/clip.avi2", "/v/clip.txt"} << QStringList{};
        QTest::newRow("fragments pass") << QStringList{"/v/clip.a", "/v/clip.m", "/v/clip.mp", "/v/clip.h26", "/v/clip."}
                                        << QStringList{"/v/clip.a", "/v/clip.m", "/v/clip.mp", "/v/clip.h26", "/v/clip."};
        QTest::newRow("dot only in a folder") << QStringList{"/v.avi/clip", "/v/x.avi/"} << QStringList{};
        QTest::newRow("name is the extension") << QStringList{"/v/.avi"} << QStringList{"/v/.avi"};
        QTest::newRow("only A-Z are lowered") << QStringList{"/v/clip.ÀVI", "/v/clip.AVİ"} << QStringList{};
        QTest::newRow("blanks and letters kept")
            << QStringList{"/v/my clips/vidéo ñandú 1.avi", " /v/lead.avi"}
            << QStringList{"/v/my clips/vidéo ñandú 1.avi", " /v/lead.avi"};
        QTest::newRow("1000+ characters") << QStringList{longPath, longPath} << QStringList{longPath};
    }
    void addRules()
    {
        QFETCH(QStringList, added);
        QFETCH(QStringList, expected);
        for (const QString &p : added) {
            const int before = w->listViewFiles->topLevelItemCount();
            w->AddFileToQueue(p);
            // A new row is there at once, as the last row, with the start
            // time "00:00:00" and an empty duration.
            if (w->listViewFiles->topLevelItemCount() == before + 1)
                QCOMPARE(rows().last(), (QStringList{p, "00:00:00", ""}));
        }
        QCOMPARE(paths(), expected);
        for (const QString &p : expected)
            QVERIFY(w->IsInQueue(p));
    }

    void supportedExtensionsText()
    {
        const QString s = TfrmMain::SupportedExtensions();
        QCOMPARE(s.split(QLatin1Char(';')).size(), 45);
        QVERIFY(s.startsWith(QLatin1String("*.3gp;*.3g2;*.avi;")));
        QVERIFY(s.contains(QLatin1String("*.flv;*.rm;*.ra;")));
        QVERIFY(s.endsWith(QLatin1String("*.nsv;*.mts")));
        QCOMPARE(s, s.toLower());
    }

    // The duplicate test follows every change of the rows.
    void duplicateTestFollowsRowChanges()
    {
        fill({{"/v/a.avi"}, {"/v/b.avi"}, {"/v/c.avi"}});
        w->listViewFiles->setCurrentItem(w->listViewFiles->topLevelItem(1));
        w->RemoveSelected();
        QVERIFY(!w->IsInQueue("/v/b.avi"));
        w->AddFileToQueue("/v/b.avi");
        QCOMPARE(paths(), (QStringList{"/v/a.avi", "/v/c.avi", "/v/b.avi"}));
        w->listViewFiles->setCurrentItem(w->listViewFiles->topLevelItem(2));
        w->MoveSelectedUp();
        w->MoveSelectedUp();
        w->AddFileToQueue("/v/b.avi");
        w->AddFileToQueue("/v/a.avi");
        QCOMPARE(paths(), (QStringList{"/v/b.avi", "/v/a.avi", "/v/c.avi"}));
        w->ClearQueue();
        QVERIFY(!w->IsInQueue("/v/a.avi"));
        w->AddFileToQueue("/v/a.avi");
        QCOMPARE(paths(), QStringList{"/v/a.avi"});

        // Rows placed in the list by other code still count.
        w->listViewFiles->addTopLevelItem(new QTreeWidgetItem(QStringList{"/v/z.avi", "00:00:00", ""}));
        QVERIFY(w->IsInQueue("/v/z.avi"));
        w->AddFileToQueue("/v/z.avi");
        QCOMPARE(paths(), (QStringList{"/v/a.avi", "/v/z.avi"}));
    }

    // ---- list operations ---------------------------------------------------

    void removeSelected()
    {
        w->RemoveSelected(); // empty queue, nothing selected
        fill({{"/v/a.avi"}, {"/v/b.avi", "00:01:00", "00:00:10"}, {"/v/c.avi"}});
        w->RemoveSelected(); // nothing selected
        QCOMPARE(paths().size(), 3);
        w->listViewFiles->setCurrentItem(w->listViewFiles->topLevelItem(1));
        w->ActionFileDelete->trigger(); // no question
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(paths(), (QStringList{"/v/a.avi", "/v/c.avi"}));
        // Nothing stays selected, so a second Remove removes nothing.
        QCOMPARE(selectedRow(), -1);
        w->ActionFileDelete->trigger();
        QCOMPARE(paths().size(), 2);
    }

    void clearAll_data()
    {
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("rowsAfter");
        QTest::newRow("OK") << 3 << "OK" << 0;
        QTest::newRow("Cancel") << 3 << "Cancel" << 3;
        QTest::newRow("close box") << 2 << "close" << 2;
        QTest::newRow("empty queue still asks") << 0 << "OK" << 0;
    }
    void clearAll()
    {
        QFETCH(int, rowCount);
        QFETCH(QString, answer);
        QFETCH(int, rowsAfter);
        for (int i = 0; i < rowCount; ++i)
            w->AddFileToQueue(QStringLiteral("/v/%1.avi").arg(i));
        w->msgClearAll = QStringLiteral("Remove every file from the list?");
        bool asked = false;
        TestUtil::answerNextModal(answer, [&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            asked = true;
            QCOMPARE(box->text(), w->msgClearAll);
            QCOMPARE(box->windowTitle(), ZendrelApplication::title());
            QCOMPARE(box->parentWidget(), w);
            QCOMPARE(box->buttons().size(), 2);
            QVERIFY(box->button(QMessageBox::Ok));
            QVERIFY(box->button(QMessageBox::Cancel));
        });
        w->ActionFileClearAll->trigger();
        QVERIFY(asked);
        QCOMPARE(w->listViewFiles->topLevelItemCount(), rowsAfter);
        if (rowsAfter == 0)
            QVERIFY(!w->IsInQueue("/v/0.avi"));
    }

    void moves_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<int>("selectedAfter");
        QTest::newRow("up from row 3") << 2 << true << QStringList{"a", "c", "b", "d"} << 1;
        QTest::newRow("down from row 2") << 1 << false << QStringList{"a", "c", "b", "d"} << 2;
        QTest::newRow("up on the first row") << 0 << true << QStringList{"a", "b", "c", "d"} << 0;
        QTest::newRow("down on the last row") << 3 << false << QStringList{"a", "b", "c", "d"} << 3;
        QTest::newRow("nothing selected") << -1 << true << QStringList{"a", "b", "c", "d"} << -1;
    }
    void moves()
    {
        QFETCH(int, selected);
        QFETCH(bool, up);
        QFETCH(QStringList, order);
        QFETCH(int, selectedAfter);
        // Each row carries its own times, which move with it.
        const QHash<QString, QStringList> times{{"a", {"00:00:01", ""}},
                                                {"b", {"00:00:02", "00:01:00"}},
                                                {"c", {"1:00:03", "00:02:00"}},
                                                {"d", {"00:00:04", ""}}};
        for (const QString &n : {"a", "b", "c", "d"})
            fill({{"/v/" + n + ".avi", times[n].at(0), times[n].at(1)}});
        if (selected >= 0)
            w->listViewFiles->setCurrentItem(w->listViewFiles->topLevelItem(selected));
        else
            w->listViewFiles->clearSelection();
        (up ? w->ActionFileMoveUp : w->ActionFileMoveDown)->trigger();
        Rows expected;
        for (const QString &n : order)
            expected << QStringList{"/v/" + n + ".avi", times[n].at(0), times[n].at(1)};
        QCOMPARE(rows(), expected);
        QCOMPARE(selectedRow(), selectedAfter);
        if (selectedAfter >= 0)
            QCOMPARE(w->listViewFiles->currentItem(), w->listViewFiles->topLevelItem(selectedAfter));
        for (const QString &n : order)
            QVERIFY(w->IsInQueue("/v/" + n + ".avi"));
    }

    // ---- the edit panel ------------------------------------------------------

    void panelOpensOnLeftReleaseOverSelectedRow()
    {
        fill({{"/v/a.avi"}, {"/v/b.avi", "1:30:00", "00:00:20"}});
        clickRow(1, Qt::RightButton);
        QVERIFY(!w->GroupBoxEditItem->isVisible());

        clickRow(0);
        QVERIFY(w->GroupBoxEditItem->isVisible());
        QCOMPARE(w->LabelEditItemFileName->text(), QStringLiteral("/v/a.avi"));
        QCOMPARE(w->MaskEditFileStartTime->text(), QStringLiteral("00:00:00"));
        QCOMPARE(w->MaskEditItemFileDuration->text(), QStringLiteral("00:00:00")); // empty duration
        // Top edge at the list's top plus the mouse's height within the list.
        const QPoint inList = w->listViewFiles->viewport()->mapTo(w->listViewFiles, rowPoint(0));
        QCOMPARE(w->GroupBoxEditItem->y(), w->listViewFiles->y() + inList.y());
        QCOMPARE(w->GroupBoxEditItem->x(), 7);

        // Another row while open: filled again for that row.
        clickRow(1);
        QCOMPARE(w->LabelEditItemFileName->text(), QStringLiteral("/v/b.avi"));
        QCOMPARE(w->MaskEditFileStartTime->displayText(), QStringLiteral("_1:30:00"));
        QCOMPARE(w->MaskEditItemFileDuration->text(), QStringLiteral("00:00:20"));

        // A release with no row selected does nothing.
        w->GroupBoxEditItem->hide();
        w->listViewFiles->clearSelection();
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), w->listViewFiles->viewport()->mapToGlobal(QPointF(5, 5)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w->listViewFiles->viewport(), &release);
        QVERIFY(!w->GroupBoxEditItem->isVisible());
    }

    void panelStores_data()
    {
        QTest::addColumn<QString>("startBefore");
        QTest::addColumn<QString>("durationBefore");
        QTest::addColumn<int>("startPos");
        QTest::addColumn<QString>("startKeys");
        QTest::addColumn<int>("durationPos");
        QTest::addColumn<QString>("durationKeys");
        QTest::addColumn<QString>("startAfter");
        QTest::addColumn<QString>("durationAfter");
        // A key "D" stands for Delete, "B" for backspace.
        QTest::newRow("no changes") << "00:00:00" << "" << -1 << "" << -1 << "" << "00:00:00" << "";
        QTest::newRow("times typed") << "00:00:00" << "" << 0 << "011005" << 0 << "000130" << "01:10:05" << "00:01:30";
        QTest::newRow("blank first hour digit") << "00:00:00" << "00:00:00" << 0 << "D" << 0 << "D"
                                                << "0:00:00" << "0:00:00";
        QTest::newRow("zero duration in full is none") << "00:00:07" << "00:05:00" << -1 << "" << 3 << "00" << "00:00:07" << "";
        QTest::newRow("short hour kept") << "1:30:00" << "2:00:00" << -1 << "" << -1 << "" << "1:30:00" << "2:00:00";
        QTest::newRow("letters and blanks ignored in duration") << "00:00:00" << "" << -1 << "" << 0 << "a 1x-2:"
                                                                << "00:00:00" << "12:00:00";
        QTest::newRow("backspace in duration") << "00:00:00" << "12:34:56" << -1 << "" << 8 << "B7" << "00:00:00"
                                               << "12:34:57";
    }
    void panelStores()
    {
        QFETCH(QString, startBefore);
        QFETCH(QString, durationBefore);
        QFETCH(int, startPos);
        QFETCH(QString, startKeys);
        QFETCH(int, durationPos);
        QFETCH(QString, durationKeys);
        QFETCH(QString, startAfter);
        QFETCH(QString, durationAfter);
        TestUtil::ErrorRecorder errors;
        fill({{"/v/a.avi", startBefore, durationBefore}});
        clickRow(0);
        QVERIFY(w->GroupBoxEditItem->isVisible());
        auto type = [](QLineEdit *field, int pos, const QString &keys) {
            if (pos < 0)
                return;
            field->setFocus(Qt::MouseFocusReason);
            field->setCursorPosition(pos);
            for (const QChar c : keys) {
                if (c == QLatin1Char('D'))
                    QTest::keyClick(field, Qt::Key_Delete);
                else if (c == QLatin1Char('B'))
                    QTest::keyClick(field, Qt::Key_Backspace);
                else
                    QTest::keyClicks(field, QString(c));
            }
        };
        type(w->MaskEditFileStartTime, startPos, startKeys);
        type(w->MaskEditItemFileDuration, durationPos, durationKeys);
        QTest::mouseClick(w->ButtonEditItemOK, Qt::LeftButton);
        QVERIFY(errors.texts.isEmpty());
        QVERIFY(!w->GroupBoxEditItem->isVisible());
        QCOMPARE(rows().first(), (QStringList{"/v/a.avi", startAfter, durationAfter}));
    }

    void cancelOnlyHides()
    {
        fill({{"/v/a.avi", "00:00:05", "00:00:09"}});
        clickRow(0);
        typeAt(w->MaskEditItemFileDuration, 0, "11");
        QTest::mouseClick(w->ButtonEditItemCancel, Qt::LeftButton);
        QVERIFY(!w->GroupBoxEditItem->isVisible());
        QCOMPARE(rows().first(), (QStringList{"/v/a.avi", "00:00:05", "00:00:09"}));
    }

    // OK stores into the row selected at that moment.
    void okStoresIntoRowSelectedNow()
    {
        fill({{"/v/a.avi"}, {"/v/b.avi"}});
        clickRow(0);
        typeAt(w->MaskEditFileStartTime, 0, "02");
        w->listViewFiles->setFocus();
        QTest::keyClick(w->listViewFiles, Qt::Key_Down);
        QCOMPARE(selectedRow(), 1);
        QCOMPARE(w->LabelEditItemFileName->text(), QStringLiteral("/v/a.avi"));
        QTest::mouseClick(w->ButtonEditItemOK, Qt::LeftButton);
        QCOMPARE(rows(), (Rows{{"/v/a.avi", "00:00:00", ""}, {"/v/b.avi", "02:00:00", ""}}));

        // With no row selected, OK stores nothing and still hides.
        clickRow(0);
        typeAt(w->MaskEditFileStartTime, 0, "03");
        w->listViewFiles->clearSelection();
        QTest::mouseClick(w->ButtonEditItemOK, Qt::LeftButton);
        QVERIFY(!w->GroupBoxEditItem->isVisible());
        QCOMPARE(rows(), (Rows{{"/v/a.avi", "00:00:00", ""}, {"/v/b.avi", "02:00:00", ""}}));
    }

    // A changed time field with a required digit blank cannot be left.
    void gapInTimeField_data()
    {
        QTest::addColumn<bool>("durationField");
        QTest::addColumn<int>("gap");
        QTest::newRow("start, hour") << false << 1;
        QTest::newRow("start, seconds") << false << 7;
        QTest::newRow("duration, minutes") << true << 3;
    }
    void gapInTimeField()
    {
        QFETCH(bool, durationField);
        QFETCH(int, gap);
        TestUtil::ErrorRecorder errors;
        fill({{"/v/a.avi", "00:00:05", "00:00:09"}});
        clickRow(0);
        QLineEdit *field = durationField ? w->MaskEditItemFileDuration : w->MaskEditFileStartTime;
        const QString before = field->displayText();
        field->setFocus(Qt::MouseFocusReason);
        field->setCursorPosition(gap);
        QTest::keyClick(field, Qt::Key_Delete);
        QVERIFY(field->isModified());

        // Leaving it for the list: error, focus kept, cursor on the gap.
        w->listViewFiles->setFocus(Qt::MouseFocusReason);
        QCOMPARE(errors.texts, QStringList{"Invalid input value.  Use escape key to abandon changes"});
        QCOMPARE(QApplication::focusWidget(), field);
        QCOMPARE(field->cursorPosition(), gap);

        // OK stores nothing and keeps the panel open.
        QTest::mouseClick(w->ButtonEditItemOK, Qt::LeftButton);
        QCOMPARE(errors.texts.size(), 2);
        QVERIFY(w->GroupBoxEditItem->isVisible());
        QCOMPARE(rows().first(), (QStringList{"/v/a.avi", "00:00:05", "00:00:09"}));

        // Escape abandons the changes; then the field can be left.
        field->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(field, Qt::Key_Escape);
        QCOMPARE(field->displayText(), before);
        w->listViewFiles->setFocus(Qt::MouseFocusReason);
        QCOMPARE(QApplication::focusWidget(), w->listViewFiles);
        QCOMPARE(errors.texts.size(), 2);
    }

    // With the real error box: one box, and the focus is back in the field
    // after it closes (the box taking the focus is no attempt to leave).
    void gapWithRealErrorBox()
    {
        fill({{"/v/a.avi"}});
        clickRow(0);
        QLineEdit *field = w->MaskEditFileStartTime;
        field->setFocus(Qt::MouseFocusReason);
        field->setCursorPosition(4);
        QTest::keyClick(field, Qt::Key_Delete);
        // The real message box for once.
        const auto sink = std::exchange(ZendrelApplication::errorSink(), nullptr);
        QStringList boxes;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                boxes << box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        closer.start(20);
        QTest::keyClick(field, Qt::Key_Tab);
        QTest::qWait(300);
        closer.stop();
        ZendrelApplication::errorSink() = sink;
        QCOMPARE(boxes, QStringList{"Invalid input value.  Use escape key to abandon changes"});
        QCOMPARE(w->focusWidget(), field); // takes the focus when the window is active again
        QCOMPARE(field->cursorPosition(), 4);
        QTest::keyClick(field, Qt::Key_Escape);
    }

    // Window switches do not check the field; an unchanged field is never checked.
    void noCheckWithoutChange()
    {
        TestUtil::ErrorRecorder errors;
        fill({{"/v/a.avi"}});
        clickRow(0);
        w->MaskEditFileStartTime->setText(QStringLiteral("1")); // set by the program, not typed
        w->MaskEditFileStartTime->setFocus(Qt::MouseFocusReason);
        w->listViewFiles->setFocus(Qt::TabFocusReason);
        QVERIFY(errors.texts.isEmpty());
        typeAt(w->MaskEditFileStartTime, 6, "");
        QTest::keyClick(w->MaskEditFileStartTime, Qt::Key_Delete);
        QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(w->MaskEditFileStartTime, &away);
        QVERIFY(errors.texts.isEmpty());
    }

    void timeSeparatorIsColon()
    {
        for (QLineEdit *f : {w->MaskEditFileStartTime, w->MaskEditItemFileDuration}) {
            f->setText(QStringLiteral("123456"));
            QCOMPARE(f->text(), QStringLiteral("12:34:56"));
        }
    }
};

ZENDREL_TEST_MAIN(TestQueue)
#include "tst_queue.moc"
