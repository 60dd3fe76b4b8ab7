// The encoder program libm9s.exe, run as Zendrel runs it: real conversions
// of small generated media, checked with ffprobe.
#include "TestUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

struct Run
{
    int exitCode = -1;
    bool normalExit = false;
    QByteArray out, err;
};

// Runs ffmpeg or ffprobe quietly; true when it succeeded. Its standard
// output goes to out when given.
bool tool(const QString &program, const QStringList &args, QByteArray *out = nullptr)
{
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning("%s %s failed: %s", qPrintable(program), qPrintable(args.join(u' ')), p.readAllStandardError().constData());
        return false;
    }
    if (out)
        *out = p.readAllStandardOutput();
    return true;
}

void makeMedia(const QString &path, int seconds, const QStringList &extra = {})
{
    const QString d = QString::number(seconds);
    QStringList args = {"-nostdin", "-hide_banner", "-loglevel", "error", "-y",
                        "-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=" + d,
                        "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=" + d,
                        "-ac", "2", "-c:v", "mpeg4", "-q:v", "3", "-c:a", "pcm_s16le"};
    args << extra << path;
    QVERIFY(tool("ffmpeg", args));
}

void placeholder(const QString &path) { TestUtil::writeFile(path, "temp\r\n"); }

// Starts the encoder with its standard input open, as Zendrel does.
void start(QProcess &p, const QStringList &args, const QString &workDir = {})
{
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    p.start(TestUtil::encoderPath(), args);
    QVERIFY2(p.waitForStarted(), qPrintable(p.errorString()));
}

Run finish(QProcess &p)
{
    Run r;
    if (!p.waitForFinished(60000))
        p.kill();
    p.waitForFinished();
    r.exitCode = p.exitCode();
    r.normalExit = p.exitStatus() == QProcess::NormalExit;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

Run encode(const QStringList &args, const QString &workDir = {})
{
    QProcess p;
    start(p, args, workDir);
    return finish(p);
}

QJsonObject probe(const QString &path)
{
    QByteArray json;
    tool("ffprobe", {"-v", "error", "-count_frames", "-show_streams", "-show_format", "-of", "json", path}, &json);
    return QJsonDocument::fromJson(json).object();
}

QJsonObject stream(const QJsonObject &info, const QString &type)
{
    for (const QJsonValue &s : info.value("streams").toArray())
        if (s.toObject().value("codec_type").toString() == type)
            return s.toObject();
    return {};
}

// Decodes the whole file; true when FFmpeg reads it without a complaint.
bool playable(const QString &path)
{
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.start("ffmpeg", {"-nostdin", "-v", "error", "-i", path, "-f", "null", "-"});
    return p.waitForFinished(60000) && p.exitCode() == 0 && p.readAllStandardError().trimmed().isEmpty();
}

// Per-frame hashes of one kind of stream, without timestamps.
QStringList frameHashes(const QString &path, const QString &map)
{
    QByteArray listing;
    tool("ffmpeg", {"-nostdin", "-v", "error", "-i", path, "-map", map, "-f", "framemd5", "-"}, &listing);
    QStringList hashes;
    for (const QByteArray &line : listing.split('\n'))
        if (!line.isEmpty() && !line.startsWith('#'))
            hashes << QString::fromLatin1(line.split(',').last().trimmed());
    return hashes;
}

// True while some process has path in its command line (an ffmpeg left behind).
bool processMentions(const QString &path)
{
    const QByteArray needle = QFile::encodeName(path);
    for (const QString &pid : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (pid.toInt() <= 0 || pid.toLongLong() == QCoreApplication::applicationPid())
            continue;
        QFile f("/proc/" + pid + "/cmdline");
        if (f.open(QIODevice::ReadOnly) && f.readAll().contains(needle))
            return true;
    }
    return false;
}

const QRegularExpression durationMarker(R"(^ffmpeg_release_duration=(\d{2,}:\d{2}:\d{2}\.\d{2})=ffmpeg_release_duration$)");
const QRegularExpression timeMarker(R"(^ffmpeg_release_time=(\d+\.\d{2})=ffmpeg_release_time$)");

} // namespace

