// The format list and the eight setting boxes of the main window, on real
// widgets in a temporary program folder.
#include "TestUtil.h"

#include "app/Errors.h"
#include "mainwindow/TfrmMain.h"
#include "profiles/ProfileCipher.h"
#include "profiles/TVideoProfile.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <dirent.h>
#include <sys/stat.h>

namespace {

const char *const BoxNames[8] = {"ComboBoxVideoCodec", "comboBoxVideoBitrate", "comboBoxFrameRate",
                                 "comboBoxVideoSize", "ComboBoxAudioCodec", "comboBoxAudioBitrate",
                                 "comboBoxSampleRate", "comboBoxChannel"};

// A profile line: name, extension, format and the eight triples in box order.
QByteArray profileLine(const QByteArray &name, const QByteArray &ext, const QByteArray &format,
                       const QList<QByteArray> &triples = {}, const QByteArray &hasVideo = "1")
{
    QList<QByteArray> t = triples;
    const QList<QByteArray> fallback = {"mpeg4|mpeg4;msmpeg4|0", "-1|-1;400;800|1", "25|15;25;30|1", "-1|-1;320x240|1",
                                        "libmp3lame|libmp3lame;ac3|1", "128|96;128|1", "44100|-1;44100|1", "2|1;2|1"};
    for (int i = t.size(); i < 8; ++i)
        t.append(fallback[i]);
    QList<QByteArray> f = {name, "remark", ext, format};
    f += t.mid(0, 4);
    f.append(hasVideo);
    f += t.mid(4, 4);
    f.append("0");
    return f.join("[KESTRUN]");
}

// The order in which the folder lists its entries (POSIX readdir), .pf
// files only: the order the format list must follow.
QStringList listingOrder(const QString &folder)
{
    QStringList paths;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return paths;
    while (dirent *e = ::readdir(dir)) {
        const QString name = QFile::decodeName(e->d_name);
        const QString path = folder + name;
        if (name.endsWith(QLatin1String(".pf"), Qt::CaseInsensitive) && !QFileInfo(path).isDir())
            paths.append(path);
    }
    ::closedir(dir);
    return paths;
}

QString loadError(const QString &path)
{
    TVideoProfile p;
    try {
        p.LoadFromFile(path);
    } catch (const ZError &e) {
        return e.message();
    }
    return QString();
}

QComboBox *box(const char *name) { return frmMain->findChild<QComboBox *>(QLatin1String(name)); }

// Everything a setting box shows.
QStringList boxState(QComboBox *b)
{
    QStringList s;
    for (int i = 0; i < b->count(); ++i)
        s << b->itemText(i);
    s << QStringLiteral("index=%1").arg(b->currentIndex()) << QStringLiteral("text=") + b->currentText()
      << QStringLiteral("enabled=%1").arg(b->isEnabled());
    return s;
}

QList<QStringList> allBoxes()
{
    QList<QStringList> all;
    for (const char *name : BoxNames)
        all << boxState(box(name));
    return all;
}

QStringList entries()
{
    QStringList texts;
    for (int i = 0; i < frmMain->ComboBoxFormatSelect->count(); ++i)
        texts << frmMain->ComboBoxFormatSelect->itemText(i);
    return texts;
}

QStringList entryPaths()
{
    QStringList paths;
    for (int i = 0; i < frmMain->ComboBoxFormatSelect->count(); ++i)
        paths << frmMain->ComboBoxFormatSelect->itemData(i).toString();
    return paths;
}

// The user picks entry `index`; the change event runs from the event loop,
// so a failure reaches the general error handler as it would for a user.
void choose(int index)
{
    QComboBox *format = frmMain->ComboBoxFormatSelect;
    format->setCurrentIndex(index);
    QMetaObject::invokeMethod(format, [format, index] { emit format->activated(index); }, Qt::QueuedConnection);
    QCoreApplication::processEvents();
}

} // namespace

