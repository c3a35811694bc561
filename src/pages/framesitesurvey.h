#pragma once
// The site survey page of bridge mode: the access points the device hears, with signal, security
// and address, to join one by its profile (Connect), by Wi-Fi Protected Setup (WPS) or to enter
// the network by hand (Manual). Every entry into the page starts a new survey.

#include "shell/framebase.h"

class QGroupBox;
class QTreeWidgetItem;
class TPaintPanel;
class TPictureBox;
class TSortListView;
class TTrifaceBtn;

class TFrameSiteSurvey : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameSiteSurvey(QWidget* parent = nullptr);
    ~TFrameSiteSurvey() override;

    void InitFrame() override;
    // Clears the list.
    void DoneFrame() override;
    // Either direction: forgets the chosen access point, clears the list and clicks Refresh.
    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override;

    // The survey reply or time-out fills the list; an accepted login starts the survey.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // A login first when the engine is not logged in; otherwise the survey (7 s) under
    // "Searching...".
    void StartSearch();
    // Lists the engine's survey entries, sorted, and enables Refresh and WPS.
    void FillList();

    void BtnRefreshClick();
    void BtnNextClick();
    void BtnWPSClick();
    void BtnManualClick();
    void BtnBackClick();
    void BtnExitClick();
    void SurveyListSelectItem(QTreeWidgetItem* item, bool selected);
    void SurveyListColumnClick(int column);

    TPictureBox* ImgBG;
    QGroupBox* GroupBox1;
    TSortListView* SurveyList;
    TPaintPanel* PlSearch;
    TTrifaceBtn* BtnRefresh;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnManual;
    TTrifaceBtn* BtnWPS;
    TTrifaceBtn* BtnNext;
};
