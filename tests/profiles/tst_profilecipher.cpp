// The profile cipher: DES on published vectors, the pass-phrase digest step
// by step against values computed independently, Base64, the filler rule,
// the developer tool, and the shipped enciphered profiles.
#include "TestUtil.h"

#include "app/Errors.h"
#include "profiles/ProfileCipher.h"
#include "profiles/TVideoProfile.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using ProfileCipher::Key;

namespace {

Key keyFromHex(const char *hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    Key key{};
    std::copy(bytes.begin(), bytes.end(), key.begin());
    return key;
}

QString keyHex(const Key &key)
{
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(key.data()), 8).toHex().toUpper());
}

QString failure(const std::function<void()> &f)
{
    try {
        f();
    } catch (const ZError &e) {
        return e.message();
    }
    return QString();
}

// Hexadecimal digit n+1 of the fraction of pi (Bailey-Borwein-Plouffe), an
// independent source for the digest's table.
int piHexDigit(int n)
{
    auto series = [n](int j) {
        double s = 0;
        for (int k = 0; k <= n; ++k) {
            // 16^(n-k) mod (8k+j), by repeated squaring.
            const double m = 8.0 * k + j;
            double r = 1, b = 16;
            for (int e = n - k; e > 0; e >>= 1) {
                if (e & 1)
                    r = std::fmod(r * b, m);
                b = std::fmod(b * b, m);
            }
            s += r / m;
            s -= std::floor(s);
        }
        for (int k = n + 1; k <= n + 20; ++k)
            s += std::pow(16.0, n - k) / (8.0 * k + j);
        return s - std::floor(s);
    };
    double x = 4 * series(1) - 2 * series(4) - series(5) - series(6);
    x -= std::floor(x);
    return int(x * 16);
}

QString profileDir() { return TestUtil::sourceDir() + QStringLiteral("/data/profile"); }

} // namespace

