// Assembly of one job's encoder command from the row and the setting boxes.
#include "mainwindow/TfrmMain.h"

#include "app/TextHelpers.h"
#include "app/TfrmCommon.h"
#include "encoder/TFFMpeg.h"
#include "profiles/TVideoProfile.h"

namespace {

// "auto" in any letter case (A to Z only) leaves the option to the encoder;
// " auto" with a blank is a value like any other.
bool isAuto(const QString &text)
{
    static const char word[] = "auto";
    if (text.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        char16_t c = text[i].unicode();
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c - u'A' + u'a');
        if (c != char16_t(word[i]))
            return false;
    }
    return true;
}

QString boxValue(const QComboBox *box, const char *suffix = "")
{
    const QString text = box->currentText();
    return isAuto(text) ? QString() : text + QLatin1String(suffix);
}

} // namespace

QString TfrmMain::BuildJobCommand(const QString &inputFile, const QString &outputFile, const QString &startTime,
                                  const QString &duration)
{
    // A failed call must not leave the words of an earlier job behind.
    LastJobArguments.clear();

    const QString start = TextHelpers::Trim(startTime);
    const QString length = TextHelpers::Trim(duration);

    const QString aspect = ComboBoxAspect->currentText();
    FFMpeg->setAspect(aspect == QLatin1String("4:3") || aspect == QLatin1String("16:9") ? aspect : QString());

    FFMpeg->setInputFile(inputFile);
    FFMpeg->setOutputFile(outputFile);
    FFMpeg->setOverwrite(true);
    FFMpeg->setStartTime(start);
    FFMpeg->setDuration(length);
    FFMpeg->setOutputFormat(CurrentFormat);
    FFMpeg->setDisableVideo(!VideoProfile->HasVideo);

    FFMpeg->setVideoCodec(boxValue(ComboBoxVideoCodec));
    FFMpeg->setVideoBitrate(boxValue(comboBoxVideoBitrate, "k"));
    FFMpeg->setFrameRate(boxValue(comboBoxFrameRate));
    FFMpeg->setFrameSize(boxValue(comboBoxVideoSize));
    FFMpeg->setAudioCodec(boxValue(ComboBoxAudioCodec));
    FFMpeg->setAudioBitrate(boxValue(comboBoxAudioBitrate, "k"));
    FFMpeg->setSampleRate(boxValue(comboBoxSampleRate));
    FFMpeg->setChannels(boxValue(comboBoxChannel));

    QString command = FFMpeg->BuildCommandLine();
    QStringList words = FFMpeg->BuildArguments();

    // The asf muxer needs this tag; the encoder takes it after the output path.
    if (CurrentExtension == QLatin1String("asf")) {
        command += QLatin1String(" -vtag MP4S");
        words << QStringLiteral("-vtag") << QStringLiteral("MP4S");
    }

    const QString programDir = frmCommon ? frmCommon->ProgramDir : QString();
    command.prepend(programDir);
    words.first().prepend(programDir);

    if (frmCommon && frmCommon->ReadLogFileSetting())
        AppendLog(command);

    LastJobArguments = words;
    return command;
}
