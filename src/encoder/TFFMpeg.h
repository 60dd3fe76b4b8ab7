#pragma once
// The encoder option set: one value per encoder option, rendered into one
// command line in a fixed order. It validates, quotes and escapes nothing.

#include "encoder/FFMpegOptions.h"

#include <QObject>
#include <QString>
#include <QStringList>

class TFFMpeg : public QObject
{
    Q_OBJECT
public:
    explicit TFFMpeg(QObject *owner = nullptr) : QObject(owner) {}

    enum Option {
#define X(n, text, name, kind) opt##name,
        ZENDREL_FFMPEG_OPTIONS(X)
#undef X
        optOutputFile,
        OptionCount
    };

    static QString ExecutableName() { return QStringLiteral("libm9s.exe"); }

#define ZENDREL_ACCESSOR_T(name) \
    QString name() const { return m_text[opt##name]; } \
    void set##name(const QString &v) { m_text[opt##name] = v; }
#define ZENDREL_ACCESSOR_F(name) \
    bool name() const { return m_flag[opt##name]; } \
    void set##name(bool v) { m_flag[opt##name] = v; }
#define X(n, text, name, kind) ZENDREL_ACCESSOR_##kind(name)
    ZENDREL_FFMPEG_OPTIONS(X)
#undef X
    ZENDREL_ACCESSOR_T(OutputFile)
#undef ZENDREL_ACCESSOR_T
#undef ZENDREL_ACCESSOR_F

    // The command line as one text, exactly as the option table spells it.
    QString BuildCommandLine() const;
    // The same command as words: "libm9s.exe", then each option word and each
    // value as one word, the output path last. Values with blanks stay whole.
    QStringList BuildArguments() const;

private:
    QString m_text[OptionCount];
    bool m_flag[OptionCount] = {};
};
