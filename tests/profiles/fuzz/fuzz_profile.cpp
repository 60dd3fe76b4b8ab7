// Fuzz target: any file content through the profile reader, plus the
// cipher's own invariants. Failures must be ZError, never a crash.
#include "app/Errors.h"
#include "profiles/ProfileCipher.h"
#include "profiles/TVideoProfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray line = TVideoProfile::FirstLine(bytes);

    TVideoProfile profile;
    try {
        profile.LoadFromLine(line);
    } catch (const ZError &) {
    }

    // Enciphering any text and reading it back gives the text again.
    if (ProfileCipher::Decipher(ProfileCipher::Encipher(line)) != line)
        std::abort();

    // Splitting loses nothing: joining the items gives the text back.
    const QString text = QString::fromUtf8(line);
    if (TVideoProfile::SplitBy(text, QStringLiteral("|")).join(QLatin1Char('|')) != text)
        std::abort();
    return 0;
}
