#include "ui/TsuiSkinEngine.h"

#include "app/Errors.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

ZError cannotOpen(const QString &path, const QString &reason)
{
    return ZError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason), ZError::InOut);
}

} // namespace

void TsuiSkinEngine::setSkinFile(const QString &path)
{
    m_skinFile = path;
    const QFileInfo info(path);
    if (!info.exists())
        return;

    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        throw cannotOpen(path, info.isDir() ? QStringLiteral("Is a directory") : file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw cannotOpen(path, file.errorString());
    file.close();

    // A style sheet is UTF-8 text; anything else would be applied as garbage.
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString sheet = decoder.decode(bytes);
    if (decoder.hasError() || bytes.contains('\0'))
        throw cannotOpen(path, QStringLiteral("The file is not a skin file."));

    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance()))
        app->setStyleSheet(sheet);
    m_loadedFile = path;
}
