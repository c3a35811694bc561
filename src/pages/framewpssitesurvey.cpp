#include "pages/framewpssitesurvey.h"

#include "app/debug.h"
#include "controls/imagebuttons.h"
#include "controls/smallcontrols.h"
#include "controls/sortlistview.h"
#include "pages/framewlprofkit.h"
#include "pages/surveylist.h"
#include "protocol/formudp.h"
#include "protocol/udpmessages.h"
#include "shell/formres.h"
#include "shell/pagekit.h"

#include <QGroupBox>

#include <vector>

TFrameWPSSiteSurvey::TFrameWPSSiteSurvey(QWidget* parent)
    : TFrameBase(parent)
{
    resize(553, 257);
    GroupBox1 = CreateWlGroupBox(this, "GroupBox1", QStringLiteral("WPS AP List"));
    GroupBox1->setGeometry(0, 0, 553, 257);
    SurveyList = CreateSurveyList(GroupBox1, QRect(8, 20, 537, 190));

    BtnRefresh = CreateWizardButton(this, "BtnRefresh", QStringLiteral("Refresh"), TButtonPlace::Left);
    BtnRefresh->SetBounds(460, 224, BUTTON_WIDTH, BUTTON_HEIGHT);
    connect(BtnRefresh, &TTrifaceBtn::clicked, this, &TFrameWPSSiteSurvey::BtnRefreshClick);

    PlSearch = CreateSearchPanel(GroupBox1, SurveyList);
}

TFrameWPSSiteSurvey::~TFrameWPSSiteSurvey()
{
    ClearSurveyRows(SurveyList);
}

void TFrameWPSSiteSurvey::InitFrame()
{
    if (FormRes) {
        FormRes->SetWizardButtonFaces(BtnRefresh);
        BtnRefresh->SetAutoShape(true);
    }
    TFrameBase::InitFrame();
}

LRESULT TFrameWPSSiteSurvey::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    HandleSurveyMessage(
        msg, wParam, lParam, [this] { FillList(); }, [this] { StartSearch(); });
    return TFrameBase::WndProc(msg, wParam, lParam);
}

void TFrameWPSSiteSurvey::StartSearch()
{
    StartSurveySearch(BtnRefresh, SurveyList, PlSearch);
}

void TFrameWPSSiteSurvey::FillList()
{
    // After a time-out: the WPS-capable entries of the last survey reply received, if any.
    std::vector<tag_AP_ROFIILE> entries;
    if (FormUDP) {
        FormUDP->GetWpsSurveyList(entries);
    }
    FillSurveyRows(SurveyList, entries, TSurveyTexts::PskCodesOnly);
    BtnRefresh->setEnabled(true);
    PlSearch->hide();
}

void TFrameWPSSiteSurvey::BtnRefreshClick()
{
    DebugPrint("TFrameWPSSiteSurvey::BtnRefreshClick(TObject *Sender)");
    StartSearch();
}
