#pragma once
// Every key of the language file with the text it feeds, in reading order.
// The loader walks this table; the checks of the shipped language files
// use it too, so the two can never disagree about which keys exist.

#include <QList>
#include <QString>
#include <functional>

class TfrmMain;

namespace LanguageKeys {

struct Row
{
    QString section;
    QString key;
    // Puts the text into its target (a caption, an action, a held text ...).
    // Targets in a dialog that does not exist are left alone.
    std::function<void(TfrmMain &main, const QString &text)> apply;
};

// All rows: section App, then frmMain, frmDirectory, frmBatchAdd,
// frmOverWrite, frmUnSupportFormat and frmHelpDialog.
const QList<Row> &rows();

// The section names in reading order.
QStringList sections();

} // namespace LanguageKeys
