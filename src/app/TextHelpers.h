#pragma once
// Small text and clock-time helpers shared by the profile list and the
// progress display.

#include <QString>
#include <QStringList>

namespace TextHelpers {

// Splits at every Separator and drops empty parts.
QStringList SplitToList(const QString &text, const QString &separator);
// The value of the last complete StartMarker..EndMarker pair, or "".
QString ExtractBetween(const QString &startMarker, const QString &endMarker, const QString &text);
// "h:m:s.f" to seconds; a text not of that form gives 0; parts that are no
// whole numbers raise a conversion error. 32-bit arithmetic, wrapping.
qint64 ClockTextToSeconds(const QString &text);
// Seconds to "hh:mm:ss" (at least two digits each).
QString SecondsToClockText(qint64 seconds);
// Removes blanks and control characters (code <= 32) from both ends.
QString Trim(const QString &text);
// The platform's decimal text-to-integer conversion; raises a conversion error.
int StrToInt(const QString &text);

} // namespace TextHelpers
