#include "app/TextHelpers.h"

#include "app/Errors.h"
#include "app/IniFile.h"

namespace TextHelpers {

QStringList SplitToList(const QString &text, const QString &separator)
{
    QStringList list;
    QString rest = text;
    if (!separator.isEmpty()) {
        for (;;) {
            const int at = rest.indexOf(separator);
            if (at < 0)
                break;
            if (at > 0)
                list.append(rest.left(at));
            rest.remove(0, at + separator.size());
        }
    }
    if (!rest.isEmpty())
        list.append(rest);
    return list;
}

QString ExtractBetween(const QString &startMarker, const QString &endMarker, const QString &text)
{
    const int end = text.lastIndexOf(endMarker);
    if (end < 0)
        return QString();
    // The last start marker that ends at or before the end marker begins.
    const int from = end - startMarker.size();
    if (from < 0)
        return QString();
    const int start = text.lastIndexOf(startMarker, from);
    if (start < 0)
        return QString();
    const int valueStart = start + startMarker.size();
    return text.mid(valueStart, end - valueStart);
}

int StrToInt(const QString &text)
{
    int v;
    if (text.isEmpty() || !Ini::parseInteger(text.toLatin1(), v) || text.toLatin1() != text.toUtf8())
        throw Errors::convert(text);
    return v;
}

qint64 ClockTextToSeconds(const QString &text)
{
    if (text.isEmpty())
        return 0;
    const QStringList dot = SplitToList(text, QStringLiteral("."));
    if (dot.size() != 2)
        return 0;
    const QStringList hms = SplitToList(dot[0], QStringLiteral(":"));
    if (hms.size() != 3)
        return 0;
    const int h = StrToInt(hms[0]);
    const int m = StrToInt(hms[1]);
    const int s = StrToInt(hms[2]);
    StrToInt(dot[1]); // the fraction is only validated
    const quint32 total = static_cast<quint32>(h) * 3600u + static_cast<quint32>(m) * 60u + static_cast<quint32>(s);
    return static_cast<qint64>(static_cast<qint32>(total));
}

static QString twoDigits(qint64 v)
{
    return v < 10 ? QStringLiteral("0") + QString::number(v) : QString::number(v);
}

QString SecondsToClockText(qint64 seconds)
{
    const qint64 h = seconds / 3600;
    const qint64 m = (seconds - h * 3600) / 60;
    const qint64 s = seconds - h * 3600 - m * 60;
    return twoDigits(h) + QLatin1Char(':') + twoDigits(m) + QLatin1Char(':') + twoDigits(s);
}

QString Trim(const QString &text)
{
    int b = 0, e = text.size();
    while (b < e && text[b].unicode() <= 32)
        ++b;
    while (e > b && text[e - 1].unicode() <= 32)
        --e;
    return text.mid(b, e - b);
}

} // namespace TextHelpers
