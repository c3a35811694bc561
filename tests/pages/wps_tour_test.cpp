// The screenshot tour of the WPS and survey pages: with QRX_SCREENSHOT_DIR set, the WPS page in
// access-point and bridge mode, the site survey page with a dozen networks, and the WPS survey
// dialog, rendered with the shipped settings file: FormMain_FrameWPSMethod1.png,
// FormMain_FrameWPSMethod1_Bridge.png, FormMain_FrameSiteSurvey1.png, FormWPSSurvey.png.
#include "sitesurvey_networks.h"
#include "wlprofile_fixture.h"

#include "app/ui/startup.h"
#include "controls/smallcontrols.h"
#include "controls/sortlistview.h"
#include "pages/formwpssurvey.h"
#include "pages/frameadhocmode.h"
#include "pages/framesitesurvey.h"
#include "pages/framewpsmethod.h"
#include "pages/framewpssitesurvey.h"
#include "pages/surveylist.h"
#include "protocol/udpmessages.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QRadioButton>
#include <QTreeWidgetItem>

namespace {

class WpsTourTest : public WlWizardTest
{
protected:
    QByteArray IniText() const override
    {
        QFile f(QStringLiteral(QRX_SOURCE_DIR "/dist/qrx-setup.ini"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("[Product]\r\n");
    }

    void SetUp() override
    {
        m_appFont = QApplication::font();
        InstallApplicationFont();
        WlWizardTest::SetUp();
    }
    void TearDown() override
    {
        WlWizardTest::TearDown();
        QApplication::setFont(m_appFont);
    }

    void Save(QWidget* w, const QString& name)
    {
        Pump();
        const QImage img = w->grab().toImage();
        const QString path = QDir(m_folder).filePath(name + QStringLiteral(".png"));
        EXPECT_TRUE(!img.isNull() && img.save(path)) << path.toStdString();
        m_written << path;
    }

    static void SelectRow(TSortListView* list, const QString& ssid)
    {
        for (int i = 0; i < list->RowCount(); ++i) {
            if (list->Row(i)->text(SURVEY_COL_SSID) == ssid) {
                list->setCurrentItem(list->Row(i));
                list->Row(i)->setSelected(true);
            }
        }
    }

    QString m_folder;
    QStringList m_written;
    QFont m_appFont;
};

TEST_F(WpsTourTest, RendersWpsPagesAndSurveys)
{
    m_folder = qEnvironmentVariable("QRX_SCREENSHOT_DIR");
    if (m_folder.isEmpty()) {
        GTEST_SKIP() << "QRX_SCREENSHOT_DIR not set";
    }
    ASSERT_TRUE(QDir().mkpath(m_folder));

    // Access-point mode, PIN method with the client's PIN typed.
    TFrameWPSMethod* wps = form->FrameWPSMethod1;
    g_Var.DeviceMode = DEVICE_AP;
    ASSERT_TRUE(form->SwitchTo(wps, WZ_DIR_FORWARD, 0));
    wps->RBtnPIN->click();
    Type(wps->EdtPIN, QStringLiteral("12345670"));
    Save(form.get(), QStringLiteral("FormMain_FrameWPSMethod1"));

    // Bridge mode: the chosen access point's SSID and the device's own PIN.
    ASSERT_TRUE(form->SwitchTo(form->FrameAdhocMode1, WZ_DIR_FORWARD, 0));
    g_Var.DeviceMode = DEVICE_WBRIDGE;
    g_Var.SelectedAP = surveytest::Entry(surveytest::Dozen().front());
    ASSERT_TRUE(form->SwitchTo(wps, WZ_DIR_FORWARD, 0));
    std::strcpy(g_Var.ApClientPIN, "76543210");
    wps->WndProc(UM_UDP_RECV, OP_STATION_GET_CONFIG, 1);
    wps->RBtnPIN->click();
    Save(form.get(), QStringLiteral("FormMain_FrameWPSMethod1_Bridge"));

    // The site survey page with a dozen networks, one flagged, one selected.
    TFrameSiteSurvey* survey = form->FrameSiteSurvey1;
    ASSERT_TRUE(form->SwitchTo(survey, WZ_DIR_FORWARD, 0));
    std::vector<tag_AP_ROFIILE> entries = surveytest::Entries();
    entries[1].EntryFlag = true; // CoffeeShop
    FillSurveyRows(survey->SurveyList, entries, TSurveyTexts::AllCodes);
    survey->PlSearch->hide();
    survey->BtnRefresh->setEnabled(true);
    survey->BtnWPS->setEnabled(true);
    SelectRow(survey->SurveyList, QStringLiteral("Printer"));
    Save(form.get(), QStringLiteral("FormMain_FrameSiteSurvey1"));

    // The WPS survey dialog with the networks that offer WPS, one selected.
    TFormWPSSurvey dialog;
    dialog.setAttribute(Qt::WA_DontShowOnScreen, true);
    dialog.show();
    std::vector<tag_AP_ROFIILE> wpsEntries;
    for (const tag_AP_ROFIILE& e : entries) {
        if (e.WPS) {
            wpsEntries.push_back(e);
        }
    }
    FillSurveyRows(dialog.FrameWPSSiteSurvey1->SurveyList, wpsEntries, TSurveyTexts::PskCodesOnly);
    dialog.FrameWPSSiteSurvey1->PlSearch->hide();
    SelectRow(dialog.FrameWPSSiteSurvey1->SurveyList, QStringLiteral("HomeNet"));
    Save(&dialog, QStringLiteral("FormWPSSurvey"));
    dialog.hide();
    EXPECT_EQ(m_written.size(), 4);
}

} // namespace
