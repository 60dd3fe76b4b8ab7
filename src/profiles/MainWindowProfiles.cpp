// The format list and the setting boxes of the main window.
#include "mainwindow/TfrmMain.h"

#include "app/Errors.h"
#include "app/TextHelpers.h"
#include "app/TfrmCommon.h"
#include "profiles/TVideoProfile.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFileInfo>

void TfrmMain::ActionLoadProfileExecute()
{
    const QString folder = frmCommon->ProgramDir + QStringLiteral("profile/");

    // The listing order is the file system's; hidden and system entries
    // count, folders do not.
    QStringList paths;
    QDirIterator it(folder, {QStringLiteral("*.pf")},
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (it.fileInfo().isDir())
            continue;
        paths.append(it.filePath());
        QCoreApplication::processEvents();
    }

    ComboBoxFormatSelect->clear();
    try {
        for (const QString &path : paths) {
            VideoProfile->LoadFromFile(path);
            ComboBoxFormatSelect->addItem(
                VideoProfile->ProfileName + QStringLiteral("(*.") + VideoProfile->Extension + QLatin1Char(')'), path);
        }
    } catch (...) {
        // The entries so far stay, but none is selected or applied.
        ComboBoxFormatSelect->setCurrentIndex(-1);
        throw;
    }

    ComboBoxFormatSelect->setCurrentIndex(0);
    ActionChangeProfileExecute();
}

void TfrmMain::ActionChangeProfileExecute()
{
    const int index = ComboBoxFormatSelect->currentIndex();
    if (index < 0 || index >= ComboBoxFormatSelect->count())
        throw Errors::listIndex(index);
    const QString path = ComboBoxFormatSelect->itemData(index).toString();

    QCoreApplication::processEvents();
    VideoProfile->LoadFromFile(path);
    QCoreApplication::processEvents();

    const TVideoProfile &p = *VideoProfile;
    FillSettingBox(p.VideoCodecDefault, p.VideoCodecValues, ComboBoxVideoCodec, p.VideoCodecEnabled);
    FillSettingBox(p.VideoBitrateDefault, p.VideoBitrateValues, comboBoxVideoBitrate, p.VideoBitrateEnabled);
    FillSettingBox(p.FrameRateDefault, p.FrameRateValues, comboBoxFrameRate, p.FrameRateEnabled);
    FillSettingBox(p.VideoSizeDefault, p.VideoSizeValues, comboBoxVideoSize, p.VideoSizeEnabled);
    FillSettingBox(p.AudioCodecDefault, p.AudioCodecValues, ComboBoxAudioCodec, p.AudioCodecEnabled);
    FillSettingBox(p.AudioBitrateDefault, p.AudioBitrateValues, comboBoxAudioBitrate, p.AudioBitrateEnabled);
    FillSettingBox(p.SampleRateDefault, p.SampleRateValues, comboBoxSampleRate, p.SampleRateEnabled);
    FillSettingBox(p.ChannelsDefault, p.ChannelsValues, comboBoxChannel, p.ChannelsEnabled);

    CurrentFormat = p.FormatName;
    CurrentExtension = p.Extension;
}

void TfrmMain::ComboBoxFormatSelectChange() { ActionChangeProfile->trigger(); }

void TfrmMain::FillSettingBox(const QString &defaultValue, const QString &values, QComboBox *box, bool enabled)
{
    box->clear();
    const QStringList items = TextHelpers::SplitToList(values, QStringLiteral(";"));
    int selection = -1;
    for (int i = 0; i < items.size(); ++i) {
        // Compared before "-1" becomes "auto"; the last match wins.
        if (items.at(i) == defaultValue)
            selection = i;
        box->addItem(items.at(i) == QLatin1String("-1") ? QStringLiteral("auto") : items.at(i));
    }
    if (selection >= 0) {
        box->setCurrentIndex(selection);
    } else if (box->isEditable()) {
        // Shown as typed text, selecting nothing.
        box->setCurrentIndex(-1);
        box->setEditText(defaultValue);
    } else {
        // A pick-only box can only show an entry of its list.
        box->setCurrentIndex(box->findText(defaultValue, Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
    box->setEnabled(enabled);
}
