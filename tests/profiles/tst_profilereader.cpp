// The profile reader: fields, flags, triples, the first-line rule and every
// failure text, including what a failed load leaves behind.
#include "TestUtil.h"

#include "app/Errors.h"
#include "profiles/ProfileCipher.h"
#include "profiles/TVideoProfile.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

const QByteArray Sep = QByteArrayLiteral("[KESTRUN]");

// Fourteen distinct fields; every text tells where it came from.
QList<QByteArray> sampleFields()
{
    return {"Name", "Remark", "ext", "fmt",
            "vc|vc;vc2|1", "vb|-1;vb|0", "fr|fr;25|1", "vs|vs|0",
            "1",
            "ac|ac|0", "ab|ab;64|1", "sr|sr|1", "ch|1;ch|0",
            "0"};
}

QByteArray join(const QList<QByteArray> &fields) { return fields.join(Sep); }

QString loadError(TVideoProfile &p, const QByteArray &line)
{
    try {
        p.LoadFromLine(line);
    } catch (const ZError &e) {
        return e.message();
    }
    return QString();
}

QString fileError(TVideoProfile &p, const QString &path)
{
    try {
        p.LoadFromFile(path);
    } catch (const ZError &e) {
        return e.message();
    }
    return QString();
}

// Every field of a profile, in table order, for whole-record comparisons.
QStringList snapshot(const TVideoProfile &p)
{
    auto b = [](bool v) { return v ? QStringLiteral("T") : QStringLiteral("F"); };
    return {p.ProfileName, p.Remark, p.Extension, p.FormatName,
            p.VideoCodecDefault, p.VideoCodecValues, b(p.VideoCodecEnabled),
            p.VideoBitrateDefault, p.VideoBitrateValues, b(p.VideoBitrateEnabled),
            p.FrameRateDefault, p.FrameRateValues, b(p.FrameRateEnabled),
            p.VideoSizeDefault, p.VideoSizeValues, b(p.VideoSizeEnabled),
            b(p.HasVideo),
            p.AudioCodecDefault, p.AudioCodecValues, b(p.AudioCodecEnabled),
            p.AudioBitrateDefault, p.AudioBitrateValues, b(p.AudioBitrateEnabled),
            p.SampleRateDefault, p.SampleRateValues, b(p.SampleRateEnabled),
            p.ChannelsDefault, p.ChannelsValues, b(p.ChannelsEnabled),
            b(p.ReservedFlag)};
}

const QStringList SampleSnapshot = {
    "Name", "Remark", "ext", "fmt", "vc", "vc;vc2", "T", "vb", "-1;vb", "F", "fr", "fr;25", "T",
    "vs", "vs", "F", "T", "ac", "ac", "F", "ab", "ab;64", "T", "sr", "sr", "T", "ch", "1;ch", "F", "F"};

} // namespace

class tst_ProfileReader : public QObject
{
    Q_OBJECT

private slots:
    void newInstanceIsEmpty()
    {
        TVideoProfile p;
        QStringList expected(30, QString());
        for (int i : {6, 9, 12, 15, 16, 19, 22, 25, 28, 29})
            expected[i] = QStringLiteral("F");
        QCOMPARE(snapshot(p), expected);
    }