class tst_ProfileCipher : public QObject
{
    Q_OBJECT

private slots:
    void desKnownAnswers_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("cipher");
        // FIPS 81, ECB mode example.
        QTest::newRow("FIPS 81 ECB") << QByteArray("0123456789ABCDEF")
                                     << QByteArray("Now is the time for all ").toHex()
                                     << QByteArray("3FA40E8A984D48156A271787AB8883F9893D51EC4B563B53");
        // The same key with its parity bits cleared: they must not count.
        QTest::newRow("parity bits ignored") << QByteArray("0022446688AACCEE")
                                             << QByteArray("Now is the time for all ").toHex()
                                             << QByteArray("3FA40E8A984D48156A271787AB8883F9893D51EC4B563B53");
        // NIST SP 800-17 variable-plaintext test, weak key 01..01.
        QTest::newRow("SP 800-17 variable plaintext") << QByteArray("0101010101010101")
                                                      << QByteArray("8000000000000000")
                                                      << QByteArray("95F8A5E5DD31D900");
        // NIST SP 800-17 variable-key test.
        QTest::newRow("SP 800-17 variable key") << QByteArray("8001010101010101")
                                                << QByteArray("0000000000000000")
                                                << QByteArray("95A8D72813DAA94D");
        QTest::newRow("textbook example") << QByteArray("133457799BBCDFF1") << QByteArray("0123456789ABCDEF")
                                          << QByteArray("85E813540F0AB405");
    }
    void desKnownAnswers()
    {
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, cipher);
        const Key k = keyFromHex(key.constData());
        QCOMPARE(ProfileCipher::DesEcb(k, QByteArray::fromHex(plain), true).toHex().toUpper(), cipher);
        QCOMPARE(ProfileCipher::DesEcb(k, QByteArray::fromHex(cipher), false).toHex().toUpper(), plain.toUpper());
    }

    // The reader's whole path (Base64, DES, filler) on the FIPS blocks, with
    // one closing block that says "no more text".
    void decipherKnownCiphertext()
    {
        const Key k = keyFromHex("0123456789ABCDEF");
        const QByteArray closing = ProfileCipher::DesEcb(k, QByteArray(8, '\0'), true);
        const QByteArray cipher =
            QByteArray::fromHex("3FA40E8A984D48156A271787AB8883F9893D51EC4B563B53") + closing;
        QCOMPARE(ProfileCipher::Decipher(cipher.toBase64(), k), QByteArray("Now is the time for all "));
        QCOMPARE(ProfileCipher::Encipher("Now is the time for all ", k), cipher.toBase64());
    }

    void piTable()
    {
        const auto &table = ProfileCipher::PiTable();
        for (int i = 0; i < 256; ++i)
            QCOMPARE(table[i], std::uint8_t(piHexDigit(2 * i) << 4 | piHexDigit(2 * i + 1)));
    }

    void mix()
    {
        std::uint32_t a = 1, b = 2, c = 3, e = 4;
        ProfileCipher::Mix(a, b, c, e);
        // Worked by hand from the eight lines (note the E >> 15 in line 7).
        std::uint32_t A = 1, B = 2, C = 3, E = 4;
        A += E; E += A; A ^= A >> 7;
        B += A; A += B; B ^= B << 13;
        C += B; B += C; C ^= C >> 17;
        E += C; C += E; E ^= E << 9;
        A += E; E += A; A ^= A >> 3;
        B += A; A += B; B ^= B << 7;
        C += B; B += C; C ^= E >> 15;
        E += C; C += E; E ^= E << 11;
        QCOMPARE(a, A);
        QCOMPARE(b, B);
        QCOMPARE(c, C);
        QCOMPARE(e, E);
    }

    // Expected values from a separate implementation of the digest, written
    // from its description and run outside this code base.
    void digestSteps_data()
    {
        QTest::addColumn<QByteArray>("phrase");
        QTest::addColumn<QList<uint>>("words");     // K0..K3 after absorbing
        QTest::addColumn<QList<uint>>("roundKeys"); // words 0, 1 and 31
        QTest::addColumn<QString>("key");
        QTest::newRow("plum") << QByteArray("plum") << QList<uint>{0xD913445E, 0x3F8BEAE5, 0x0540F9E1, 0x683373AF}
                              << QList<uint>{0x199350D6, 0x16EE9D8A, 0x30BDCED7} << "0DB4BFF740D7DFC4";
        QTest::newRow("empty: eight closing bytes")
            << QByteArray() << QList<uint>{0x9BC18A71, 0xB0C2C657, 0xC7750145, 0xFF38E8BF}
            << QList<uint>{0x7553537A, 0x6B9C8EC1, 0x1C375272} << "0BD132AA831C56AC";
        QTest::newRow("eight bytes") << QByteArray("abcdefgh")
                                     << QList<uint>{0xC7B6C1F9, 0x4DB27E4C, 0xD46A75D7, 0x20467EEC}
                                     << QList<uint>{0xA9067FDC, 0x3B9BA120, 0x0EAABD38} << "0CB74FF73A8F99B2";
        QTest::newRow("nine bytes") << QByteArray("profile12")
                                    << QList<uint>{0x7318D523, 0x8CB555F1, 0x32440E9F, 0xBBB13E3C}
                                    << QList<uint>{0x8EE126B5, 0x401DF372, 0xA0A07B7D} << "1ABA376B84824EF0";
        QByteArray longPhrase;
        for (int i = 0; i < 300; ++i)
            longPhrase.append(char(33 + i % 90));
        QTest::newRow("300 bytes: the table index wraps")
            << longPhrase << QList<uint>{0x92B85FC2, 0x401B5927, 0x1B843369, 0x2F3F60D9}
            << QList<uint>{0x84A30958, 0xC2B8889C, 0xF690BE59} << "044EFADE5A5A4818";
    }
    void digestSteps()
    {
        QFETCH(QByteArray, phrase);
        QFETCH(QList<uint>, words);
        QFETCH(QList<uint>, roundKeys);
        QFETCH(QString, key);
        const ProfileCipher::DigestState s = ProfileCipher::Absorb(phrase);
        QCOMPARE((QList<uint>{s.K[0], s.K[1], s.K[2], s.K[3]}), words);
        const auto rk = ProfileCipher::RoundKeys(s.K);
        QCOMPARE((QList<uint>{rk[0], rk[1], rk[31]}), roundKeys);
        QCOMPARE(keyHex(ProfileCipher::PassPhraseKey(phrase)), key);
    }

    void absorbMixesThePhraseIntoTheTable()
    {
        const ProfileCipher::DigestState s = ProfileCipher::Absorb("plum");
        const auto &pi = ProfileCipher::PiTable();
        const QByteArray mixed("plum\x01\0\0\0", 8);
        for (int i = 0; i < 256; ++i)
            QCOMPARE(s.D[i], std::uint8_t(pi[i] ^ (i < 8 ? std::uint8_t(mixed[i]) : 0)));
    }

    void profileKey() { QCOMPARE(keyHex(ProfileCipher::ProfileKey()), QStringLiteral("0DB4BFF740D7DFC4")); }

    void base64_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("bytes");
        // RFC 4648 test vectors.
        QTest::newRow("empty") << QByteArray("") << QByteArray("");
        QTest::newRow("f") << QByteArray("Zg==") << QByteArray("f");
        QTest::newRow("fo") << QByteArray("Zm8=") << QByteArray("fo");
        QTest::newRow("foo") << QByteArray("Zm9v") << QByteArray("foo");
        QTest::newRow("foob") << QByteArray("Zm9vYg==") << QByteArray("foob");
        QTest::newRow("fooba") << QByteArray("Zm9vYmE=") << QByteArray("fooba");
        QTest::newRow("foobar") << QByteArray("Zm9vYmFy") << QByteArray("foobar");
        QTest::newRow("+ and /") << QByteArray("+/+/") << QByteArray("\xfb\xff\xbf");
    }
    void base64()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(ProfileCipher::DecodeBase64(text), bytes);
        QCOMPARE(ProfileCipher::EncodeBase64(bytes), text);
    }

    void base64Lenient_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("unpadded 3") << QByteArray("Zm8") << QByteArray("fo");
        QTest::newRow("unpadded 2") << QByteArray("Zg") << QByteArray("f");
        QTest::newRow("single trailing character") << QByteArray("Zm9vY") << QByteArray("foo");
    }
    void base64Lenient()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(ProfileCipher::DecodeBase64(text), bytes);
    }

    void base64Invalid_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("below +") << QByteArray("Zm9v*");
        QTest::newRow("above z") << QByteArray("Zm9v{");
        QTest::newRow("8-bit") << QByteArray("Zm9v\x80");
        QTest::newRow("control") << QByteArray("Zm9v\t");
        QTest::newRow("hole: -") << QByteArray("Zm-v");
        QTest::newRow("hole: @") << QByteArray("Zm@v");
        QTest::newRow("hole: backslash") << QByteArray("Zm\\v");
        QTest::newRow("padding first") << QByteArray("=m9v");
        QTest::newRow("padding second") << QByteArray("Z===");
        QTest::newRow("data after padding") << QByteArray("Zg==Zm9v");
        QTest::newRow("padding in a short group") << QByteArray("Zg=");
        QTest::newRow("too much padding") << QByteArray("Zg===");
    }
    void base64Invalid()
    {
        QFETCH(QByteArray, text);
        QCOMPARE(failure([&] { ProfileCipher::DecodeBase64(text); }), QStringLiteral("Invalid Base64 Character"));
    }

    // The count byte of the last block says how much of it is text.
    void fillerRule_data()
    {
        QTest::addColumn<QByteArray>("blocks"); // plain blocks, hex
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("k=0") << QByteArray("4142434445464748" "0000000000000000") << QByteArray("ABCDEFGH") << "";
        QTest::newRow("k=3") << QByteArray("4142434445464748" "494A4BFFFFFFFF03") << QByteArray("ABCDEFGHIJK") << "";
        QTest::newRow("k=7, single block") << QByteArray("4142434445464707") << QByteArray("ABCDEFG") << "";
        QTest::newRow("k=0, single block") << QByteArray("4142434445464700") << QByteArray("") << "";
        QTest::newRow("k=8") << QByteArray("4142434445464708") << QByteArray() << "Invalid file format";
        QTest::newRow("k=255") << QByteArray("41424344454647FF") << QByteArray() << "Invalid file format";
    }
    void fillerRule()
    {
        QFETCH(QByteArray, blocks);
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        const Key &k = ProfileCipher::ProfileKey();
        const QByteArray cipher = ProfileCipher::DesEcb(k, QByteArray::fromHex(blocks), true);
        QByteArray got;
        QCOMPARE(failure([&] { got = ProfileCipher::Decipher(cipher.toBase64()); }), error);
        QCOMPARE(got, text);
        // Bytes after the last whole block do not count.
        if (error.isEmpty())
            QCOMPARE(ProfileCipher::Decipher((cipher + "xyz").toBase64()), text);
    }

    void encipherLayout()
    {
        for (int length = 0; length <= 25; ++length) {
            QByteArray text;
            for (int i = 0; i < length; ++i)
                text.append(char('a' + i));
            const QByteArray line = ProfileCipher::Encipher(text);
            const QByteArray cipher = QByteArray::fromBase64(line);
            QCOMPARE(cipher.size(), (length / 8 + 1) * 8);
            const QByteArray blocks = ProfileCipher::DesEcb(ProfileCipher::ProfileKey(), cipher, false);
            QCOMPARE(blocks.left(length), text);
            QCOMPARE(blocks.mid(length, blocks.size() - length - 1), QByteArray(blocks.size() - length - 1, '\0'));
            QCOMPARE(int(blocks.back()), length % 8);
            QCOMPARE(ProfileCipher::Decipher(line), text);
        }
    }

    void toolAgreesWithReader()
    {
        const QByteArray plain = "Tool test [KESTRUN]r[KESTRUN]avi[KESTRUN]avi[KESTRUN]mpeg4|mpeg4;msmpeg4|0"
                                 "[KESTRUN]-1|-1;400;800|1[KESTRUN]-1|-1|1[KESTRUN]-1|-1|1[KESTRUN]1"
                                 "[KESTRUN]libmp3lame|libmp3lame|1[KESTRUN]128|128|1[KESTRUN]44100|44100|1"
                                 "[KESTRUN]2|1;2|1[KESTRUN]0";
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("plain.txt"));
        const QString out = dir.filePath(QStringLiteral("tool.pf"));
        TestUtil::writeFile(in, plain + "\r\nsecond line\n");
        QCOMPARE(runTool({in, out}), 0);
        const QByteArray written = TestUtil::readFile(out);
        QVERIFY(!written.contains("[KESTRUN]"));
        QCOMPARE(written, ProfileCipher::Encipher(plain) + "\n");

        TVideoProfile fromTool, fromPlain;
        fromTool.LoadFromFile(out);
        fromPlain.LoadFromFile(in);
        QCOMPARE(fromTool.ProfileName, QStringLiteral("Tool test "));
        QCOMPARE(fromTool.VideoCodecValues, fromPlain.VideoCodecValues);
        QCOMPARE(fromTool.ChannelsValues, QStringLiteral("1;2"));

        const QString back = dir.filePath(QStringLiteral("back.txt"));
        QCOMPARE(runTool({QStringLiteral("-d"), out, back}), 0);
        QCOMPARE(TestUtil::readFile(back), plain + "\n");

        // A developer tool: the program folder does not ship it.
        QVERIFY(!QFileInfo(QStringLiteral(PROFILECRYPT_PATH)).absolutePath().startsWith(TestUtil::programDir()));
        QVERIFY(!QFile::exists(TestUtil::programDir() + QStringLiteral("/profilecrypt")));
    }

    void toolRefusesWhatTheReaderRejects_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input");
        QTest::newRow("no separator") << QStringList{} << QByteArray("just text\n");
        QTest::newRow("13 fields") << QStringList{} << QByteArray("a[KESTRUN]").repeated(12) + "a";
        QTest::newRow("decipher garbage") << QStringList{"-d"} << QByteArray("Zm9v{\n");
        QTest::newRow("decipher to non-profile") << QStringList{"-d"} << ProfileCipher::Encipher("no fields");
    }
    void toolRefusesWhatTheReaderRejects()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in"));
        const QString out = dir.filePath(QStringLiteral("out.pf"));
        TestUtil::writeFile(in, input);
        QCOMPARE(runTool(args << in << out), 1);
        QVERIFY(!QFile::exists(out));
    }

    // Every shipped enciphered profile deciphers to a loadable line, and the
    // tool's layout reproduces it byte for byte.
    void shippedEncipheredProfiles()
    {
        int enciphered = 0;
        const QStringList names = QDir(profileDir()).entryList({QStringLiteral("*.pf")}, QDir::Files);
        QVERIFY(!names.isEmpty());
        for (const QString &name : names) {
            const QByteArray line = TVideoProfile::FirstLine(TestUtil::readFile(profileDir() + QLatin1Char('/') + name));
            if (line.contains("[KESTRUN]"))
                continue;
            ++enciphered;
            const QByteArray plain = ProfileCipher::Decipher(line);
            QVERIFY2(plain.contains("[KESTRUN]"), qPrintable(name));
            QCOMPARE(ProfileCipher::Encipher(plain), line);
            TVideoProfile p;
            p.LoadFromLine(plain);
            QVERIFY2(!p.ProfileName.isEmpty() && !p.Extension.isEmpty() && !p.FormatName.isEmpty(), qPrintable(name));
        }
        QVERIFY2(enciphered >= 3, qPrintable(QString::number(enciphered)));
    }

private:
    static int runTool(const QStringList &args)
    {
        QProcess tool;
        tool.start(QStringLiteral(PROFILECRYPT_PATH), args);
        if (!tool.waitForFinished(30000))
            return -1;
        return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    }
};

ZENDREL_TEST_MAIN(tst_ProfileCipher)
#include "tst_profilecipher.moc"
