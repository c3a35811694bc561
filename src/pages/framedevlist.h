#pragma once
// The device list page: finds the access points on the network and lets the user pick one.
// Entering it going forward starts a discovery; when the engine's wait ends (or the 10 s fallback
// timer fires) the devices that answered are listed by name and MAC address. Configure copies the
// chosen device into g_Var, resets the four configurations and asks for the next page.

#include "protocol/codec/records.h"
#include "shell/framebase.h"

#include <vector>

class QGroupBox;
class QLabel;
class QTreeWidgetItem;
class TPaintPanel;
class TPictureBox;
class TSortListView;
class TTimer;
class TTrifaceBtn;

class TFrameDevList : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameDevList(QWidget* parent = nullptr);
    ~TFrameDevList() override;

    void InitFrame() override;
    void DoneFrame() override;
    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override;
    // UM_UDP_TIMEOUT while the search runs ends it at once.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    TPictureBox* ImgBG;
    QGroupBox* GBoxDevList;
    QLabel* LbDevListInfo;
    TSortListView* LvDevList;
    TTrifaceBtn* BtnRefresh;
    TPaintPanel* PlSearch;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnCfg;
    TTimer* TimerSearch;

    // The record of a row (owned by the page), or null.
    const tag_DEV_INFO* RowDevice(const QTreeWidgetItem* item) const;

    // Actions of the controls (public for tests).
    void BtnRefreshClick();
    void TimerSearchTimer();
    void BtnCfgClick();

private:
    void ClearDevList();
    void LvDevListSelectItem(QTreeWidgetItem* item, bool selected);
    void BtnExitClick();
    void BtnBackClick();

    // The rows' records; a row's data is its index here.
    std::vector<tag_DEV_INFO> m_devices;
};