class TestLibm9s : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void conversion_data();
    void conversion();
    void translation_data();
    void translation();
    void seekMatchesOutputSideSeeking_data();
    void seekMatchesOutputSideSeeking();
    void markers();
    void stop_data();
    void stop();
    void oddPaths_data();
    void oddPaths();
    void ffmpegBesideTheEncoderComesFirst();
    void missingFfmpeg();
    void failure_data();
    void failure();
    void encoderFromTheCarrierConverts();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
    QString m_src;  // 2 s, 160x120, 25 fps, one key frame; 44.1 kHz stereo
    QString m_long; // 20 s of the same kind
};

void TestLibm9s::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(QFileInfo(TestUtil::encoderPath()).isExecutable(), qPrintable(TestUtil::encoderPath()));
    m_src = path("src.avi");
    m_long = path("long.avi");
    makeMedia(m_src, 2, {"-g", "100"});
    makeMedia(m_long, 20, {"-g", "50"});
}

// One conversion per option Zendrel emits, in its word order; each check is
// "s:key=value" (exact) or "s:key~value~tolerance", with s one of v (video
// stream), a (audio stream), f (format); "!v" means no video stream.
void TestLibm9s::conversion_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("ext");
    QTest::addColumn<QStringList>("tail");
    QTest::addColumn<QStringList>("checks");

    const QStringList none;
    // The command of a job whose setting boxes all differ from the input.
    QTest::newRow("full job command") << QStringList{"-f", "avi", "-t", "00:00:01", "-ss", "00:00:00", "-b", "300k", "-r", "15",
                                                     "-s", "128x96", "-aspect", "16:9", "-vcodec", "mpeg4", "-ab", "96k",
                                                     "-ar", "22050", "-ac", "1", "-acodec", "mp3"}
                                      << "avi" << none
                                      << QStringList{"f:format_name=avi", "f:duration~1~0.15", "v:codec_name=mpeg4", "v:width=128",
                                                     "v:height=96", "v:display_aspect_ratio=16:9", "v:avg_frame_rate=15/1",
                                                     "a:codec_name=mp3", "a:bit_rate=96000", "a:sample_rate=22050", "a:channels=1"};
    // x264 keeps to a bit rate even on a clip this short.
    QTest::newRow("-b") << QStringList{"-f", "mp4", "-b", "300k", "-vcodec", "libx264", "-an"} << "mp4" << none
                        << QStringList{"v:codec_name=h264", "v:bit_rate~300000~90000", "!a"};
    QTest::newRow("-vn -ab") << QStringList{"-f", "mp3", "-vn", "-ab", "64k", "-acodec", "mp3"} << "mp3" << none
                             << QStringList{"!v", "a:codec_name=mp3", "a:bit_rate=64000"};
    QTest::newRow("-ss -t") << QStringList{"-f", "avi", "-t", "00:00:01", "-ss", "00:00:01", "-vcodec", "mpeg4", "-acodec", "mp3"}
                            << "avi" << none << QStringList{"f:duration~1~0.15", "v:nb_read_frames=25"};
    QTest::newRow("asf -vtag MP4S") << QStringList{"-f", "asf", "-vcodec", "mpeg4", "-acodec", "wmav2"} << "asf"
                                    << QStringList{"-vtag", "MP4S"}
                                    << QStringList{"v:codec_name=mpeg4", "v:codec_tag_string=MP4S", "a:codec_name=wmav2"};
    // The tag names MPEG-4 video: with the codec left open that is what is written.
    QTest::newRow("asf -vtag MP4S, codec auto") << QStringList{"-f", "asf"} << "asf" << QStringList{"-vtag", "MP4S"}
                                                << QStringList{"v:codec_name=mpeg4", "v:codec_tag_string=MP4S"};
    // Another codec cannot carry that tag; the conversion still succeeds.
    QTest::newRow("asf -vtag MP4S, wmv2") << QStringList{"-f", "asf", "-vcodec", "wmv2"} << "asf" << QStringList{"-vtag", "MP4S"}
                                          << QStringList{"v:codec_name=wmv2"};
    QTest::newRow("metadata") << QStringList{"-f", "avi", "-title", "A  title", "-author", "Ann Author", "-copyright", "(c) 2024",
                                             "-comment", "x=y; \"quoted\"", "-vcodec", "mpeg4"}
                              << "avi" << none
                              << QStringList{"f:tags.title=A  title", "f:tags.artist=Ann Author", "f:tags.copyright=(c) 2024",
                                             "f:tags.comment=x=y; \"quoted\""};
    QTest::newRow("crop, size, pad") << QStringList{"-f", "avi", "-s", "80x60", "-croptop", "10", "-cropbottom", "20",
                                                    "-padtop", "4", "-padbottom", "6", "-padleft", "8", "-padright", "2",
                                                    "-padcolor", "FF0000", "-vcodec", "mpeg4"}
                                     << "avi" << none << QStringList{"v:width=90", "v:height=70"};

    // Every encoder a profile may name, under its classic name where it has one.
    struct Codec { const char *tag, *fmt, *ext, *vcodec, *acodec, *vname, *aname; };
    const Codec codecs[] = {
        {"mpeg4/libmp3lame", "avi", "avi", "mpeg4", "libmp3lame", "mpeg4", "mp3"},
        {"h264/aac", "mp4", "mp4", "h264", "aac", "h264", "aac"},
        {"xvid/pcm_s16le", "avi", "avi", "xvid", "pcm_s16le", "mpeg4", "pcm_s16le"},
        {"vp8/vorbis", "webm", "webm", "vp8", "vorbis", "vp8", "vorbis"},
        {"vp9/opus", "webm", "webm", "vp9", "opus", "vp9", "opus"},
        {"theora/flac", "matroska", "mkv", "theora", "flac", "theora", "flac"},
        {"wmv2/wmav2", "asf", "wmv", "wmv2", "wmav2", "wmv2", "wmav2"},
        {"mpeg1video/mp2", "mpeg", "mpg", "mpeg1video", "mp2", "mpeg1video", "mp2"},
        {"mpeg2video/ac3", "vob", "vob", "mpeg2video", "ac3", "mpeg2video", "ac3"},
        {"flv/mp3", "flv", "flv", "flv", "mp3", "flv1", "mp3"},
        {"msmpeg4v2/mp3", "avi", "avi", "msmpeg4v2", "mp3", "msmpeg4v2", "mp3"},
    };
    for (const Codec &c : codecs)
        QTest::newRow(c.tag) << QStringList{"-f", c.fmt, "-t", "00:00:01", "-ss", "00:00:00", "-vcodec", c.vcodec, "-acodec", c.acodec}
                             << c.ext << none
                             << QStringList{QString("v:codec_name=") + c.vname, QString("a:codec_name=") + c.aname};
    QTest::newRow("h263/aac in 3gp") << QStringList{"-f", "3gp", "-t", "00:00:01", "-s", "176x144", "-vcodec", "h263",
                                                    "-ar", "22050", "-ac", "1", "-acodec", "aac"}
                                     << "3gp" << none << QStringList{"v:codec_name=h263", "v:width=176", "a:channels=1"};
}

