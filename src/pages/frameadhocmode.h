#pragma once
// An ad hoc page (SSID and channel) that the wizard window holds but the navigation never
// reaches; its buttons do nothing.

#include "shell/framebase.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class TPictureBox;
class TTrifaceBtn;

class TFrameAdhocMode : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameAdhocMode(QWidget* parent = nullptr);

    void InitFrame() override;

    TPictureBox* ImgBG;
    QGroupBox* GBoxAdhocMode;
    QLabel* LbTitle;
    QLabel* LbSSID;
    QLineEdit* EdtSSID;
    QLabel* LbChannel;
    QComboBox* CmbChannel;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;
};