    void splitBy_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("empty text gives one empty item") << "" << "|" << QStringList{""};
        QTest::newRow("trailing separator") << "a|" << "|" << QStringList{"a", ""};
        QTest::newRow("only separators") << "||" << "|" << QStringList{"", "", ""};
        QTest::newRow("no separator") << "mpeg4" << "|" << QStringList{"mpeg4"};
        QTest::newRow("long separator") << "a[KESTRUN][KESTRUN]b" << "[KESTRUN]" << QStringList{"a", "", "b"};
        QTest::newRow("other letter case does not split") << "a[kestrun]b" << "[KESTRUN]" << QStringList{"a[kestrun]b"};
        QTest::newRow("partial separator at the end") << "a[KESTRUN" << "[KESTRUN]" << QStringList{"a[KESTRUN"};
    }
    void splitBy()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(QStringList, items);
        QCOMPARE(TVideoProfile::SplitBy(text, separator), items);
    }

    void fieldsInTableOrder()
    {
        TVideoProfile p;
        p.LoadFromLine(join(sampleFields()));
        QCOMPARE(snapshot(p), SampleSnapshot);
    }

    void textFieldsKeepBlanksAndBytes()
    {
        QList<QByteArray> f = sampleFields();
        f[0] = "  Vid\xc3\xa9o  ";
        f[1] = "";
        f[2] = " avi";
        TVideoProfile p;
        p.LoadFromLine(join(f));
        QCOMPARE(p.ProfileName, QStringLiteral("  Vid\u00e9o  "));
        QCOMPARE(p.Remark, QString());
        QCOMPARE(p.Extension, QStringLiteral(" avi"));
    }

    void flags_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("value");
        QTest::newRow("0") << QByteArray("0") << false;
        QTest::newRow("empty") << QByteArray("") << true;
        QTest::newRow("1") << QByteArray("1") << true;
        QTest::newRow("yes") << QByteArray("yes") << true;
        QTest::newRow("00") << QByteArray("00") << true;
        QTest::newRow("blank 0") << QByteArray(" 0") << true;
        QTest::newRow("0 blank") << QByteArray("0 ") << true;
        QTest::newRow("false") << QByteArray("false") << true;
    }
    // The same rule for HasVideo, ReservedFlag and every enabled item.
    void flags()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, value);
        QList<QByteArray> f = sampleFields();
        f[8] = text;
        f[13] = text;
        f[4] = "a|b|" + text;
        f[12] = "a|b|" + text;
        TVideoProfile p;
        p.HasVideo = p.ReservedFlag = p.VideoCodecEnabled = p.ChannelsEnabled = !value;
        p.LoadFromLine(join(f));
        QCOMPARE(p.HasVideo, value);
        QCOMPARE(p.ReservedFlag, value);
        QCOMPARE(p.VideoCodecEnabled, value);
        QCOMPARE(p.ChannelsEnabled, value);
    }

    void triples_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("defaultValue");
        QTest::addColumn<QString>("values");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("error");
        QTest::newRow("plain") << QByteArray("800|-1;400;800|1") << "800" << "-1;400;800" << true << "";
        QTest::newRow("all empty") << QByteArray("||") << "" << "" << true << "";
        QTest::newRow("more items ignored") << QByteArray("a|b|0|x|y") << "a" << "b" << false << "";
        QTest::newRow("list kept as one text") << QByteArray("-1|;;-1;;|0") << "-1" << ";;-1;;" << false << "";
        QTest::newRow("blanks kept") << QByteArray(" 8 | a ; b |1") << " 8 " << " a ; b " << true << "";
        QTest::newRow("one item") << QByteArray("mpeg4") << "mpeg4" << "old values" << true
                                  << "List index out of bounds (1)";
        QTest::newRow("two items") << QByteArray("mpeg4|mpeg4;msmpeg4") << "mpeg4" << "mpeg4;msmpeg4" << true
                                   << "List index out of bounds (2)";
        QTest::newRow("empty field") << QByteArray("") << "" << "old values" << true
                                     << "List index out of bounds (1)";
    }
    // A triple sets its items in order; a missing item fails after the ones
    // before it were set.
    void triples()
    {
        QFETCH(QByteArray, field);
        QFETCH(QString, defaultValue);
        QFETCH(QString, values);
        QFETCH(bool, enabled);
        QFETCH(QString, error);
        QList<QByteArray> f = sampleFields();
        f[7] = field; // video size
        TVideoProfile p;
        p.VideoSizeValues = QStringLiteral("old values");
        p.VideoSizeEnabled = true;
        QCOMPARE(loadError(p, join(f)), error);
        QCOMPARE(p.VideoSizeDefault, defaultValue);
        QCOMPARE(p.VideoSizeValues, values);
        QCOMPARE(p.VideoSizeEnabled, enabled);
    }

    void fieldCount_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("error");
        QTest::newRow("14 fields") << 14 << "";
        QTest::newRow("15 fields") << 15 << "";
        QTest::newRow("20 fields") << 20 << "";
        QTest::newRow("13 fields") << 13 << "List index out of bounds (13)";
        QTest::newRow("8 fields") << 8 << "List index out of bounds (8)";
        QTest::newRow("4 fields") << 4 << "List index out of bounds (4)";
        QTest::newRow("2 fields") << 2 << "List index out of bounds (2)";
    }
    // Fields before the missing one take their new values; the rest keep
    // those of the profile loaded before.
    void fieldCount()
    {
        QFETCH(int, count);
        QFETCH(QString, error);
        QList<QByteArray> f = sampleFields();
        while (f.size() < count)
            f.append("extra|x|0");
        f = f.mid(0, count);

        TVideoProfile p;
        QList<QByteArray> old = {"OldName", "OldRemark", "oext", "ofmt", "o|o|0", "o|o|0", "o|o|0", "o|o|0", "0",
                                 "o|o|0", "o|o|0", "o|o|0", "o|o|0", "1"};
        p.LoadFromLine(join(old));
        const QStringList before = snapshot(p);
        QCOMPARE(loadError(p, join(f)), error);

        // Field i fills these snapshot positions.
        const QList<QList<int>> positions = {{0}, {1}, {2}, {3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, {13, 14, 15}, {16},
                                         {17, 18, 19}, {20, 21, 22}, {23, 24, 25}, {26, 27, 28}, {29}};
        const QStringList after = snapshot(p);
        for (int field = 0; field < 14; ++field)
            for (int at : positions[field])
                QCOMPARE(after[at], field < count ? SampleSnapshot[at] : before[at]);
    }

    void separatorInOtherCaseMeansEnciphered()
    {
        TVideoProfile p;
        QByteArray line = join(sampleFields());
        QCOMPARE(loadError(p, line.replace("[KESTRUN]", "[kestrun]")), QStringLiteral("Invalid Base64 Character"));
        QCOMPARE(p.ProfileName, QString());
    }

    void encipheredLines_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty line") << QByteArray() << "Invalid file format";
        QTest::newRow("decodes to 3 bytes") << QByteArray("QUJD") << "Invalid file format";
        QTest::newRow("decodes to 7 bytes") << QByteArray("QUJDREVGRw==") << "Invalid file format";
        QTest::newRow("blank") << QByteArray("QUJD REVG") << "Invalid Base64 Character";
        QTest::newRow("brace") << QByteArray("QUJD{EVG") << "Invalid Base64 Character";
        QTest::newRow("tilde") << QByteArray("~") << "Invalid Base64 Character";
        QTest::newRow("8-bit byte") << QByteArray("QUJD\xe9") << "Invalid Base64 Character";
        QTest::newRow("NUL byte") << QByteArray("QUJD\0QUJD", 9) << "Invalid Base64 Character";
        QTest::newRow("colon inside the range") << QByteArray("QU:D") << "Invalid Base64 Character";
        QTest::newRow("underscore inside the range") << QByteArray("QU_D") << "Invalid Base64 Character";
        QTest::newRow("8 bytes that decipher to no separator")
            << ProfileCipher::Encipher("ABCDEFGH") << "List index out of bounds (1)";
    }
    void encipheredLines()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, error);
        TVideoProfile p;
        QCOMPARE(loadError(p, line), error);
    }

    void encipheredLineLoadsLikePlain()
    {
        TVideoProfile p;
        p.LoadFromLine(ProfileCipher::Encipher(join(sampleFields())));
        QCOMPARE(snapshot(p), SampleSnapshot);
    }

    void firstLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("LF ends") << QByteArray("ab\ncd") << QByteArray("ab");
        QTest::newRow("CRLF") << QByteArray("ab\r\ncd") << QByteArray("ab");
        QTest::newRow("CR inside dropped") << QByteArray("a\rb\r\r") << QByteArray("ab");
        QTest::newRow("Ctrl-Z ends") << QByteArray("ab\x1a" "cd\n") << QByteArray("ab");
        QTest::newRow("no end") << QByteArray("abc") << QByteArray("abc");
        QTest::newRow("empty first line") << QByteArray("\nabc") << QByteArray();
        QTest::newRow("NUL kept") << QByteArray("a\0b\n", 4) << QByteArray("a\0b", 3);
    }
    void firstLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, line);
        QCOMPARE(TVideoProfile::FirstLine(bytes), line);
    }

    void files_data()
    {
        const QByteArray good = join(sampleFields());
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("error");
        QTest::newRow("plain, LF") << good + "\nrubbish" << "";
        QTest::newRow("plain, CRLF") << good + "\r\n" << "";
        QTest::newRow("plain, Ctrl-Z") << good + "\x1a[KESTRUN]x" << "";
        QTest::newRow("enciphered, CRLF") << ProfileCipher::Encipher(good) + "\r\n" << "";
        QTest::newRow("enciphered with CRs inside") << ProfileCipher::Encipher(good).insert(8, "\r\r") << "";
        QTest::newRow("empty file") << QByteArray() << "Invalid file format";
        QTest::newRow("empty first line, good second") << "\n" + good << "Invalid file format";
        QTest::newRow("only a CR line") << QByteArray("\r\n") + good << "Invalid file format";
        QTest::newRow("13 fields") << join(sampleFields().mid(0, 13)) << "List index out of bounds (13)";
    }
    void files()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.pf"));
        TestUtil::writeFile(path, content);
        TVideoProfile p;
        QCOMPARE(fileError(p, path), error);
        if (error.isEmpty())
            QCOMPARE(snapshot(p), SampleSnapshot);
    }

    // The line has no length limit: a name of 300 kB comes through whole.
    void longLine()
    {
        QList<QByteArray> f = sampleFields();
        f[0] = QByteArray(300000, 'n');
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("long.pf"));
        TestUtil::writeFile(path, ProfileCipher::Encipher(join(f)) + "\n");
        TVideoProfile p;
        p.LoadFromFile(path);
        QCOMPARE(p.ProfileName.size(), 300000);
        QCOMPARE(p.ChannelsValues, QStringLiteral("1;ch"));
    }

    void fileErrors()
    {
        QTemporaryDir dir;
        TVideoProfile p;
        QCOMPARE(fileError(p, dir.filePath(QStringLiteral("missing.pf"))), QStringLiteral("File not found"));
        QCOMPARE(fileError(p, dir.filePath(QStringLiteral("nofolder/x.pf"))), QStringLiteral("File not found"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.pf")));
        QCOMPARE(fileError(p, dir.filePath(QStringLiteral("folder.pf"))), QStringLiteral("I/O error 5"));
        // A pipe must fail at once rather than wait for a writer.
        const QString fifo = dir.filePath(QStringLiteral("pipe.pf"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QCOMPARE(fileError(p, fifo), QStringLiteral("I/O error 5"));
        // A dangling link is a missing file.
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone.pf")), dir.filePath(QStringLiteral("link.pf"))));
        QCOMPARE(fileError(p, dir.filePath(QStringLiteral("link.pf"))), QStringLiteral("File not found"));
        QCOMPARE(snapshot(p), snapshot(TVideoProfile()));
    }
};

ZENDREL_TEST_MAIN(tst_ProfileReader)
#include "tst_profilereader.moc"
