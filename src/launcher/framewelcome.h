#pragma once
// The welcome page: the navigation never shows it; Start would lead on to the licence page. Its
// hidden user guide button (shown through [FormMain_FrameWelcome1_Visible] BtnUG) opens the guide
// with an installer watch of its own.

#include "launcher/installerwatch.h"
#include "shell/framebase.h"

#include <memory>

class QGroupBox;
class QLabel;
class TPictureBox;
class TTimer;
class TTrifaceBtn;

class TFrameWelcome : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameWelcome(QWidget* parent = nullptr);
    ~TFrameWelcome() override;

    void InitFrame() override;

    TPictureBox* ImgBG;
    QGroupBox* GBoxWelcome;
    QLabel* LbInfo1;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnStart;
    TTrifaceBtn* BtnUG;
    TTimer* TimerInstAcrobat;

    CInstallerWatch& InstallerWatch() { return *m_watch; }

    void BtnExitClick();
    void BtnStartClick();
    void BtnUGClick();

private:
    std::unique_ptr<CInstallerWatch> m_watch;
};