void TestLibm9s::conversion()
{
    QFETCH(QStringList, options);
    QFETCH(QString, ext);
    QFETCH(QStringList, tail);
    QFETCH(QStringList, checks);

    const QString out = path("conv." + ext);
    placeholder(out);
    const Run r = encode(QStringList{"-i", m_src, "-y"} + options + QStringList{out} + tail);
    QVERIFY2(r.normalExit && r.exitCode == 0, r.err.right(800).constData());

    const QJsonObject info = probe(out);
    for (const QString &check : checks) {
        if (check.startsWith('!')) {
            QVERIFY2(stream(info, check.mid(1) == "v" ? "video" : "audio").isEmpty(), qPrintable(check));
            continue;
        }
        const QChar kind = check.at(0);
        QJsonObject obj = kind == 'f' ? info.value("format").toObject() : stream(info, kind == 'v' ? "video" : "audio");
        QVERIFY2(!obj.isEmpty(), qPrintable("no such stream: " + check));
        // "key~value~tolerance" has no "=", "key=value" may hold more of them.
        const bool approx = !check.contains('=');
        const QStringList parts = approx ? check.mid(2).split('~')
                                         : QStringList{check.mid(2, check.indexOf('=') - 2), check.mid(check.indexOf('=') + 1)};
        QStringList keys = parts.at(0).split('.');
        while (keys.size() > 1)
            obj = obj.value(keys.takeFirst()).toObject();
        const QJsonValue v = obj.value(keys.first());
        const QString actual = v.isDouble() ? QString::number(v.toDouble()) : v.toString();
        if (approx) {
            const double want = parts.at(1).toDouble(), tolerance = parts.at(2).toDouble();
            QVERIFY2(!actual.isEmpty() && qAbs(actual.toDouble() - want) <= tolerance,
                     qPrintable(check + " but got " + actual));
        } else {
            QVERIFY2(actual == parts.at(1), qPrintable(check + " but got " + actual));
        }
    }
}

