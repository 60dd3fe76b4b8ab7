#include "app/IniFile.h"

#include "app/Errors.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

namespace {

QByteArray trimBlanks(const QByteArray &s)
{
    int b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    return s.mid(b, e - b);
}

bool sameName(const QByteArray &a, const QString &b)
{
    return QString::fromUtf8(a).compare(b, Qt::CaseInsensitive) == 0;
}

// One physical line of the file, with its parsed meaning.
struct Line
{
    QByteArray text;    // without the line break
    QByteArray section; // set when the line opens a section
    bool isSection = false;
    QByteArray key;     // set when the line holds key=value
    QByteArray value;
    bool isKey = false;
};

QList<Line> parse(const QByteArray &data)
{
    QList<Line> lines;
    const QList<QByteArray> raw = data.split('\n');
    for (int i = 0; i < raw.size(); ++i) {
        if (i == raw.size() - 1 && raw[i].isEmpty())
            break; // the text after the last line break
        Line l;
        l.text = raw[i];
        if (l.text.endsWith('\r'))
            l.text.chop(1);
        const QByteArray t = trimBlanks(l.text);
        if (t.startsWith('[')) {
            const int close = t.indexOf(']');
            if (close > 0) {
                l.isSection = true;
                l.section = trimBlanks(t.mid(1, close - 1));
            }
        } else if (!t.startsWith(';')) {
            const int eq = t.indexOf('=');
            if (eq > 0) {
                l.isKey = true;
                l.key = trimBlanks(t.left(eq));
                l.value = t.mid(eq + 1);
            }
        }
        lines.append(l);
    }
    return lines;
}

QByteArray cleanValue(QByteArray v)
{
    v = trimBlanks(v);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    if (v.size() > Ini::MaxValueBytes)
        v.truncate(Ini::MaxValueBytes);
    return v;
}

// Index of the first line of the named section, or -1.
int findSection(const QList<Line> &lines, const QString &section)
{
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].isSection && sameName(lines[i].section, section))
            return i;
    return -1;
}

} // namespace

namespace Ini {

QByteArray readBytes(const QString &path, const QString &section, const QString &key,
                     const QByteArray &defaultValue)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return defaultValue;
    const QList<Line> lines = parse(f.readAll());
    f.close();
    const int s = findSection(lines, section);
    if (s < 0)
        return defaultValue;
    for (int i = s + 1; i < lines.size() && !lines[i].isSection; ++i)
        if (lines[i].isKey && sameName(lines[i].key, key))
            return cleanValue(lines[i].value);
    return defaultValue;
}

QString readString(const QString &path, const QString &section, const QString &key,
                   const QString &defaultValue)
{
    return QString::fromUtf8(readBytes(path, section, key, defaultValue.toUtf8()));
}

bool parseInteger(const QByteArray &text, int &out)
{
    QByteArray s = text;
    bool negative = false;
    if (s.startsWith('-') || s.startsWith('+')) {
        negative = s.startsWith('-');
        s.remove(0, 1);
    }
    int base = 10;
    if (s.startsWith("0x") || s.startsWith("0X")) {
        base = 16;
        s.remove(0, 2);
    } else if (s.startsWith('$')) {
        base = 16;
        s.remove(0, 1);
    }
    if (s.isEmpty())
        return false;
    qint64 v = 0;
    for (char c : s) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = v * base + d;
        if (v > 0xFFFFFFFFLL)
            return false;
    }
    if (base == 10 && v > (negative ? 2147483648LL : 2147483647LL))
        return false;
    // Hexadecimal texts fill the 32-bit word, as the platform's reader does.
    qint64 signedValue = negative ? -v : v;
    out = static_cast<int>(static_cast<quint32>(static_cast<quint64>(signedValue)));
    return true;
}

int readInteger(const QString &path, const QString &section, const QString &key, int defaultValue)
{
    const QByteArray v = readBytes(path, section, key, QByteArray());
    int out;
    return parseInteger(v, out) ? out : defaultValue;
}

void writeString(const QString &path, const QString &section, const QString &key, const QString &value)
{
    QByteArray data;
    QFile in(path);
    const bool exists = in.exists();
    if (exists) {
        if (!in.open(QIODevice::ReadOnly))
            throw Errors::unableToWrite(path);
        data = in.readAll();
        in.close();
    }
    const QByteArray eol = data.contains("\r\n") ? QByteArray("\r\n") : QByteArray("\n");
    QList<Line> lines = parse(data);
    const QByteArray newLine = key.toUtf8() + '=' + value.toUtf8();

    const int s = findSection(lines, section);
    if (s < 0) {
        if (!lines.isEmpty() && !trimBlanks(lines.back().text).isEmpty())
            lines.append(Line{});
        Line head;
        head.text = '[' + section.toUtf8() + ']';
        lines.append(head);
        Line kv;
        kv.text = newLine;
        lines.append(kv);
    } else {
        int found = -1, lastContent = s;
        int i = s + 1;
        for (; i < lines.size() && !lines[i].isSection; ++i) {
            if (!trimBlanks(lines[i].text).isEmpty())
                lastContent = i;
            if (found < 0 && lines[i].isKey && sameName(lines[i].key, key))
                found = i;
        }
        Line kv;
        kv.text = newLine;
        if (found >= 0)
            lines[found] = kv;
        else
            lines.insert(lastContent + 1, kv);
    }

    QByteArray out;
    for (const Line &l : lines)
        out += l.text + eol;

    // A write-protected file stays as it is, even in a writable folder.
    if (exists && !QFileInfo(path).isWritable())
        throw Errors::unableToWrite(path);
    QSaveFile f(path);
    f.setDirectWriteFallback(true);
    if (!f.open(QIODevice::WriteOnly) || f.write(out) != out.size() || !f.commit())
        throw Errors::unableToWrite(path);
}

void writeInteger(const QString &path, const QString &section, const QString &key, int value)
{
    writeString(path, section, key, QString::number(value));
}

} // namespace Ini
