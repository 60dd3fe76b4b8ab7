// The encoder option set and its command line.
#include "TestUtil.h"

#include "encoder/TFFMpeg.h"

class TestFFMpeg : public QObject
{
    Q_OBJECT
private slots:
    void emptyGivesExecutableName();
    void exampleLine();
    void disableVideoSkipsTheVideoGroup();
    void everyOptionInTableOrder();
    void valuesAreTakenAsTheyAre();
    void valuesPersistBetweenCalls();
    void wordsMatchTheText();
    void wordsKeepBlanksInsideValues();
};

void TestFFMpeg::emptyGivesExecutableName()
{
    TFFMpeg f;
    QCOMPARE(f.BuildCommandLine(), QStringLiteral("libm9s.exe"));
    QCOMPARE(f.BuildArguments(), QStringList{QStringLiteral("libm9s.exe")});
    f.setOverwrite(true);
    QCOMPARE(f.BuildCommandLine(), QStringLiteral("libm9s.exe -y "));
}

void TestFFMpeg::exampleLine()
{
    TFFMpeg f;
    f.setInputFile(QStringLiteral("C:\\IN.AVI"));
    f.setOverwrite(true);
    f.setOutputFormat(QStringLiteral("avi"));
    f.setVideoBitrate(QStringLiteral("800k"));
    f.setVideoCodec(QStringLiteral("mpeg4"));
    f.setAudioBitrate(QStringLiteral("128k"));
    f.setAudioCodec(QStringLiteral("mp3"));
    f.setOutputFile(QStringLiteral("C:\\OUT.AVI"));
    QCOMPARE(f.BuildCommandLine(),
             QStringLiteral("libm9s.exe -i C:\\IN.AVI  -y  -f avi  -b 800k  -vcodec mpeg4  -ab 128k  -acodec mp3  C:\\OUT.AVI"));
}

void TestFFMpeg::disableVideoSkipsTheVideoGroup()
{
    TFFMpeg f;
    f.setInputFile(QStringLiteral("in"));
    f.setDisableVideo(true);
    f.setVideoCodec(QStringLiteral("mpeg4"));
    f.setVideoBitrate(QStringLiteral("800k"));
    f.setTitle(QStringLiteral("t"));
    f.setVideoTag(QStringLiteral("MP4S"));
    f.setDeinterlace(true);
    f.setAudioCodec(QStringLiteral("mp2"));
    f.setMap(QStringLiteral("0"));
    f.setLoop(true);
    f.setOutputFile(QStringLiteral("out"));
    QCOMPARE(f.BuildCommandLine(), QStringLiteral("libm9s.exe -i in  -vn  -acodec mp2  -map 0  -loop  out"));

    f.setDisableVideo(false);
    const QString line = f.BuildCommandLine();
    QVERIFY(!line.contains(QStringLiteral(" -vn ")));
    QVERIFY(line.contains(QStringLiteral(" -vcodec mpeg4 ")));
    QVERIFY(line.contains(QStringLiteral(" -vtag MP4S ")));
}

void TestFFMpeg::everyOptionInTableOrder()
{
    // Every text option set to "v<row>" and every flag true: the line is the
    // whole table in order, each text option with its value.
    TFFMpeg f;
    QString expected = QStringLiteral("libm9s.exe");
#define T_ROW(n, text, name) f.set##name(QStringLiteral("v" #n)); expected += QString::fromLatin1(text).replace(QLatin1String("%s"), QStringLiteral("v" #n));
#define F_ROW(n, text, name) f.set##name(true); if (n != 6) expected += QLatin1String(text);
#define X(n, text, name, kind) kind##_ROW(n, text, name)
    ZENDREL_FFMPEG_OPTIONS(X)
#undef X
    f.setDisableVideo(false);
    f.setOutputFile(QStringLiteral("out.avi"));
    expected += QStringLiteral(" out.avi");
    QCOMPARE(f.BuildCommandLine(), expected);
    QCOMPARE(f.BuildArguments().size(), expected.split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
#undef T_ROW
#undef F_ROW
}

void TestFFMpeg::valuesAreTakenAsTheyAre()
{
    TFFMpeg f;
    f.setFrameRate(QStringLiteral("  "));
    f.setAspect(QStringLiteral("0"));
    QCOMPARE(f.BuildCommandLine(), QStringLiteral("libm9s.exe -r     -aspect 0 "));
    // An empty output file leaves the output part out.
    TFFMpeg g;
    g.setDuration(QStringLiteral("00:00:05"));
    QCOMPARE(g.BuildCommandLine(), QStringLiteral("libm9s.exe -t 00:00:05 "));
}

void TestFFMpeg::valuesPersistBetweenCalls()
{
    TFFMpeg f;
    f.setAspect(QStringLiteral("4:3"));
    QCOMPARE(f.BuildCommandLine(), f.BuildCommandLine());
    QVERIFY(f.BuildCommandLine().contains(QStringLiteral(" -aspect 4:3 ")));
}

void TestFFMpeg::wordsMatchTheText()
{
    TFFMpeg f;
    f.setInputFile(QStringLiteral("/in/a.avi"));
    f.setOverwrite(true);
    f.setOutputFormat(QStringLiteral("avi"));
    f.setStartTime(QStringLiteral("00:00:00"));
    f.setDuration(QStringLiteral("00:00:03"));
    f.setVideoBitrate(QStringLiteral("800k"));
    f.setFrameSize(QStringLiteral("320x240"));
    f.setAudioCodec(QStringLiteral("libmp3lame"));
    f.setOutputFile(QStringLiteral("/out/a.avi"));
    QCOMPARE(f.BuildArguments(), f.BuildCommandLine().split(QLatin1Char(' '), Qt::SkipEmptyParts));
    QCOMPARE(f.BuildArguments(),
             (QStringList{"libm9s.exe", "-i", "/in/a.avi", "-y", "-f", "avi", "-t", "00:00:03", "-ss", "00:00:00", "-b",
                          "800k", "-s", "320x240", "-acodec", "libmp3lame", "/out/a.avi"}));
}

void TestFFMpeg::wordsKeepBlanksInsideValues()
{
    TFFMpeg f;
    f.setInputFile(QStringLiteral("/my clips/a b.avi"));
    f.setOutputFile(QStringLiteral("/out dir/-x.avi"));
    QCOMPARE(f.BuildArguments(), (QStringList{"libm9s.exe", "-i", "/my clips/a b.avi", "/out dir/-x.avi"}));
}

ZENDREL_TEST_MAIN(TestFFMpeg)
#include "tst_ffmpeg.moc"
