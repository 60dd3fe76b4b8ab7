// Applies the texts of the language file to every window.
#include "mainwindow/TfrmMain.h"

#include "app/IniFile.h"
#include "i18n/LanguageKeys.h"
#include "ui/TfrmHelpDialog.h"

namespace {

// Language files are UTF-8. A value cut at the byte limit may end inside a
// character; that broken tail is dropped rather than shown as a bad glyph.
QString decodeValue(QByteArray bytes)
{
    int i = bytes.size() - 1;
    int continuation = 0;
    while (i >= 0 && continuation < 3 && (uchar(bytes[i]) & 0xC0) == 0x80) {
        --i;
        ++continuation;
    }
    if (i >= 0) {
        const uchar lead = uchar(bytes[i]);
        const int need = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        if (lead >= 0xC0 && continuation < need)
            bytes.truncate(i);
    }
    return QString::fromUtf8(bytes);
}

} // namespace

void TfrmMain::LoadLanguage(const QString &languageFile)
{
    // Every row is read and applied in turn; a missing file, section or key
    // reads as empty and blanks its target like any other text.
    for (const LanguageKeys::Row &row : LanguageKeys::rows())
        row.apply(*this, decodeValue(Ini::readBytes(languageFile, row.section, row.key)));
    if (frmHelpDialog)
        frmHelpDialog->update();
}
