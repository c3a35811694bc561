#pragma once
// Profile sub-page 3: the security mode. Proposes "None" in access-point mode and the chosen
// access point's security in bridge mode; choosing "None" resets the key fields of the profile.

#include "shell/framebase.h"

class QComboBox;
class QGroupBox;
class QLabel;
class TPictureBox;
class TTrifaceBtn;
struct tag_AP_ROFIILE;

class TFrameWlProfSecurity : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameWlProfSecurity(QWidget* parent = nullptr);

    void InitFrame() override;
    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override;

    // The security mode proposed for a surveyed access point: 0 open, 1 WEP, 2 for the
    // pre-shared-key kinds of authentication, 0 for any other.
    static int ProposedSecurity(const tag_AP_ROFIILE& ap);

    TPictureBox* ImgBG;
    QGroupBox* GBoxSecurity;
    QLabel* LbSecurity;
    QComboBox* CmbSecurity;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

    void BtnNextClick();
};
