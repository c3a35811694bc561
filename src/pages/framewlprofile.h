#pragma once
// The wireless profile host: embeds the profile sub-pages at one spot, shows one at a time and
// steps between them. Forward: SSID -> wireless mode -> security -> (WEP or PSK key) ->
// confirmation -> leave to the success page. Back retraces the sub-pages actually visited, since
// each sub-page remembers (PrevPage) the one it was entered from going forward. The engine's
// messages that reach the host go on to the sub-page on show.

#include "shell/framebase.h"

class TFrameWlProfSSID;
class TFrameWlProfSecurity;
class TFrameWlProfWEP;
class TFrameWlProfPSK;
class TFrameWlProfConfirm;
class TFrameWlProfWlMode;
class TFrameWlProfBand;

class TFrameWlProfile : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameWlProfile(QWidget* parent = nullptr);

    void InitFrame() override;
    void DoneFrame() override;
    void EnterFrame(TFrameBase* from, int direction, LPARAM param) override;

    // UM_UDP_RECV, UM_UDP_TIMEOUT and UM_UDP_EVENT go on at once to the sub-page on show.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // NextSubPage when forward, PrevSubPage otherwise: true when the wizard leaves the host.
    virtual bool StepSubPage(bool forward);
    // Shows page (null: none) in the direction; false when page refuses to be entered.
    bool ShowSubPage(TFrameBase* page, int direction);
    // One sub-page on; true only past the confirmation page.
    bool NextSubPage();
    // One sub-page back; true before the first.
    bool PrevSubPage();

    // The sub-page on show, or null.
    TFrameBase* SubPage() const { return m_subPage; }
    // The embedded sub-pages in creation order.
    QList<TFrameBase*> SubPages() const;

    TFrameWlProfSSID* FrameWlProfSSID1;
    TFrameWlProfSecurity* FrameWlProfSecurity1;
    TFrameWlProfWEP* FrameWlProfWEP1;
    TFrameWlProfPSK* FrameWlProfPSK1;
    TFrameWlProfConfirm* FrameWlProfConfirm1;
    TFrameWlProfWlMode* FrameWlProfWlMode1;
    TFrameWlProfBand* FrameWlProfBand1; // never shown

private:
    TFrameBase* m_subPage = nullptr;
};
