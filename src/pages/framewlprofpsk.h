#pragma once
// Profile key sub-page for WPA-PSK: WPA mode, pre-shared key and the cipher that goes with the
// mode. A key is 8 to 63 characters of any kind or 64 hexadecimal digits (app/validation.h).

#include "shell/framebase.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class TPictureBox;
class TTrifaceBtn;

class TFrameWlProfPSK : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameWlProfPSK(QWidget* parent = nullptr);

    void InitFrame() override;
    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override;
    void EnterFrame(TFrameBase* from, int direction, LPARAM param) override;

    // The WPA mode chosen: LbCipherValue shows the cipher of the same code.
    void CmbWPAModeSelect();
    // True when the key in EdtPassphrase is acceptable; otherwise shows the refusal (focus in
    // EdtPassphrase) and gives false.
    bool CheckPassphrase();

    TPictureBox* ImgBG;
    QGroupBox* GBoxPSK;
    QLabel* LbWPAMode;
    QComboBox* CmbWPAMode;
    QLabel* LbPassphrase;
    QLineEdit* EdtPassphrase;
    QLabel* LbCipher;
    QLabel* LbCipherValue;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

    void BtnNextClick();
};
