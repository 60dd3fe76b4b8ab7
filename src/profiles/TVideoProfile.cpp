#include "profiles/TVideoProfile.h"

void TVideoProfile::LoadFromFile(const QString &) {}
void TVideoProfile::LoadFromLine(const QByteArray &) {}
QStringList TVideoProfile::SplitBy(const QString &text, const QString &separator) { return text.split(separator); }