class tst_FormatList : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_tmp = nullptr;
    QString m_dir;     // program folder
    QString m_profile; // its profile folder

    // A fresh program folder whose profile folder holds the given files.
    void makeFolder(const QMap<QString, QByteArray> &files)
    {
        delete m_tmp;
        m_tmp = new QTemporaryDir;
        m_dir = TestUtil::makeProgramDir(*m_tmp, false);
        m_profile = m_dir + QStringLiteral("profile/");
        QDir(m_profile).removeRecursively();
        QDir().mkpath(m_profile);
        for (auto it = files.begin(); it != files.end(); ++it)
            TestUtil::writeFile(m_profile + it.key(), it.value());
    }

private slots:
    void cleanup()
    {
        if (frmMain)
            TestUtil::stopProgram();
        delete m_tmp;
        m_tmp = nullptr;
    }

    void fillSettingBox_data()
    {
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<QString>("defaultValue");
        QTest::addColumn<QString>("values");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QStringList>("state");
        QTest::newRow("-1 is auto and selected")
            << "comboBoxVideoBitrate" << "-1" << "-1;400;800" << true
            << QStringList{"auto", "400", "800", "index=0", "text=auto", "enabled=1"};
        QTest::newRow("fixed codec, disabled")
            << "ComboBoxVideoCodec" << "mpeg4" << "mpeg4;msmpeg4" << false
            << QStringList{"mpeg4", "msmpeg4", "index=0", "text=mpeg4", "enabled=0"};
        QTest::newRow("default outside the list, editable")
            << "comboBoxVideoBitrate" << "500" << "400;800" << true
            << QStringList{"400", "800", "index=-1", "text=500", "enabled=1"};
        QTest::newRow("default outside the list, pick-only")
            << "comboBoxChannel" << "500" << "400;800" << true
            << QStringList{"400", "800", "index=-1", "text=", "enabled=1"};
        QTest::newRow("empty items dropped") << "comboBoxSampleRate" << "b" << ";a;;b;" << true
                                             << QStringList{"a", "b", "index=1", "text=b", "enabled=1"};
        QTest::newRow("last match wins") << "ComboBoxAudioCodec" << "x" << "x;y;x" << true
                                         << QStringList{"x", "y", "x", "index=2", "text=x", "enabled=1"};
        QTest::newRow("match is case-sensitive, pick-only")
            << "ComboBoxVideoCodec" << "MPEG4" << "mpeg4;h263" << true
            << QStringList{"mpeg4", "h263", "index=-1", "text=", "enabled=1"};
        QTest::newRow("match is case-sensitive, editable")
            << "comboBoxVideoSize" << "AUTO" << "-1;320x240" << true
            << QStringList{"auto", "320x240", "index=-1", "text=AUTO", "enabled=1"};
        QTest::newRow("match before the auto replacement")
            << "comboBoxFrameRate" << "auto" << "-1;25" << true
            << QStringList{"auto", "25", "index=-1", "text=auto", "enabled=1"};
        // A pick-only box shows a default that matches an entry's text.
        QTest::newRow("pick-only shows a matching auto entry")
            << "ComboBoxAudioCodec" << "auto" << "-1;mp2" << true
            << QStringList{"auto", "mp2", "index=0", "text=auto", "enabled=1"};
        QTest::newRow("-1 outside the list stays -1") << "comboBoxAudioBitrate" << "-1" << "64;128" << false
                                                      << QStringList{"64", "128", "index=-1", "text=-1", "enabled=0"};
        QTest::newRow("empty list, editable")
            << "comboBoxVideoBitrate" << "800" << "" << true << QStringList{"index=-1", "text=800", "enabled=1"};
        QTest::newRow("empty list, pick-only")
            << "comboBoxChannel" << "2" << ";;" << false << QStringList{"index=-1", "text=", "enabled=0"};
        QTest::newRow("blanks belong to the items")
            << "comboBoxSampleRate" << "44100" << " 44100;44100 " << true
            << QStringList{" 44100", "44100 ", "index=-1", "text=44100", "enabled=1"};
    }
    void fillSettingBox()
    {
        QFETCH(QString, boxName);
        QFETCH(QString, defaultValue);
        QFETCH(QString, values);
        QFETCH(bool, enabled);
        QFETCH(QStringList, state);
        makeFolder({{"a.pf", profileLine("A", "avi", "avi")}});
        TestUtil::startProgram(m_dir);
        QComboBox *b = box(qPrintable(boxName));
        QVERIFY(b);
        // Whatever the box held before goes.
        b->clear();
        b->addItems({QStringLiteral("old1"), QStringLiteral("old2")});
        b->setCurrentIndex(1);
        b->setEnabled(!enabled);
        frmMain->FillSettingBox(defaultValue, values, b, enabled);
        QCOMPARE(boxState(b), state);
    }

    // What the boxes leave in the job: a disabled box still counts, and an
    // empty pick-only box gives no option.
    void boxesReachTheJob()
    {
        makeFolder({{"a.pf", profileLine("A", "avi", "avi",
                                         {"mpeg4|mpeg4;msmpeg4|0", "-1|-1;400;800|1", "-1|-1|1", "-1|-1|1",
                                          "-1|-1;mp2|1", "-1|-1|1", "-1|-1|1", "500|400;800|1"})}});
        TestUtil::startProgram(m_dir);
        const QString job = frmMain->BuildJobCommand(QStringLiteral("/in.avi"), QStringLiteral("/out.avi"),
                                                     QStringLiteral("00:00:00"), QString());
        QVERIFY2(job.contains(QLatin1String(" -vcodec mpeg4 ")), qPrintable(job));
        QVERIFY2(!job.contains(QLatin1String(" -ac ")), qPrintable(job));
        QVERIFY2(!job.contains(QLatin1String(" -b ")), qPrintable(job));
        QVERIFY2(job.contains(QLatin1String(" -f avi ")), qPrintable(job));
    }

    void formatList()
    {
        const QByteArray first = profileLine("Vid\xc3\xa9o", "avi", "avi");
        makeFolder({{"plain.pf", first},
                    {"ciphered.pf", ProfileCipher::Encipher(profileLine("MP4 H.264 ", "mp4", "mp4")) + "\r\n"},
                    {".hidden.pf", profileLine("Hidden", "mkv", "matroska")},
                    {"UPPER.PF", profileLine("Upper", "mov", "mov")},
                    {"notes.txt", "not a profile"},
                    {"other.pfx", "not a profile"},
                    {"pf", "not a profile"}});
        QVERIFY(QDir(m_profile).mkdir(QStringLiteral("folder.pf")));
        const QStringList order = listingOrder(m_profile);
        QCOMPARE(order.size(), 4);

        TestUtil::ErrorRecorder errors;
        TestUtil::startProgram(m_dir);
        QCOMPARE(errors.texts.join(QLatin1String(" | ")), QString());

        QCOMPARE(entryPaths(), order);
        QStringList expected;
        for (const QString &path : order) {
            TVideoProfile p;
            p.LoadFromFile(path);
            expected << p.ProfileName + QStringLiteral("(*.") + p.Extension + QLatin1Char(')');
        }
        QCOMPARE(entries(), expected);
        QVERIFY(entries().contains(QStringLiteral("Vid\u00e9o(*.avi)")));
        QVERIFY(entries().contains(QStringLiteral("MP4 H.264 (*.mp4)")));

        // The first entry is applied.
        QCOMPARE(frmMain->ComboBoxFormatSelect->currentIndex(), 0);
        TVideoProfile firstProfile;
        firstProfile.LoadFromFile(order.first());
        QCOMPARE(frmMain->CurrentFormat, firstProfile.FormatName);
        QCOMPARE(frmMain->CurrentExtension, firstProfile.Extension);
        QCOMPARE(boxState(frmMain->ComboBoxVideoCodec),
                 (QStringList{"mpeg4", "msmpeg4", "index=0", "text=mpeg4", "enabled=0"}));
        QCOMPARE(boxState(frmMain->comboBoxFrameRate),
                 (QStringList{"15", "25", "30", "index=1", "text=25", "enabled=1"}));
        QCOMPARE(boxState(frmMain->comboBoxSampleRate),
                 (QStringList{"auto", "44100", "index=1", "text=44100", "enabled=1"}));
        QCOMPARE(frmMain->ComboBoxAspect->count(), 3);
    }

    // Every selection reloads its file and applies all eight triples.
    void selectingEntries()
    {
        makeFolder({{"a.pf", profileLine("A", "avi", "avi")},
                    {"b.pf", profileLine("B", "webm", "webm",
                                         {"libvpx|libvpx|1", "1000|-1;1000|0", "-1|-1;30|0", "640x480|-1;640x480|1",
                                          "libvorbis|libvorbis|0", "-1|-1;128|1", "48000|48000|0", "1|1;2|0"})}});
        TestUtil::ErrorRecorder errors;
        TestUtil::startProgram(m_dir);
        const int b = entries().indexOf(QStringLiteral("B(*.webm)"));
        const int a = 1 - b;
        choose(b);
        QCOMPARE(errors.texts.join(QLatin1String(" | ")), QString());
        QCOMPARE(frmMain->CurrentFormat, QStringLiteral("webm"));
        QCOMPARE(frmMain->CurrentExtension, QStringLiteral("webm"));
        const QList<QStringList> expected = {
            {"libvpx", "index=0", "text=libvpx", "enabled=1"},
            {"auto", "1000", "index=1", "text=1000", "enabled=0"},
            {"auto", "30", "index=0", "text=auto", "enabled=0"},
            {"auto", "640x480", "index=1", "text=640x480", "enabled=1"},
            {"libvorbis", "index=0", "text=libvorbis", "enabled=0"},
            {"auto", "128", "index=0", "text=auto", "enabled=1"},
            {"48000", "index=0", "text=48000", "enabled=0"},
            {"1", "2", "index=0", "text=1", "enabled=0"}};
        QCOMPARE(allBoxes(), expected);

        // Changed on disk: the next selection shows the change.
        TestUtil::writeFile(m_profile + QStringLiteral("a.pf"), profileLine("A", "avi", "avi2"));
        choose(a);
        QCOMPARE(frmMain->CurrentFormat, QStringLiteral("avi2"));
        QCOMPARE(frmMain->VideoProfile->ProfileName, QStringLiteral("A"));
        QCOMPARE(boxState(frmMain->comboBoxChannel), (QStringList{"1", "2", "index=1", "text=2", "enabled=1"}));
        QCOMPARE(errors.texts.join(QLatin1String(" | ")), QString());
    }

    void sameNameTwice()
    {
        makeFolder({{"one.pf", profileLine("Same", "avi", "first")}, {"two.pf", profileLine("Same", "avi", "second")}});
        TestUtil::startProgram(m_dir);
        QCOMPARE(entries(), (QStringList{"Same(*.avi)", "Same(*.avi)"}));
        const QStringList paths = entryPaths();
        QCOMPARE(QSet<QString>(paths.begin(), paths.end()).size(), 2);
        for (int i : {1, 0}) {
            choose(i);
            QCOMPARE(frmMain->CurrentFormat,
                     paths[i].endsWith(QLatin1String("one.pf")) ? QStringLiteral("first") : QStringLiteral("second"));
        }
    }

    // A failed selection leaves the boxes and the current format alone.
    void failedSelection_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: file deleted
        QTest::addColumn<QString>("error");
        QTest::newRow("deleted after start-up") << QByteArray() << "File not found";
        QTest::newRow("13 fields") << profileLine("Broken", "mp4", "mp4").replace("[KESTRUN]0", "")
                                   << "List index out of bounds (13)";
        QTest::newRow("bad cipher") << QByteArray("not~base64") << "Invalid Base64 Character";
    }
    void failedSelection()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        makeFolder({{"a.pf", profileLine("A", "avi", "avi")},
                    {"b.pf", profileLine("B", "mkv", "matroska", {"libx264|libx264|1"}, "0")}});
        TestUtil::ErrorRecorder errors;
        TestUtil::startProgram(m_dir);
        const int a = entries().indexOf(QStringLiteral("A(*.avi)"));
        const int b = entries().indexOf(QStringLiteral("B(*.mkv)"));
        choose(a);
        const QList<QStringList> before = allBoxes();
        if (content.isEmpty())
            QVERIFY(QFile::remove(m_profile + QStringLiteral("b.pf")));
        else
            TestUtil::writeFile(m_profile + QStringLiteral("b.pf"), content);

        // The user moves to the next entry with the keyboard.
        QTest::keyClick(frmMain->ComboBoxFormatSelect, b > a ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(frmMain->ComboBoxFormatSelect->currentIndex(), b);
        QCOMPARE(errors.texts.join(QLatin1String(" | ")), QString(error));
        QCOMPARE(allBoxes(), before);
        QCOMPARE(frmMain->CurrentFormat, QStringLiteral("avi"));
        QCOMPARE(frmMain->CurrentExtension, QStringLiteral("avi"));
        if (error.startsWith(QLatin1String("List index")))
            QCOMPARE(frmMain->VideoProfile->ProfileName, QStringLiteral("Broken")); // a mix of old and new fields
    }

    // A profile that fails while the list is built: the entries before it
    // stay, nothing is selected or applied, and the error shows once.
    void failureDuringBuild_data()
    {
        QTest::addColumn<int>("brokenAt");
        QTest::newRow("first") << 0;
        QTest::newRow("third") << 2;
        QTest::newRow("last") << 4;
    }
    void failureDuringBuild()
    {
        QFETCH(int, brokenAt);
        QMap<QString, QByteArray> files;
        for (int i = 0; i < 5; ++i)
            files.insert(QStringLiteral("p%1.pf").arg(i), profileLine("P" + QByteArray::number(i), "avi", "avi"));
        makeFolder(files);
        const QStringList order = listingOrder(m_profile);
        // Rewriting a file in place keeps the listing order.
        TestUtil::writeFile(order[brokenAt], "a[KESTRUN]b[KESTRUN]c");

        TestUtil::ErrorRecorder errors;
        TestUtil::startProgram(m_dir);
        QCOMPARE(errors.texts.join(QLatin1String(" | ")), QString(QStringLiteral("List index out of bounds (3)")));
        QCOMPARE(entryPaths(), order.mid(0, brokenAt));
        QCOMPARE(frmMain->ComboBoxFormatSelect->currentIndex(), -1);
        for (const char *name : BoxNames)
            QCOMPARE(box(name)->count(), 0);
        QCOMPARE(frmMain->CurrentFormat, QString());
        QCOMPARE(frmMain->CurrentExtension, QString());
    }

    // Many broken profiles: each start shows the first one's error once and
    // goes on; removing it brings up the next one.
    void manyBrokenProfiles()
    {
        const QMap<QString, QByteArray> broken = {
            {"empty.pf", ""},
            {"blankline.pf", "\n" + profileLine("Second line", "avi", "avi")},
            {"thirteen.pf", profileLine("T", "avi", "avi").replace("[KESTRUN]0", "")},
            {"triple.pf", profileLine("T", "avi", "avi", {"mpeg4"})},
            {"shorttriple.pf", profileLine("T", "avi", "avi", {"a|b|c", "-1|-1"})},
            {"lowercase.pf", profileLine("T", "avi", "avi").replace("[KESTRUN]", "[kestrun]")},
            {"short.pf", "QUJD"},
            {"binary.pf", QByteArray("\x00\xff\xfe\x80garbage", 11)},
            {"count.pf", ProfileCipher::DesEcb(ProfileCipher::ProfileKey(), "ABCDEFG\x09", true).toBase64()},
            {"noseparator.pf", ProfileCipher::Encipher("plain text")},
        };
        makeFolder(broken);
        QVERIFY(QDir(m_profile).mkdir(QStringLiteral("folder.pf")));
        QCOMPARE(::mkfifo(QFile::encodeName(m_profile + QStringLiteral("pipe.pf")).constData(), 0600), 0);

        QStringList left = listingOrder(m_profile);
        QCOMPARE(left.size(), broken.size() + 1);
        QSet<QString> seen;
        while (!left.isEmpty()) {
            const QString expected = loadError(left.first());
            QVERIFY2(!expected.isEmpty(), qPrintable(left.first()));
            seen.insert(expected);
            TestUtil::ErrorRecorder errors;
            TestUtil::startProgram(m_dir);
            QCOMPARE(errors.texts.join(QLatin1String(" | ")), QString(expected));
            QCOMPARE(frmMain->ComboBoxFormatSelect->count(), 0);
            frmMain->show();
            QCoreApplication::processEvents();
            TestUtil::stopProgram();
            QVERIFY(QFile::remove(left.takeFirst()));
            QCOMPARE(listingOrder(m_profile), left);
        }
        QCOMPARE(seen, (QSet<QString>{"Invalid file format", "List index out of bounds (13)",
                                      "List index out of bounds (1)", "List index out of bounds (2)",
                                      "Invalid Base64 Character", "I/O error 5"}));
    }

    void emptyFolder_data()
    {
        QTest::addColumn<bool>("removeFolder");
        QTest::newRow("empty folder") << false;
        QTest::newRow("no folder") << true;
    }
    void emptyFolder()
    {
        QFETCH(bool, removeFolder);
        makeFolder({{"readme.txt", "no profiles here"}});
        if (removeFolder)
            QVERIFY(QDir(m_profile).removeRecursively());
        TestUtil::ErrorRecorder errors;
        TestUtil::startProgram(m_dir);
        QCOMPARE(errors.texts.join(QLatin1String(" | ")), QString(QStringLiteral("List index out of bounds (-1)")));
        QCOMPARE(frmMain->ComboBoxFormatSelect->count(), 0);
        QCOMPARE(frmMain->CurrentFormat, QString());
        QCOMPARE(frmMain->CurrentExtension, QString());
        for (const char *name : BoxNames)
            QCOMPARE(box(name)->count(), 0);
        QCOMPARE(frmMain->ComboBoxAspect->currentText(), QStringLiteral("auto"));
    }

    // The shipped set: every profile lists and applies, every pick-only box
    // shows a value, and the expected formats are all there.
    void shippedProfiles()
    {
        delete m_tmp;
        m_tmp = new QTemporaryDir;
        m_dir = TestUtil::makeProgramDir(*m_tmp, false);
        TestUtil::ErrorRecorder errors;
        TestUtil::startProgram(m_dir);
        QCOMPARE(errors.texts.join(QLatin1String(" | ")), QString());
        const int count = frmMain->ComboBoxFormatSelect->count();
        QVERIFY2(count >= 20, qPrintable(QString::number(count)));

        QSet<QString> extensions, audioOnly;
        for (int i = 0; i < count; ++i) {
            choose(i);
            QCOMPARE(errors.texts.join(QLatin1String(" | ")), QString());
            const TVideoProfile *p = frmMain->VideoProfile;
            const QString name = frmMain->ComboBoxFormatSelect->itemText(i);
            QCOMPARE(name, p->ProfileName + QStringLiteral("(*.") + p->Extension + QLatin1Char(')'));
            QCOMPARE(frmMain->CurrentExtension, p->Extension);
            QVERIFY2(!frmMain->CurrentFormat.isEmpty(), qPrintable(name));
            extensions.insert(p->Extension);
            if (!p->HasVideo)
                audioOnly.insert(p->Extension);
            // Each default is one of its box's values, so the box shows it
            // selected rather than as loose text.
            for (const char *boxName : BoxNames)
                QVERIFY2(box(boxName)->currentIndex() >= 0, qPrintable(name + QLatin1Char(' ') + QLatin1String(boxName)));
        }
        for (const char *ext : {"avi", "mp4", "mov", "mkv", "webm", "flv", "3gp", "3g2", "wmv", "asf", "mpg", "ogv"})
            QVERIFY2(extensions.contains(QLatin1String(ext)), ext);
        for (const char *ext : {"mp3", "m4a", "wav", "flac", "ogg", "ac3", "mp2"})
            QVERIFY2(audioOnly.contains(QLatin1String(ext)), ext);
    }
};

ZENDREL_TEST_MAIN(tst_FormatList)
#include "tst_formatlist.moc"
