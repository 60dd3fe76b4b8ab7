#pragma once
// Zendrel's own initialisation-file access with the Windows rules: section
// and key names compared without regard to case, blanks and one pair of
// enclosing quotes dropped from values, at most 2047 bytes of a value,
// integers in decimal or "0x" hexadecimal, a missing file reads as defaults.
// Every call opens and closes the file; nothing is cached. A write changes
// one key and keeps every other line as it was.

#include <QByteArray>
#include <QString>

namespace Ini {

constexpr int MaxValueBytes = 2047;

// The raw value bytes, or defaultValue when the file, section or key is missing.
QByteArray readBytes(const QString &path, const QString &section, const QString &key,
                     const QByteArray &defaultValue = {});
// The value as UTF-8 text.
QString readString(const QString &path, const QString &section, const QString &key,
                   const QString &defaultValue = {});
// A missing key or a value that is no whole number gives defaultValue.
int readInteger(const QString &path, const QString &section, const QString &key, int defaultValue);

// Throws "Unable to write to <path>" when the file cannot be written.
void writeString(const QString &path, const QString &section, const QString &key, const QString &value);
void writeInteger(const QString &path, const QString &section, const QString &key, int value);

// Whole-number reading of the settings layer: optional sign, decimal digits,
// or "0x"/"$" hexadecimal; nothing else. Returns false for anything else.
bool parseInteger(const QByteArray &text, int &out);

} // namespace Ini
