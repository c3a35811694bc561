#include "pages/framesitesurvey.h"

#include "app/debug.h"
#include "app/globalvar.h"
#include "controls/imagebuttons.h"
#include "controls/smallcontrols.h"
#include "controls/sortlistview.h"
#include "pages/framewlprofkit.h"
#include "pages/surveylist.h"
#include "protocol/formudp.h"
#include "protocol/udpmessages.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

#include <QGroupBox>

#include <vector>

namespace {

// The five page buttons along the bottom edge, 92 pixels apart, the last at the usual Next place.
int BottomButtonLeft(int slot)
{
    return ButtonPlaceLeft(TButtonPlace::Right) - (4 - slot) * 92;
}

} // namespace

TFrameSiteSurvey::TFrameSiteSurvey(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, PAGE_HEIGHT);
    ImgBG = CreatePageBackground(this);

    GroupBox1 = CreateWlGroupBox(this, "GroupBox1", QStringLiteral("Site Survey"));
    SurveyList = CreateSurveyList(GroupBox1, QRect(16, 24, 544, 212));
    connect(SurveyList, &TSortListView::SelectItem, this, &TFrameSiteSurvey::SurveyListSelectItem);
    connect(SurveyList, &TSortListView::ColumnClick, this, &TFrameSiteSurvey::SurveyListColumnClick);
    // A double click does nothing.

    BtnRefresh = CreateWizardButton(GroupBox1, "BtnRefresh", QStringLiteral("Refresh"), TButtonPlace::Left);
    BtnRefresh->SetBounds(475, 244, BUTTON_WIDTH, BUTTON_HEIGHT);
    connect(BtnRefresh, &TTrifaceBtn::clicked, this, &TFrameSiteSurvey::BtnRefreshClick);

    // Shown until the first survey has been listed.
    PlSearch = CreateSearchPanel(GroupBox1, SurveyList);

    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Left);
    BtnManual = CreateWizardButton(this, "BtnManual", QStringLiteral("Manual"), TButtonPlace::Left);
    BtnWPS = CreateWizardButton(this, "BtnWPS", QStringLiteral("WPS"), TButtonPlace::Left);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Connect"), TButtonPlace::Right);
    TTrifaceBtn* const order[] = { BtnExit, BtnBack, BtnManual, BtnWPS, BtnNext };
    for (int i = 0; i < 5; ++i) {
        order[i]->SetBounds(BottomButtonLeft(i), BUTTON_TOP, BUTTON_WIDTH, BUTTON_HEIGHT);
    }
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameSiteSurvey::BtnExitClick);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFrameSiteSurvey::BtnBackClick);
    connect(BtnManual, &TTrifaceBtn::clicked, this, &TFrameSiteSurvey::BtnManualClick);
    connect(BtnWPS, &TTrifaceBtn::clicked, this, &TFrameSiteSurvey::BtnWPSClick);
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameSiteSurvey::BtnNextClick);
}

TFrameSiteSurvey::~TFrameSiteSurvey()
{
    ClearSurveyRows(SurveyList);
}

void TFrameSiteSurvey::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext, BtnWPS, BtnRefresh, BtnManual });
    TFrameBase::InitFrame();
}

void TFrameSiteSurvey::DoneFrame()
{
    ClearSurveyRows(SurveyList);
    TFrameBase::DoneFrame();
}

bool TFrameSiteSurvey::CanEnter(TFrameBase* from, int direction, LPARAM param)
{
    g_Var.SelectedAP = tag_AP_ROFIILE {};
    ClearSurveyRows(SurveyList);
    // The click runs whatever state the button is in, as a programmatic click does.
    BtnRefreshClick();
    return TFrameBase::CanEnter(from, direction, param);
}

LRESULT TFrameSiteSurvey::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    HandleSurveyMessage(
        msg, wParam, lParam, [this] { FillList(); }, [this] { StartSearch(); });
    return TFrameBase::WndProc(msg, wParam, lParam);
}

void TFrameSiteSurvey::StartSearch()
{
    StartSurveySearch(BtnRefresh, SurveyList, PlSearch);
}

void TFrameSiteSurvey::FillList()
{
    // After a time-out these are the entries of the last survey reply received, if any.
    std::vector<tag_AP_ROFIILE> entries;
    if (FormUDP) {
        FormUDP->GetSurveyList(entries);
    }
    FillSurveyRows(SurveyList, entries, TSurveyTexts::AllCodes);
    BtnRefresh->setEnabled(true);
    BtnWPS->setEnabled(true);
    PlSearch->hide();
    if (g_Var.NonWorking) {
        BtnNext->setEnabled(true);
    }
}

void TFrameSiteSurvey::BtnRefreshClick()
{
    SurveyList->clearSelection();
    BtnNext->setEnabled(false);
    BtnWPS->setEnabled(false);
    StartSearch();
}

void TFrameSiteSurvey::SurveyListSelectItem(QTreeWidgetItem* /*item*/, bool /*selected*/)
{
    BtnNext->setEnabled(true);
}

void TFrameSiteSurvey::SurveyListColumnClick(int column)
{
    // The list has already moved its sort column or turned its direction.
    if (column > 0) {
        SurveyList->SortRows();
    }
}

void TFrameSiteSurvey::BtnNextClick()
{
    g_Var.WlMethod = 1;
    if (g_Var.NonWorking) {
        g_Var.SelectedAP = DemonstrationEntry();
        PostWizard(WZ_NEXT);
        return;
    }
    tag_AP_ROFIILE entry {};
    if (SelectedSurveyEntry(SurveyList, entry)) {
        g_Var.SelectedAP = entry;
        PostWizard(WZ_NEXT);
    }
}

void TFrameSiteSurvey::BtnWPSClick()
{
    g_Var.WlMethod = 0;
    if (g_Var.NonWorking) {
        g_Var.SelectedAP = DemonstrationEntry();
        PostWizard(WZ_NEXT);
        return;
    }
    tag_AP_ROFIILE entry {};
    if (SelectedSurveyEntry(SurveyList, entry)) {
        g_Var.SelectedAP = entry;
    }
    PostWizard(WZ_NEXT);
}

void TFrameSiteSurvey::BtnManualClick()
{
    g_Var.WlMethod = 2;
    PostWizard(WZ_NEXT);
}

void TFrameSiteSurvey::BtnBackClick()
{
    PostWizard(WZ_BACK);
}

void TFrameSiteSurvey::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}