// The words handed to ffmpeg, seen through a stand-in that records them:
// the other names and classic options, cheaper than a conversion each.
void TestLibm9s::translation_data()
{
    QTest::addColumn<QStringList>("options");   // between "-i in.avi -y" and the output
    QTest::addColumn<QStringList>("expected");  // a run of consecutive ffmpeg words

    QTest::newRow("x264") << QStringList{"-vcodec", "x264"} << QStringList{"-c:v", "libx264"};
    QTest::newRow("MP3 in capitals") << QStringList{"-acodec", "MP3"} << QStringList{"-c:a", "libmp3lame"};
    for (const char *name : {"libx264", "libxvid", "libvpx", "libvpx-vp9", "libtheora", "mpeg4", "h263"})
        QTest::newRow(name) << QStringList{"-vcodec", name} << QStringList{"-c:v", name};
    for (const char *name : {"libopus", "libvorbis", "libmp3lame", "aac", "wmav2"})
        QTest::newRow(name) << QStringList{"-acodec", name} << QStringList{"-c:a", name};
    QTest::newRow("seek on the input side")
        << QStringList{"-f", "avi", "-t", "00:00:05", "-ss", "00:00:50", "-b", "800k"}
        << QStringList{"-y", "-ss", "00:00:50", "-i", "file:in.avi", "-t", "00:00:05", "-b:v", "800k", "-f", "avi", "file:out.avi"};
    QTest::newRow("audio only") << QStringList{"-vn", "-ab", "128k", "-ar", "44100", "-ac", "2", "-acodec", "mp3"}
                                << QStringList{"-vn", "-b:a", "128k", "-ar", "44100", "-ac", "2", "-c:a", "libmp3lame"};
    QTest::newRow("crop and pad around the size")
        << QStringList{"-s", "80x60", "-croptop", "10", "-cropbottom", "20", "-padtop", "4", "-padleft", "8", "-padcolor", "ff8800"}
        << QStringList{"-vf", "crop=iw:ih-30:0:10,scale=s=80x60,pad=iw+8:ih+4:8:4:color=0xff8800"};
    QTest::newRow("deinterlace, crop") << QStringList{"-croptop", "2", "-deinterlace", "-s", "96x64"}
                                       << QStringList{"-vf", "yadif,crop=iw:ih-2:0:2", "-s", "96x64"};
    QTest::newRow("flags") << QStringList{"-4mv", "-aic", "-interlace"} << QStringList{"-flags:v", "+mv4+aic+ilme+ildct"};
    QTest::newRow("quantiser and frames") << QStringList{"-g", "12", "-intra", "-qscale", "4", "-bf", "2", "-mdb", "2"}
                                          << QStringList{"-g:v", "12", "-g:v", "1", "-q:v", "4", "-bf:v", "2", "-mbd:v", "2"};
    QTest::newRow("rate limits") << QStringList{"-maxrate", "1M", "-minrate", "100k", "-bufsize", "2M"}
                                 << QStringList{"-maxrate:v", "1M", "-minrate:v", "100k", "-bufsize:v", "2M"};
    QTest::newRow("motion estimation") << QStringList{"-me", "x1"} << QStringList{"-motion_est", "xone"};
    QTest::newRow("motion estimation, x264") << QStringList{"-vcodec", "h264", "-me", "umh"}
                                             << QStringList{"-c:v", "libx264", "-me_method", "umh"};
    QTest::newRow("decoder options") << QStringList{"-er", "2", "-ec", "3", "-bug", "1", "-itsoffset", "1"}
                                     << QStringList{"-err_detect", "compliant", "-ec", "3", "-bug", "1", "-itsoffset", "1", "-i"};
    QTest::newRow("tag after the output") << QStringList{"-vcodec", "mpeg4", "out.avi", "-vtag", "DIVX"}
                                          << QStringList{"-c:v", "mpeg4", "-tag:v", "DIVX"};
}

