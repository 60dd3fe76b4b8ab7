// Skin choice of the shared-services object.
#include "app/TfrmCommon.h"
#include "ui/TsuiSkinEngine.h"

void TfrmCommon::ApplySkin(int) const {}
void TfrmCommon::LoadSkinFile(const QString &) const {}
QString TfrmCommon::SkinFileName(int) { return QStringLiteral("Silver.ssk"); }
