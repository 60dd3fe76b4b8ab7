#include "ui/TsuiSkinEngine.h"

void TsuiSkinEngine::setSkinFile(const QString &path) { m_skinFile = path; }
