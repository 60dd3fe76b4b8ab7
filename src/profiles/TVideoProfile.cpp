#include "profiles/TVideoProfile.h"

#include "app/Errors.h"
#include "profiles/ProfileCipher.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace {

const char kSeparator[] = "[KESTRUN]";

// Appends the bytes up to the first LF or Ctrl-Z, leaving out every CR.
// Returns true once the end of the line has been seen.
bool appendLinePart(QByteArray &line, const char *data, qsizetype size)
{
    for (qsizetype at = 0; at < size; ++at) {
        const char c = data[at];
        if (c == '\n' || c == 26)
            return true;
        if (c != '\r')
            line.append(c);
    }
    return false;
}

ZError ioError(int err)
{
    return Errors::inOut(Errors::ioCodeFromErrno(err));
}

QByteArray readFirstLine(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw Errors::inOut(2);
    // Only regular files are read: a folder or a pipe named *.pf must not
    // block or be taken for a profile.
    if (!info.isFile())
        throw ioError(info.isDir() ? EISDIR : EACCES);
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        throw ioError(errno ? errno : EACCES);
    QByteArray line;
    char buffer[16384];
    for (;;) {
        errno = 0;
        const qint64 got = file.read(buffer, sizeof buffer);
        if (got < 0)
            throw ioError(errno ? errno : EIO);
        if (got == 0 || appendLinePart(line, buffer, got))
            break;
    }
    return line;
}

bool flag(const QString &field) { return field != QLatin1String("0"); }

// Item `index` of a split field; a missing one is the list-index error.
const QString &item(const QStringList &items, int index)
{
    if (index >= items.size())
        throw Errors::listIndex(index);
    return items.at(index);
}

void setTriple(const QString &field, QString &defaultValue, QString &values, bool &enabled)
{
    const QStringList items = TVideoProfile::SplitBy(field, QStringLiteral("|"));
    defaultValue = item(items, 0);
    values = item(items, 1);
    enabled = flag(item(items, 2));
}

} // namespace

QByteArray TVideoProfile::FirstLine(const QByteArray &fileBytes)
{
    QByteArray line;
    appendLinePart(line, fileBytes.constData(), fileBytes.size());
    return line;
}

void TVideoProfile::LoadFromFile(const QString &path)
{
    LoadFromLine(readFirstLine(path));
}

void TVideoProfile::LoadFromLine(const QByteArray &firstLine)
{
    const QByteArray line = firstLine.contains(kSeparator) ? firstLine : ProfileCipher::Decipher(firstLine);
    const QStringList fields = SplitBy(QString::fromUtf8(line), QLatin1String(kSeparator));
    auto field = [&fields](int index) -> const QString & { return item(fields, index); };

    ProfileName = field(0);
    Remark = field(1);
    Extension = field(2);
    FormatName = field(3);
    setTriple(field(4), VideoCodecDefault, VideoCodecValues, VideoCodecEnabled);
    setTriple(field(5), VideoBitrateDefault, VideoBitrateValues, VideoBitrateEnabled);
    setTriple(field(6), FrameRateDefault, FrameRateValues, FrameRateEnabled);
    setTriple(field(7), VideoSizeDefault, VideoSizeValues, VideoSizeEnabled);
    HasVideo = flag(field(8));
    setTriple(field(9), AudioCodecDefault, AudioCodecValues, AudioCodecEnabled);
    setTriple(field(10), AudioBitrateDefault, AudioBitrateValues, AudioBitrateEnabled);
    setTriple(field(11), SampleRateDefault, SampleRateValues, SampleRateEnabled);
    setTriple(field(12), ChannelsDefault, ChannelsValues, ChannelsEnabled);
    ReservedFlag = flag(field(13));
}

QStringList TVideoProfile::SplitBy(const QString &text, const QString &separator)
{
    QStringList items;
    if (separator.isEmpty())
        return {text};
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(separator, from);
        if (at < 0)
            break;
        items.append(text.mid(from, at - from));
        from = at + separator.size();
    }
    items.append(text.mid(from));
    return items;
}
