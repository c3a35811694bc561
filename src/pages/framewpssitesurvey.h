#pragma once
// The survey list of the WPS survey dialog: the access points that offer Wi-Fi Protected Setup,
// searched at every showing of the dialog and every Refresh.

#include "shell/framebase.h"

class QGroupBox;
class TPaintPanel;
class TSortListView;
class TTrifaceBtn;

class TFrameWPSSiteSurvey : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameWPSSiteSurvey(QWidget* parent = nullptr);
    // Clears the list.
    ~TFrameWPSSiteSurvey() override;

    // The Refresh button's faces from the image form, then the texts.
    void InitFrame() override;

    // Acts on the survey reply, an accepted login and any time-out; the rest is left alone.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // A login first when the engine is not logged in; otherwise the survey (7 s) under
    // "Searching...".
    void StartSearch();
    // Lists the engine's WPS-capable entries, sorted; enables Refresh.
    void FillList();
    // Writes its log line, then StartSearch.
    void BtnRefreshClick();

    QGroupBox* GroupBox1;
    TSortListView* SurveyList;
    TPaintPanel* PlSearch;
    TTrifaceBtn* BtnRefresh;
};