void TestLibm9s::translation()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, expected);

    const QString bin = path("recorder");
    if (!QFile::exists(bin + "/ffmpeg")) {
        QVERIFY(QDir().mkpath(bin));
        QVERIFY(QFile::copy(TestUtil::encoderPath(), bin + "/libm9s.exe"));
        TestUtil::writeFile(bin + "/ffmpeg", "#!/bin/sh\nfor a; do printf '%s\\n' \"$a\"; done > \"$(dirname \"$0\")/args\"\n");
        for (const QString &f : {bin + "/libm9s.exe", bin + "/ffmpeg"})
            QFile::setPermissions(f, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QFile::remove(bin + "/args");
    QStringList args = QStringList{"-i", "in.avi", "-y"} + options;
    if (!options.contains("out.avi"))
        args << "out.avi";
    QProcess p;
    p.start(bin + "/libm9s.exe", args);
    const Run r = finish(p);
    QVERIFY2(r.exitCode == 0, r.err.constData());
    const QStringList words = QString::fromUtf8(TestUtil::readFile(bin + "/args")).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(words.last(), QStringLiteral("file:out.avi"));
    bool found = false;
    for (qsizetype i = 0; !found && i + expected.size() <= words.size(); ++i)
        found = words.mid(i, expected.size()) == expected;
    QVERIFY2(found, qPrintable(words.join(u' ')));
}

// Seeking happens on the input side, yet the result is the one FFmpeg gives
// when it seeks on the output side: the same frames and samples.
void TestLibm9s::seekMatchesOutputSideSeeking_data()
{
    QTest::addColumn<QStringList>("legacy"); // options for the encoder
    QTest::addColumn<QStringList>("modern"); // the same for ffmpeg itself
    QTest::addColumn<int>("frames");
    QTest::newRow("same rates") << QStringList{} << QStringList{} << 25;
    QTest::newRow("new frame and sample rate") << QStringList{"-r", "15", "-ar", "22050"} << QStringList{"-r", "15", "-ar", "22050"} << 15;
}

void TestLibm9s::seekMatchesOutputSideSeeking()
{
    QFETCH(QStringList, legacy);
    QFETCH(QStringList, modern);
    QFETCH(int, frames);

    const QString viaEncoder = path("seek-a.mkv"), reference = path("seek-b.mkv");
    placeholder(viaEncoder);
    const Run r = encode(QStringList{"-i", m_src, "-y", "-f", "matroska", "-t", "00:00:01", "-ss", "00:00:01"} + legacy +
                         QStringList{"-vcodec", "ffv1", "-acodec", "pcm_s16le", viaEncoder});
    QVERIFY2(r.exitCode == 0, r.err.right(800).constData());
    QVERIFY(tool("ffmpeg", QStringList{"-nostdin", "-v", "error", "-y", "-i", m_src, "-ss", "1", "-t", "1"} + modern +
                               QStringList{"-c:v", "ffv1", "-c:a", "pcm_s16le", "-f", "matroska", reference}));

    const QStringList video = frameHashes(viaEncoder, "0:v");
    QCOMPARE(video.size(), frames);
    QCOMPARE(video, frameHashes(reference, "0:v"));
    const QStringList audio = frameHashes(viaEncoder, "0:a"), audioReference = frameHashes(reference, "0:a");
    QCOMPARE(audio.size(), audioReference.size());
    if (!modern.contains("-ar")) {
        QCOMPARE(audio, audioReference);
    } else {
        // A resampler that starts at the cut has no history for its first
        // packet; everything after it is the same.
        QCOMPARE(audio.mid(1), audioReference.mid(1));
    }
    // Exactly the source's frames from one second on (FFV1 is lossless).
    if (frames == 25)
        QCOMPARE(video, frameHashes(m_src, "0:v").mid(25, 25));
    // The length announced is the input's, whatever part of it is converted.
    QVERIFY(r.out.startsWith("ffmpeg_release_duration=00:00:02.00=ffmpeg_release_duration\n"));
}

void TestLibm9s::markers()
{
    const QString out = path("markers.avi");
    placeholder(out);
    // -re reads at the natural pace, so the 2 s conversion takes 2 s and the
    // markers come while it runs.
    QProcess p;
    start(p, {"-i", m_src, "-y", "-f", "avi", "-vcodec", "mpeg4", "-acodec", "mp3", "-re", out});
    QStringList linesWhileRunning;
    while (p.state() == QProcess::Running && p.waitForReadyRead(10000))
        while (p.canReadLine())
            linesWhileRunning << QString::fromLatin1(p.readLine());
    const Run r = finish(p);
    QCOMPARE(r.exitCode, 0);
    const QStringList lines = (linesWhileRunning.join(QString()) + QString::fromLatin1(r.out)).split(u'\n');

    QVERIFY2(lines.size() >= 4, qPrintable(lines.join(u'|')));
    QCOMPARE(lines.last(), QString()); // every marker ends its line
    const QRegularExpressionMatch d = durationMarker.match(lines.first());
    QVERIFY2(d.hasMatch(), qPrintable(lines.first()));
    QCOMPARE(d.captured(1), QStringLiteral("00:00:02.00"));
    double last = -1;
    for (const QString &line : lines.mid(1, lines.size() - 2)) {
        const QRegularExpressionMatch t = timeMarker.match(line);
        QVERIFY2(t.hasMatch(), qPrintable(line));
        QVERIFY(t.captured(1).toDouble() >= last);
        last = t.captured(1).toDouble();
    }
    QVERIFY2(qAbs(last - 2.0) < 0.15, qPrintable(QString::number(last)));
    // Progress while the job runs, not all at the end.
    QVERIFY2(linesWhileRunning.count() >= 3, qPrintable(linesWhileRunning.join(u'|')));
    // FFmpeg's own messages reach standard error as they were.
    QVERIFY(r.err.contains("Input #0, avi, from 'file:" + QFile::encodeName(m_src) + "':"));
    QVERIFY(r.err.contains("  Duration: 00:00:02.00, start: 0.000000"));
    QVERIFY(!r.err.contains("ffmpeg_release"));
}

void TestLibm9s::stop_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("q") << "q";
    QTest::newRow("quit") << "quit";
    QTest::newRow("end of standard input") << "eof";
    QTest::newRow("encoder killed") << "kill";
}

