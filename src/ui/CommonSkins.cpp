// Skin choice of the shared-services object.
#include "app/TfrmCommon.h"
#include "ui/TsuiSkinEngine.h"

#include <array>

namespace {

// Skin index K (1 to 18) selects entry K - 1.
constexpr std::array<const char *, 18> SkinFiles = {
    "Calmness.ssk",   "DiamondBlue.ssk", "DiamondGreen.ssk", "GlassGreen.ssk", "Longhorn.ssk",
    "MacOS.ssk",      "MP10.ssk",        "MSN.ssk",          "OneBlue.ssk",    "Silver.ssk",
    "SportsBlack.ssk", "SportsBlue.ssk", "Midsummer.ssk",    "Emerald.ssk",    "Warm.ssk",
    "XPBlue.ssk",     "XPGreen.ssk",     "XPSilver.ssk",
};

} // namespace

QString TfrmCommon::SkinFileName(int index)
{
    if (index < 1 || index > int(SkinFiles.size()))
        return QStringLiteral("Silver.ssk");
    return QLatin1String(SkinFiles[size_t(index - 1)]);
}

void TfrmCommon::ApplySkin(int index) const
{
    LoadSkinFile(ProgramDir + QStringLiteral("skins/") + SkinFileName(index));
}

void TfrmCommon::LoadSkinFile(const QString &path) const
{
    if (skinEngine)
        skinEngine->setSkinFile(path);
}
