#include "encoder/TFFMpeg.h"

namespace {

struct Row
{
    int number;
    const char *text;
    TFFMpeg::Option option;
    bool isText;
};

constexpr bool T = true;
constexpr bool F = false;
const Row rows[] = {
#define X(n, text, name, kind) {n, text, TFFMpeg::opt##name, kind},
    ZENDREL_FFMPEG_OPTIONS(X)
#undef X
};

bool inVideoGroup(int number) { return number >= 7 && number <= 65; }

} // namespace

// Both renderings walk the same rows, so the words always match the text.
template <typename EmitText, typename EmitFlag>
static void walkOptions(const QString *text, const bool *flag, EmitText emitText, EmitFlag emitFlag)
{
    const bool videoOff = flag[TFFMpeg::optDisableVideo];
    for (const Row &r : rows) {
        if (videoOff && inVideoGroup(r.number))
            continue;
        if (r.isText) {
            if (!text[r.option].isEmpty())
                emitText(r.text, text[r.option]);
        } else if (flag[r.option]) {
            emitFlag(r.text);
        }
    }
}

QString TFFMpeg::BuildCommandLine() const
{
    QString result = ExecutableName();
    walkOptions(
        m_text, m_flag,
        [&](const char *pattern, const QString &value) { result += QString::fromLatin1(pattern).replace(QLatin1String("%s"), value); },
        [&](const char *textOfFlag) { result += QLatin1String(textOfFlag); });
    if (!m_text[optOutputFile].isEmpty())
        result += QLatin1Char(' ') + m_text[optOutputFile];
    return result;
}

QStringList TFFMpeg::BuildArguments() const
{
    QStringList words{ExecutableName()};
    walkOptions(
        m_text, m_flag,
        [&](const char *pattern, const QString &value) {
            words << QString::fromLatin1(pattern).trimmed().section(QLatin1Char(' '), 0, 0) << value;
        },
        [&](const char *textOfFlag) { words << QString::fromLatin1(textOfFlag).trimmed(); });
    if (!m_text[optOutputFile].isEmpty())
        words << m_text[optOutputFile];
    return words;
}
