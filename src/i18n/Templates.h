#pragma once
// Message templates from the language file take one "%s". A faulty
// template (another conversion, more placeholders, none at all) must never
// crash or read garbage: the argument is placed at the first "%s" only,
// "%%" reads as "%", and everything else is shown as it stands.

#include <QString>

namespace Templates {

QString format(const QString &templ, const QString &argument);

} // namespace Templates
