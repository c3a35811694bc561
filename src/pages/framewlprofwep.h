#pragma once
// Profile key sub-page for WEP: key length, key and authentication. A key is accepted in its
// ASCII form (half the edit's character limit, any characters) or its hexadecimal form (the full
// limit, all hexadecimal digits, stored in upper case). The rules live in app/validation.h.

#include "shell/framebase.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class TPictureBox;
class TTrifaceBtn;

class TFrameWlProfWEP : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameWlProfWEP(QWidget* parent = nullptr);

    void InitFrame() override;
    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override;
    void EnterFrame(TFrameBase* from, int direction, LPARAM param) override;

    // The key length chosen: the character limit of EdtKey1 follows it and the key is emptied.
    void CmbWEPSelect();
    // The form of the key in EdtKey1 for key length L: 0 ASCII, 1 hexadecimal; -1 after showing
    // the refusal (focus in EdtKey1).
    int CheckKey(int keyLength);
    // The refusal text for key length L, with or without a hexadecimal fault.
    static QString KeyErrorText(int keyLength, bool hexFault);
    // The key of the edit as stored for the form (empty when it does not have that form).
    static QString NormalizedKey(const QLineEdit* edit, int form);

    TPictureBox* ImgBG;
    QGroupBox* GBoxWEP;
    QLabel* LbWEP;
    QComboBox* CmbWEP;
    QLabel* LbWEPKey;
    QLineEdit* EdtKey1;
    QLabel* LbAuthen;
    QComboBox* CmbAuthen;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

    void BtnNextClick();
};
