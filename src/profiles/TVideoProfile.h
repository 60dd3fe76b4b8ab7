#pragma once
// One output profile: a line of fields separated by "[KESTRUN]", stored
// plain or DES-enciphered in a ".pf" file.

#include <QObject>
#include <QString>
#include <QStringList>

class TVideoProfile : public QObject
{
    Q_OBJECT
public:
    explicit TVideoProfile(QObject *owner = nullptr) : QObject(owner) {}

    // Reads the file's first line into the fields, in field order. Raises on
    // failure; fields set before the failure keep their new values.
    void LoadFromFile(const QString &path);
    // Same, from the first line's bytes (used by LoadFromFile and the fuzzer).
    void LoadFromLine(const QByteArray &line);
    // The first line of a file's bytes: up to the first LF or Ctrl-Z, every
    // CR left out.
    static QByteArray FirstLine(const QByteArray &fileBytes);

    // Splits at every separator, empty items kept (always at least one item).
    static QStringList SplitBy(const QString &text, const QString &separator);

    QString ProfileName;
    QString Remark;
    QString Extension;
    QString FormatName;
    QString VideoCodecDefault, VideoCodecValues;
    QString VideoBitrateDefault, VideoBitrateValues;
    QString FrameRateDefault, FrameRateValues;
    QString VideoSizeDefault, VideoSizeValues;
    QString AudioCodecDefault, AudioCodecValues;
    QString AudioBitrateDefault, AudioBitrateValues;
    QString SampleRateDefault, SampleRateValues;
    QString ChannelsDefault, ChannelsValues;
    bool VideoCodecEnabled = false;
    bool VideoBitrateEnabled = false;
    bool FrameRateEnabled = false;
    bool VideoSizeEnabled = false;
    bool HasVideo = false;
    bool AudioCodecEnabled = false;
    bool AudioBitrateEnabled = false;
    bool SampleRateEnabled = false;
    bool ChannelsEnabled = false;
    bool ReservedFlag = false;
};
