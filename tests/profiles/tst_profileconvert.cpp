// Every shipped profile converts a short generated clip through the real
// encoder program at its defaults, and ffprobe finds what the profile
// promises. With ZENDREL_PROFILE_SWEEP=1 it also converts at every value
// each box lists (slow; run it after editing the shipped profiles).
#include "TestUtil.h"

#include "mainwindow/TfrmMain.h"
#include "profiles/TVideoProfile.h"

#include <QComboBox>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <array>

namespace {

// What ffprobe calls the streams each encoder writes.
const QMap<QString, QString> CodecNames = {
    {"mpeg4", "mpeg4"},         {"libxvid", "mpeg4"},        {"msmpeg4v2", "msmpeg4v2"},
    {"libx264", "h264"},        {"libvpx", "vp8"},           {"libvpx-vp9", "vp9"},
    {"libtheora", "theora"},    {"flv", "flv1"},             {"h263", "h263"},
    {"wmv1", "wmv1"},           {"wmv2", "wmv2"},            {"mpeg1video", "mpeg1video"},
    {"mpeg2video", "mpeg2video"}, {"libmp3lame", "mp3"},     {"aac", "aac"},
    {"libvorbis", "vorbis"},    {"libopus", "opus"},         {"ac3", "ac3"},
    {"mp2", "mp2"},             {"wmav1", "wmav1"},          {"wmav2", "wmav2"},
    {"flac", "flac"},           {"pcm_s16le", "pcm_s16le"},  {"pcm_u8", "pcm_u8"},
    {"pcm_s24le", "pcm_s24le"},
};

QJsonArray probeStreams(const QString &path)
{
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {"-v", "error", "-show_entries", "stream=codec_type,codec_name,width,height,sample_rate,channels",
                 "-of", "json", path});
    if (!probe.waitForFinished(60000) || probe.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(probe.readAllStandardOutput()).object().value(QStringLiteral("streams")).toArray();
}

QJsonObject stream(const QJsonArray &streams, const QString &type)
{
    for (const QJsonValue &s : streams)
        if (s.toObject().value(QStringLiteral("codec_type")).toString() == type)
            return s.toObject();
    return {};
}

bool isAuto(const QString &text) { return text.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0; }

std::array<QComboBox *, 8> boxes()
{
    return {frmMain->ComboBoxVideoCodec, frmMain->comboBoxVideoBitrate, frmMain->comboBoxFrameRate,
            frmMain->comboBoxVideoSize,  frmMain->ComboBoxAudioCodec,   frmMain->comboBoxAudioBitrate,
            frmMain->comboBoxSampleRate, frmMain->comboBoxChannel};
}

} // namespace

