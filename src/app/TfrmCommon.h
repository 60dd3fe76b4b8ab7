#pragma once
// The shared-services object: program folder, per-language locations,
// settings accessors, shell and web operations. Created first, never shown.

#include <QString>
#include <QWidget>
#include <functional>

class TsuiSkinEngine;

class TfrmCommon : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmCommon(QWidget *parent = nullptr);
    ~TfrmCommon() override;

    // Fixed by InitCommon, never changed afterwards.
    QString ProgramDir; // ends in "/"
    QString ConfigFile;
    int LanguageIndex = 2;
    QString LanguageFile;
    QString SplashFile;
    QString HelpFile;
    QString HomePageURL;
    QString SupportAddress;
    QString FeedbackURL;
    QString OnlineHelpURL;
    QString CodecsURL;
    QString ErrorReportURL;

    void InitCommon();

    // Settings accessors: each opens config.ini, reads or writes one key.
    int ReadSkinIndex() const;
    void WriteSkinIndex(int index) const;
    bool ReadDisplayHelpDialog() const;
    void WriteDisplayHelpDialog(int value) const;
    bool ReadLogFileSetting() const;

    // Installs the encoder from its carrier; false when nothing was written.
    static bool ExtractEncoder(const QString &carrierPath, const QString &targetPath);

    // Shell "open" of a path, web address or mailto link; fire and forget.
    void ShellOpen(const QString &target) const;
    void OpenLocalHelp() const;
    void OpenHomePage() const;
    void OpenSupportMail() const;
    void OpenFeedbackPage() const;
    void OpenWebHelp() const;
    void OpenProductPage(int number) const; // 1 to 7
    QString ProductPageURL(int number) const;
    void RunUpdater() const;

    // Skins.
    void ApplySkin(int index) const;
    void LoadSkinFile(const QString &path) const;
    static QString SkinFileName(int index);

    // Unsupported-format dialog services.
    void OpenCodecsPage(const QString &formats) const;
    QString SendErrorReport(const QString &userName, const QString &userEmail, const QString &orderId,
                            const QString &debugInfo) const;
    QString ReadProductName() const;

    // Test seams: a program folder other than the executable's, a
    // replacement for the shell "open" and for ending the program.
    static void setProgramDirOverride(const QString &dir);
    static std::function<void(const QString &)> &shellOpenHook();
    static std::function<void()> &quitHook();

    TsuiSkinEngine *skinEngine = nullptr; // the main window's, set by it
};

extern TfrmCommon *frmCommon;
