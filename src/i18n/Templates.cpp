#include "i18n/Templates.h"

namespace Templates {

QString format(const QString &templ, const QString &argument)
{
    QString out;
    out.reserve(templ.size() + argument.size());
    bool placed = false;
    for (int i = 0; i < templ.size(); ++i) {
        const QChar c = templ[i];
        if (c == QLatin1Char('%') && i + 1 < templ.size()) {
            const QChar next = templ[i + 1];
            if (next == QLatin1Char('%')) {
                out += QLatin1Char('%');
                ++i;
                continue;
            }
            if (next == QLatin1Char('s') && !placed) {
                out += argument;
                placed = true;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace Templates