void TestLibm9s::stop()
{
    QFETCH(QString, how);
    // An mp4 file is only playable once it is finished properly (index written last).
    const QString out = path("stop-" + how + ".mp4");
    placeholder(out);
    QProcess p;
    start(p, {"-i", m_long, "-y", "-f", "mp4", "-vcodec", "libx264", "-acodec", "aac", "-re", out});
    // Wait until a second of output is written.
    QByteArray seen;
    while (!seen.contains("ffmpeg_release_time=1.") && p.waitForReadyRead(10000))
        seen += p.readAllStandardOutput();
    QVERIFY2(seen.contains("ffmpeg_release_time=1."), seen.constData());

    QElapsedTimer clock;
    clock.start();
    if (how == "eof")
        p.closeWriteChannel();
    else if (how == "kill")
        p.kill();
    else
        p.write(how.toLatin1() + '\n');
    // Within a second as a rule; the margin is for a busy machine.
    QVERIFY2(p.waitForFinished(5000), "the encoder did not stop");
    if (how == "kill") {
        // FFmpeg, left alone, finishes the file and ends too.
        QTRY_VERIFY_WITH_TIMEOUT(!processMentions(out), 10000);
    } else {
        QVERIFY(clock.elapsed() < 3000);
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(!processMentions(out));
    }
    QVERIFY(playable(out));
    const double length = probe(out).value("format").toObject().value("duration").toString().toDouble();
    QVERIFY2(length >= 0.9 && length < 15, qPrintable(QString::number(length)));
}

void TestLibm9s::oddPaths_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::newRow("protocol concat") << "concat:x.avi" << "concat:out.avi";
    QTest::newRow("protocol http") << "http:y.avi" << "http:out.avi";
    QTest::newRow("leading dash") << "-z.avi" << "-out.avi";
    QTest::newRow("blanks") << " two  blanks .avi" << "out  put .avi";
    QTest::newRow("quotes") << "it's \"quoted\".avi" << "out 'put\".avi";
    QTest::newRow("non-ASCII") << QString::fromUtf8("Grüße 名前.avi") << QString::fromUtf8("Ausgabe ü.avi");
    QTest::newRow("pipe and percent") << "a|b%d.avi" << "pipe:1%03d.avi";
    // FFmpeg prints the input's name: a line break in it must not pass for its length.
    QTest::newRow("line break") << "in\n  Duration: 11:11:11.11, start: 0.000000\n.avi" << "out\n.avi";
}