class tst_ProfileConvert : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_dir;
    QString m_input;
    int m_jobs = 0;

    bool selectProfile(const QString &file)
    {
        QComboBox *format = frmMain->ComboBoxFormatSelect;
        for (int i = 0; i < format->count(); ++i) {
            if (QFileInfo(format->itemData(i).toString()).fileName() == file) {
                format->setCurrentIndex(i);
                frmMain->ActionChangeProfileExecute();
                return true;
            }
        }
        return false;
    }

    // Runs the job the boxes describe; returns the output's streams, or an
    // empty list with the encoder's complaint in `why`.
    QJsonArray convert(QString &why)
    {
        const QString out = m_tmp.path() + QStringLiteral("/out%1.").arg(++m_jobs) + frmMain->CurrentExtension;
        TestUtil::writeFile(out, "temp"); // the runner's placeholder
        const QString command =
            frmMain->BuildJobCommand(m_input, out, QStringLiteral("00:00:00"), QString());
        QStringList words = frmMain->LastJobArguments;
        const QString program = words.takeFirst();
        QProcess encoder;
        encoder.setProcessChannelMode(QProcess::MergedChannels);
        // Standard input stays open, as in a run: its end means "stop".
        encoder.start(program, words);
        if (!encoder.waitForFinished(180000)) {
            encoder.kill();
            encoder.waitForFinished();
        }
        const QByteArray log = encoder.readAll();
        if (encoder.exitStatus() != QProcess::NormalExit || encoder.exitCode() != 0) {
            why = command + QStringLiteral("\nexit code %1\n").arg(encoder.exitCode()) +
                  QString::fromLocal8Bit(log.right(1500));
            return {};
        }
        const QJsonArray streams = probeStreams(out);
        if (streams.isEmpty())
            why = command + QStringLiteral("\nffprobe found no streams");
        QFile::remove(out);
        return streams;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        m_dir = TestUtil::makeProgramDir(m_tmp, true);
        m_input = m_tmp.path() + QStringLiteral("/clip.mp4");
        QProcess gen;
        gen.start(QStringLiteral("ffmpeg"),
                  {"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                   "testsrc=size=160x120:rate=25:duration=1", "-f", "lavfi", "-i",
                   "sine=frequency=440:sample_rate=44100:duration=1", "-ac", "2", "-c:v", "libx264", "-pix_fmt",
                   "yuv420p", "-c:a", "aac", "-shortest", m_input});
        QVERIFY(gen.waitForFinished(60000));
        QCOMPARE(gen.exitCode(), 0);
        TestUtil::ErrorRecorder errors;
        TestUtil::startProgram(m_dir);
        QCOMPARE(errors.texts, QStringList());
    }

    void cleanupTestCase() { TestUtil::stopProgram(); }

    void defaults_data()
    {
        QTest::addColumn<QString>("file");
        const QStringList files = QDir(TestUtil::sourceDir() + QStringLiteral("/data/profile"))
                                      .entryList({QStringLiteral("*.pf")}, QDir::Files, QDir::Name);
        for (const QString &f : files)
            QTest::newRow(qPrintable(f)) << f;
    }
    void defaults()
    {
        QFETCH(QString, file);
        QVERIFY(selectProfile(file));
        const TVideoProfile &p = *frmMain->VideoProfile;
        QString why;
        const QJsonArray streams = convert(why);
        QVERIFY2(!streams.isEmpty(), qPrintable(why));

        const QJsonObject video = stream(streams, QStringLiteral("video"));
        const QJsonObject audio = stream(streams, QStringLiteral("audio"));
        QCOMPARE(!video.isEmpty(), p.HasVideo);
        QVERIFY(!audio.isEmpty());
        if (p.HasVideo) {
            if (!isAuto(frmMain->ComboBoxVideoCodec->currentText()))
                QCOMPARE(video.value(QStringLiteral("codec_name")).toString(),
                         CodecNames.value(frmMain->ComboBoxVideoCodec->currentText()));
            const QString size = frmMain->comboBoxVideoSize->currentText();
            const QString got = QStringLiteral("%1x%2").arg(video.value(QStringLiteral("width")).toInt())
                                    .arg(video.value(QStringLiteral("height")).toInt());
            QCOMPARE(got, isAuto(size) ? QStringLiteral("160x120") : size);
        }
        if (!isAuto(frmMain->ComboBoxAudioCodec->currentText()))
            QCOMPARE(audio.value(QStringLiteral("codec_name")).toString(),
                     CodecNames.value(frmMain->ComboBoxAudioCodec->currentText()));
        const QString rate = frmMain->comboBoxSampleRate->currentText();
        if (!isAuto(rate))
            QCOMPARE(audio.value(QStringLiteral("sample_rate")).toString(), rate);
        const QString channels = frmMain->comboBoxChannel->currentText();
        if (!isAuto(channels))
            QCOMPARE(audio.value(QStringLiteral("channels")).toInt(), channels.toInt());
    }

    // Every value of every box the user may change, the others at their
    // defaults.
    void everyValue_data() { defaults_data(); }
    void everyValue()
    {
        if (qEnvironmentVariableIntValue("ZENDREL_PROFILE_SWEEP") != 1)
            QSKIP("set ZENDREL_PROFILE_SWEEP=1 to convert at every listed value");
        QFETCH(QString, file);
        QVERIFY(selectProfile(file));
        const bool hasVideo = frmMain->VideoProfile->HasVideo;
        QStringList failures;
        for (int b = 0; b < 8; ++b) {
            QComboBox *box = boxes()[b];
            if (!box->isEnabled() || (b < 4 && !hasVideo))
                continue;
            for (int i = 0; i < box->count(); ++i) {
                QVERIFY(selectProfile(file)); // back to the defaults
                box->setCurrentIndex(i);
                QString why;
                const QJsonArray streams = convert(why);
                const bool ok = !streams.isEmpty() && !stream(streams, QStringLiteral("audio")).isEmpty() &&
                                stream(streams, QStringLiteral("video")).isEmpty() != hasVideo;
                if (!ok)
                    failures << box->objectName() + QLatin1Char('=') + box->itemText(i) + QLatin1Char(' ') + why;
            }
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1String("\n"))));
    }
};

ZENDREL_TEST_MAIN(tst_ProfileConvert)
#include "tst_profileconvert.moc"
