#pragma once
// Gives the whole program the look of one skin file. A skin file is a Qt
// style sheet; loading one applies it to the application, so every window,
// the dialogs and message boxes included, is redrawn in the new look.

#include <QObject>
#include <QString>

class TsuiSkinEngine : public QObject
{
    Q_OBJECT
public:
    explicit TsuiSkinEngine(QObject *owner = nullptr) : QObject(owner) {}

    // The path handed over last, whether or not it could be loaded.
    QString SkinFile() const { return m_skinFile; }
    // The file whose look is in use; empty while the plain look shows.
    QString LoadedFile() const { return m_loadedFile; }

    // A missing file changes nothing and says nothing. A file that exists
    // but cannot be read (a folder, an unreadable file, bytes that are no
    // text) raises a ZError and leaves the look as it was.
    void setSkinFile(const QString &path);

private:
    QString m_skinFile;
    QString m_loadedFile;
};
