#pragma once
// The splash window: fades in, shows the splash bitmap, fades out. Hidden,
// not destroyed, when closed.

#include <QLabel>
#include <QWidget>

class TfrmSplash : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget *parent = nullptr);
    ~TfrmSplash() override;

    QLabel *imageSplash = nullptr;

    // Length of each fade in milliseconds.
    static int FadeMilliseconds;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void fade(double from, double to);
    void loadBitmap();
};

extern TfrmSplash *frmSplash;