void TestLibm9s::oddPaths()
{
    QFETCH(QString, input);
    QFETCH(QString, output);
    const QString folder = path("odd-" + QString::number(qHash(input)));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::copy(m_src, folder + "/" + input));
    placeholder(folder + "/" + output);

    // Relative names, from the folder itself: nothing may read them as
    // options or protocols. The trailing option after the output too.
    const Run r = encode({"-i", input, "-y", "-f", "asf", "-t", "00:00:01", "-ss", "00:00:00", "-vcodec", "mpeg4", "-acodec", "wmav2",
                          output, "-vtag", "MP4S"},
                         folder);
    QVERIFY2(r.exitCode == 0, r.err.right(800).constData());
    QVERIFY(r.out.startsWith("ffmpeg_release_duration=00:00:02.00=ffmpeg_release_duration\n"));
    QStringList expected{input, output};
    expected.sort();
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name), expected);
    QCOMPARE(stream(probe(folder + "/" + output), "video").value("codec_tag_string").toString(), QStringLiteral("MP4S"));
    QCOMPARE(TestUtil::readFile(folder + "/" + input), TestUtil::readFile(m_src));
}

void TestLibm9s::ffmpegBesideTheEncoderComesFirst()
{
    const QString real = QStandardPaths::findExecutable("ffmpeg");
    QVERIFY(!real.isEmpty());
    const QString bin = path("beside");
    QVERIFY(QDir().mkpath(bin));
    QVERIFY(QFile::copy(TestUtil::encoderPath(), bin + "/libm9s.exe"));
    TestUtil::writeFile(bin + "/ffmpeg", "#!/bin/sh\n: > \"$(dirname \"$0\")/used\"\nexec '" + real.toUtf8() + "' \"$@\"\n");
    for (const QString &f : {bin + "/libm9s.exe", bin + "/ffmpeg"})
        QFile::setPermissions(f, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QString out = path("beside.avi");
    placeholder(out);
    QProcess p;
    p.setProgram(bin + "/libm9s.exe");
    p.setArguments({"-i", m_src, "-y", "-f", "avi", "-t", "00:00:01", out});
    p.start();
    const Run r = finish(p);
    QCOMPARE(r.exitCode, 0);
    QVERIFY(QFile::exists(bin + "/used"));
    QVERIFY(!stream(probe(out), "video").isEmpty());
}

void TestLibm9s::missingFfmpeg()
{
    const QString emptyDir = path("no-ffmpeg");
    QVERIFY(QDir().mkpath(emptyDir));
    const QString out = path("missing.avi");
    placeholder(out);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PATH", emptyDir);
    p.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    start(p, {"-i", m_src, "-y", "-f", "avi", "-vcodec", "mpeg4", out});
    const Run r = finish(p);
    QVERIFY(clock.elapsed() < 2000); // well within, on an idle machine 100 ms
    QVERIFY(r.normalExit);
    QVERIFY(r.exitCode != 0);
    QVERIFY(r.out.isEmpty());
    const QByteArray message = r.err.trimmed();
    QVERIFY2(!message.contains('\n') && message.contains("ffmpeg") && message.contains("PATH"), r.err.constData());
    QCOMPARE(TestUtil::readFile(out), QByteArray("temp\r\n"));
}

void TestLibm9s::failure_data()
{
    QTest::addColumn<QStringList>("args"); // "OUT" stands for the output path, "SRC" for a good input
    QTest::addColumn<QByteArray>("said");  // a piece of what standard error names
    QTest::addColumn<bool>("outputKept");  // the placeholder is still there, untouched

    const QString junk = path("junk.avi");
    QByteArray noise(20000, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) % 251);
    TestUtil::writeFile(junk, noise);

    const QStringList tail{"-vcodec", "mpeg4", "OUT"};
    QTest::newRow("missing input") << QStringList{"-i", path("absent.avi"), "-y", "-f", "avi", "OUT"} << QByteArray("absent.avi") << true;
    QTest::newRow("input is a folder") << QStringList{"-i", m_dir.path(), "-y", "-f", "avi", "OUT"} << QByteArray("directory") << true;
    QTest::newRow("input is not media") << QStringList{"-i", junk, "-y", "-f", "avi", "OUT"} << QByteArray("junk.avi") << true;
    QTest::newRow("unknown codec") << QStringList{"-i", "SRC", "-y", "-f", "avi", "-vcodec", "nosuchcodec", "OUT"}
                                   << QByteArray("nosuchcodec") << true;
    QTest::newRow("unknown format") << QStringList{"-i", "SRC", "-y", "-f", "nosuchformat", "OUT"} << QByteArray("nosuchformat") << true;
    QTest::newRow("output is a folder") << QStringList{"-i", "SRC", "-y", "-f", "avi", path("")} << QByteArray("directory") << false;
    QTest::newRow("output below a file") << QStringList{"-i", "SRC", "-y", "-f", "avi", m_src + "/out.avi"} << QByteArray("out.avi") << false;
    QTest::newRow("typed unit: 800kk") << QStringList{"-i", "SRC", "-y", "-f", "avi", "-b", "800kk"} + tail << QByteArray("800kk") << true;
    QTest::newRow("empty audio bit rate") << QStringList{"-i", "SRC", "-y", "-f", "avi", "-ab", "k", "OUT"} << QByteArray("\"k\"") << true;
    QTest::newRow("-hq") << QStringList{"-i", "SRC", "-y", "-f", "avi", "-hq"} + tail << QByteArray("-hq") << true;
    QTest::newRow("-sameq") << QStringList{"-i", "SRC", "-y", "-f", "avi", "-sameq"} + tail << QByteArray("-sameq") << true;
    QTest::newRow("-vhook") << QStringList{"-i", "SRC", "-y", "-f", "avi", "-vhook", "x.so"} + tail << QByteArray("-vhook") << true;
    QTest::newRow("-dv1394") << QStringList{"-i", "SRC", "-y", "-f", "avi", "-dv1394"} + tail << QByteArray("-dv1394") << true;
    QTest::newRow("-vd") << QStringList{"-i", "SRC", "-y", "-f", "avi", "-vd", "/dev/video0"} + tail << QByteArray("-vd") << true;
    QTest::newRow("-loop") << QStringList{"-i", "SRC", "-y", "-f", "avi", "-loop"} + tail << QByteArray("-loop") << true;
    QTest::newRow("filter text as pad colour") << QStringList{"-i", "SRC", "-y", "-f", "avi", "-padtop", "2", "-padcolor", "red,drawbox"} + tail
                                               << QByteArray("red,drawbox") << true;
    QTest::newRow("unknown option") << QStringList{"-i", "SRC", "-y", "-f", "avi", "-frobnicate", "OUT"} << QByteArray("-frobnicate") << true;
    QTest::newRow("option without its value") << QStringList{"-i", "SRC", "-y", "-f", "avi", "OUT", "-vtag"} << QByteArray("-vtag") << true;
    QTest::newRow("two outputs") << QStringList{"-i", "SRC", "-y", "-f", "avi", "OUT", "second.avi"} << QByteArray("second.avi") << true;
    QTest::newRow("no output") << QStringList{"-i", "SRC", "-y", "-f", "avi"} << QByteArray("output") << true;
}

