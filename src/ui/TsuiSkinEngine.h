#pragma once
// Gives the whole program the look of one skin file (a Qt style sheet).

#include <QObject>
#include <QString>

class TsuiSkinEngine : public QObject
{
    Q_OBJECT
public:
    explicit TsuiSkinEngine(QObject *owner = nullptr) : QObject(owner) {}

    QString SkinFile() const { return m_skinFile; }
    // A missing file changes nothing; an unreadable one raises.
    void setSkinFile(const QString &path);

private:
    QString m_skinFile;
};
