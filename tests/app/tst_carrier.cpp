// Installing the encoder from its carrier file.
#include "TestUtil.h"

#include "app/TfrmCommon.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {
QByteArray le32(qint32 n)
{
    QByteArray b(4, 0);
    for (int i = 0; i < 4; ++i)
        b[i] = char((quint32(n) >> (8 * i)) & 0xFF);
    return b;
}
} // namespace

class TestCarrier : public QObject
{
    Q_OBJECT
private slots:
    void extract_data();
    void extract();
    void unwritableTargetWritesNothing();
    void shippedCarrierHoldsTheEncoder();
};

void TestCarrier::extract_data()
{
    QTest::addColumn<QByteArray>("carrier");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("payload");

    const QByteArray body = QByteArray("prefix-bytes-not-read") + QByteArray("ENCODER-PAYLOAD");
    QTest::newRow("payload") << body + le32(15 + 4) << true << QByteArray("ENCODER-PAYLOAD");
    QByteArray big(2000, 'p');
    for (int i = 0; i < big.size(); ++i)
        big[i] = char(i % 251);
    // N = 1000: the 996 bytes that start 1000 bytes before the end.
    const QByteArray withTrailer = big + le32(1000);
    QTest::newRow("N 1000") << withTrailer << true << withTrailer.mid(withTrailer.size() - 1000, 996);
    QTest::newRow("whole file") << QByteArray("XY") + le32(6) << true << QByteArray("XY");
    QTest::newRow("N 4, empty payload") << QByteArray("abc") + le32(4) << false << QByteArray();
    QTest::newRow("N below 4") << QByteArray("abc") + le32(3) << false << QByteArray();
    QTest::newRow("N negative") << QByteArray("abc") + le32(-8) << false << QByteArray();
    QTest::newRow("N beyond file") << QByteArray("abc") + le32(100) << false << QByteArray();
    QTest::newRow("shorter than 4 bytes") << QByteArray("ab") << false << QByteArray();
    QTest::newRow("empty") << QByteArray() << false << QByteArray();
}

void TestCarrier::extract()
{
    QFETCH(QByteArray, carrier);
    QFETCH(bool, ok);
    QFETCH(QByteArray, payload);
    QTemporaryDir dir;
    const QString plug = dir.filePath(QStringLiteral("plug.exe"));
    const QString target = dir.filePath(QStringLiteral("libm9s.exe"));
    TestUtil::writeFile(plug, carrier);
    QCOMPARE(TfrmCommon::ExtractEncoder(plug, target), ok);
    QCOMPARE(QFile::exists(target), ok);
    if (ok) {
        QCOMPARE(TestUtil::readFile(target), payload);
        QVERIFY(QFileInfo(target).isExecutable());
    }
    // Nothing half-written is left beside the target.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), ok ? 2 : 1);
}

void TestCarrier::unwritableTargetWritesNothing()
{
    QTemporaryDir dir;
    const QString plug = dir.filePath(QStringLiteral("plug.exe"));
    TestUtil::writeFile(plug, QByteArray("PAYLOAD") + le32(11));
    QVERIFY(!TfrmCommon::ExtractEncoder(dir.filePath(QStringLiteral("missing.exe")), dir.filePath(QStringLiteral("x"))));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("x"))));

    // A folder where the target should be, and a file where its folder should be.
    QDir().mkpath(dir.filePath(QStringLiteral("libm9s.exe")));
    QVERIFY(!TfrmCommon::ExtractEncoder(plug, dir.filePath(QStringLiteral("libm9s.exe"))));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("libm9s.exe"))).isDir());
    QVERIFY(!TfrmCommon::ExtractEncoder(plug, plug + QStringLiteral("/libm9s.exe")));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

void TestCarrier::shippedCarrierHoldsTheEncoder()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("libm9s.exe"));
    QVERIFY(TfrmCommon::ExtractEncoder(TestUtil::programDir() + QStringLiteral("/plug.exe"), target));
    QCOMPARE(TestUtil::readFile(target), TestUtil::readFile(TestUtil::encoderPath()));
}

ZENDREL_TEST_MAIN(TestCarrier)
#include "tst_carrier.moc"
