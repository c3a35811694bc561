#pragma once
// The WPS survey dialog of the WPS page in bridge mode: lists the access points that offer
// Wi-Fi Protected Setup and hands the chosen one's SSID back. The WPS page creates one for each
// use, passes it every engine message while it is open (ForwardMessage) and destroys it after.

#include "platform/core/messages.h"

#include <QDialog>
#include <QString>

class TFrameWPSSiteSurvey;
class TTrifaceBtn;

class TFormWPSSurvey : public QDialog
{
    Q_OBJECT
public:
    explicit TFormWPSSurvey(QWidget* owner = nullptr);
    ~TFormWPSSurvey() override;

    // Centres the dialog over the window that holds caller (the application's main window when
    // there is none), shows it modally and returns its modal result: 1 Select, 2 Cancel or the
    // close box, 0 when the showing failed.
    int ExecuteCentered(QWidget* caller);
    // The SSID of the selected row's entry; empty when no row is selected.
    QString SelectedSSID() const;
    // Posts the message, as it is, to the embedded frame.
    void ForwardMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    void FormShow();
    void BtnSelectClick();
    void BtnCancelClick();
    void FrameWPSSiteSurvey1BtnRefreshClick();

    TFrameWPSSiteSurvey* FrameWPSSiteSurvey1;
    TTrifaceBtn* BtnSelect;
    TTrifaceBtn* BtnCancel;

public Q_SLOTS:
    // The close box and Escape close with Cancel.
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
};

// The instance start-up creates; the pages never use it.
extern TFormWPSSurvey* FormWPSSurvey;