void TestLibm9s::failure()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, said);
    QFETCH(bool, outputKept);

    const QString out = path("failed.avi");
    placeholder(out);
    args.replaceInStrings(QRegularExpression("^OUT$"), out);
    args.replaceInStrings(QRegularExpression("^SRC$"), m_src);
    QElapsedTimer clock;
    clock.start();
    const Run r = encode(args);
    QVERIFY2(r.normalExit && r.exitCode != 0, r.err.right(800).constData());
    QVERIFY2(clock.elapsed() < 5000, "a failure should be reported at once");
    QVERIFY2(r.err.contains(said), r.err.right(800).constData());
    QVERIFY(!r.out.contains("ffmpeg_release_time"));
    if (outputKept)
        QCOMPARE(TestUtil::readFile(out), QByteArray("temp\r\n"));
}

// What the main program installs from plug.exe is a working encoder.
void TestLibm9s::encoderFromTheCarrierConverts()
{
    const QByteArray carrier = TestUtil::readFile(TestUtil::programDir() + "/plug.exe");
    QVERIFY(carrier.size() > 4);
    const qint32 n = qFromLittleEndian<qint32>(carrier.constData() + carrier.size() - 4);
    QVERIFY(n > 4 && n <= carrier.size());
    const QString installed = path("installed/libm9s.exe");
    TestUtil::writeFile(installed, carrier.mid(carrier.size() - n, n - 4));
    QFile::setPermissions(installed, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QString out = path("installed.avi");
    placeholder(out);
    QProcess p;
    p.start(installed, {"-i", m_src, "-y", "-f", "avi", "-t", "00:00:01", "-ss", "00:00:00", "-vcodec", "mpeg4", out});
    const Run r = finish(p);
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.startsWith("ffmpeg_release_duration="));
    QVERIFY(playable(out));
}

ZENDREL_TEST_MAIN(TestLibm9s)
#include "tst_libm9s.moc"
