// The WPS survey dialog, opened by Select on the WPS page in bridge mode against the emulator:
// only the networks that offer WPS, the dialog's texts of the authentication codes, centred over
// the wizard window, Select / Cancel / close box, Refresh, a survey without answer, login first.
// The dialog is modal: each test acts on it from a queued call while the page waits in Select.
#include "page_fixture.h"
#include "sitesurvey_networks.h"

#include "app/globalvar.h"
#include "app/ui/startup.h"
#include "controls/imagebuttons.h"
#include "controls/smallcontrols.h"
#include "controls/sortlistview.h"
#include "pages/formwpssurvey.h"
#include "pages/framewpsmethod.h"
#include "pages/framewpssitesurvey.h"
#include "pages/surveylist.h"
#include "protocol/formudp.h"
#include "shell/formmain.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItem>

#include <gtest/gtest.h>

#include <functional>

using namespace pagetest;
using namespace surveytest;

namespace {

class WpsSurveyTest : public CPageFixture
{
protected:
    TFrameWPSMethod* Page() const { return Main()->FrameWPSMethod1; }

    // The bridge found and logged in, the WPS page entered with the PIN method chosen.
    bool EnterWithDevice(const QString& faults = QStringLiteral("{}"))
    {
        if (!StartDevice(1, BridgeConfig(faults)) || !ConnectDevice()) {
            return false;
        }
        g_Var.DeviceMode = DEVICE_WBRIDGE;
        if (!Navigate(Page()) || !WaitEngineIdle()) {
            ADD_FAILURE() << "the WPS page was not entered";
            return false;
        }
        ProcessEvents();
        Page()->RBtnPIN->click();
        Apsim().MarkLog();
        return true;
    }

    // Clicks Select on the page; act runs on the open dialog, which it must close. Returns when
    // the dialog has closed.
    void WithDialog(const std::function<void(TFormWPSSurvey*)>& act)
    {
        bool acted = false;
        QTimer::singleShot(0, [&] {
            const bool open
                = WaitFor([this] { return Page()->SurveyDialog() && Page()->SurveyDialog()->isVisible(); });
            EXPECT_TRUE(open);
            TFormWPSSurvey* dialog = Page()->SurveyDialog();
            if (!dialog) {
                return;
            }
            act(dialog);
            acted = true;
            if (Page()->SurveyDialog() && Page()->SurveyDialog()->isVisible()) {
                ADD_FAILURE() << "the dialog was left open";
                Page()->SurveyDialog()->reject();
            }
        });
        Page()->BtnSelect->click();
        ProcessEvents();
        EXPECT_TRUE(acted);
        EXPECT_EQ(Page()->SurveyDialog(), nullptr);
    }

    static bool WaitListed(TFormWPSSurvey* d)
    {
        TFrameWPSSiteSurvey* f = d->FrameWPSSiteSurvey1;
        return WaitFor([f] { return f->BtnRefresh->isEnabled() && !f->PlSearch->isVisibleTo(f->GroupBox1); });
    }

    static QTreeWidgetItem* RowOf(TFormWPSSurvey* d, const QString& ssid)
    {
        TSortListView* list = d->FrameWPSSiteSurvey1->SurveyList;
        for (int i = 0; i < list->RowCount(); ++i) {
            if (list->Row(i)->text(SURVEY_COL_SSID) == ssid) {
                return list->Row(i);
            }
        }
        return nullptr;
    }

    static void Select(TFormWPSSurvey* d, const QString& ssid)
    {
        TSortListView* list = d->FrameWPSSiteSurvey1->SurveyList;
        QTreeWidgetItem* row = RowOf(d, ssid);
        ASSERT_NE(row, nullptr);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(row).center());
        ProcessEvents();
    }

    static void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center()); }
};

TEST_F(WpsSurveyTest, ListsOnlyWpsNetworksAndSelectTakesTheSsid)
{
    ASSERT_TRUE(EnterWithDevice());
    Page()->EdtSSID->setText(QStringLiteral("typed"));
    WithDialog([this](TFormWPSSurvey* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("WPS AP site survey"));
        EXPECT_EQ(d->size(), QSize(553, 250));
        // Centred over the wizard window.
        const QRect main = Main()->frameGeometry();
        EXPECT_EQ(d->x(), main.left() + (main.width() - d->width()) / 2);
        EXPECT_EQ(d->y(), main.top() + (main.height() - d->height()) / 2);
        EXPECT_EQ(d->FrameWPSSiteSurvey1->GroupBox1->title(),
            QStringLiteral(" WPS AP List ")); // padded as group box captions are
        ASSERT_TRUE(WaitListed(d));
        TSortListView* list = d->FrameWPSSiteSurvey1->SurveyList;
        QSet<QString> shown;
        for (int i = 0; i < list->RowCount(); ++i) {
            shown << list->Row(i)->text(SURVEY_COL_SSID);
        }
        QSet<QString> wps;
        for (const TNetwork& n : Dozen()) {
            if (n.wps) {
                wps << QString::fromLatin1(n.ssid);
            }
        }
        EXPECT_EQ(shown, wps);
        EXPECT_EQ(list->RowCount(), 7);
        // Strongest first; WPA, WPA2 and WPA/WPA2 have no text here.
        EXPECT_EQ(list->Row(0)->text(SURVEY_COL_SSID), QStringLiteral("Enterprise"));
        EXPECT_EQ(RowOf(d, QStringLiteral("Enterprise"))->text(SURVEY_COL_AUTH), QString());
        EXPECT_EQ(RowOf(d, QStringLiteral("Campus"))->text(SURVEY_COL_AUTH), QString());
        EXPECT_EQ(RowOf(d, QStringLiteral("HomeNet"))->text(SURVEY_COL_AUTH), QStringLiteral("WPA2-PSK"));
        Select(d, QStringLiteral("Campus"));
        EXPECT_EQ(d->SelectedSSID(), QStringLiteral("Campus"));
        Click(d->BtnSelect);
    });
    EXPECT_EQ(Page()->EdtSSID->text(), QStringLiteral("Campus"));
    EXPECT_EQ(Apsim().Keys(), QStringList({ "survey" }));
    EXPECT_TRUE(Page()->BtnNext->isEnabled()); // the device PIN is there, and now the SSID
}

TEST_F(WpsSurveyTest, CancelAndCloseBoxKeepTheSsid)
{
    ASSERT_TRUE(EnterWithDevice());
    Page()->EdtSSID->setText(QStringLiteral("typed"));
    WithDialog([](TFormWPSSurvey* d) {
        ASSERT_TRUE(WaitListed(d));
        Select(d, QStringLiteral("zeta"));
        Click(d->BtnCancel);
    });
    EXPECT_EQ(Page()->EdtSSID->text(), QStringLiteral("typed"));
    WithDialog([](TFormWPSSurvey* d) {
        ASSERT_TRUE(WaitListed(d));
        Select(d, QStringLiteral("zeta"));
        d->close();
        EXPECT_EQ(d->result(), 2);
    });
    EXPECT_EQ(Page()->EdtSSID->text(), QStringLiteral("typed"));
}

TEST_F(WpsSurveyTest, SelectWithoutRowEmptiesTheSsid)
{
    ASSERT_TRUE(EnterWithDevice());
    Page()->EdtSSID->setText(QStringLiteral("typed"));
    WithDialog([](TFormWPSSurvey* d) {
        ASSERT_TRUE(WaitListed(d));
        EXPECT_EQ(d->SelectedSSID(), QString());
        Click(d->BtnSelect);
    });
    EXPECT_EQ(Page()->EdtSSID->text(), QString());
    EXPECT_FALSE(Page()->BtnNext->isEnabled());
}

TEST_F(WpsSurveyTest, RefreshSurveysAgainAndIsLogged)
{
    ASSERT_TRUE(EnterWithDevice());
    CLogCapture log;
    WithDialog([this](TFormWPSSurvey* d) {
        ASSERT_TRUE(WaitListed(d));
        Click(d->FrameWPSSiteSurvey1->BtnRefresh);
        EXPECT_FALSE(d->FrameWPSSiteSurvey1->BtnRefresh->isEnabled());
        EXPECT_EQ(d->FrameWPSSiteSurvey1->SurveyList->RowCount(), 0);
        ASSERT_TRUE(WaitListed(d));
        EXPECT_EQ(d->FrameWPSSiteSurvey1->SurveyList->RowCount(), 7);
        EXPECT_EQ(Apsim().Count(QStringLiteral("survey")), 2);
        Click(d->BtnCancel);
    });
    EXPECT_EQ(
        log.Entries().count(QStringLiteral("TFrameWPSSiteSurvey::BtnRefreshClick(TObject *Sender)")), 2);
}

// No answer: the WPS networks of the last reply the engine received.
TEST_F(WpsSurveyTest, UnansweredSurveyShowsTheHeldEntries)
{
    ASSERT_TRUE(EnterWithDevice());
    WithDialog([](TFormWPSSurvey* d) {
        ASSERT_TRUE(WaitListed(d));
        Click(d->BtnCancel);
    });
    Apsim().Stop();
    WithDialog([](TFormWPSSurvey* d) {
        EXPECT_EQ(d->FrameWPSSiteSurvey1->SurveyList->RowCount(), 0);
        ASSERT_TRUE(WaitListed(d));
        EXPECT_EQ(d->FrameWPSSiteSurvey1->SurveyList->RowCount(), 7);
        Click(d->BtnCancel);
    });
}

TEST_F(WpsSurveyTest, LogsInFirstWhenNotLoggedIn)
{
    ASSERT_TRUE(EnterWithDevice());
    FormUDP->SendLogout(0);
    ASSERT_TRUE(WaitFor([this] { return Apsim().Count(QStringLiteral("logout")) == 1; }));
    Apsim().MarkLog();
    WithDialog([](TFormWPSSurvey* d) {
        ASSERT_TRUE(WaitListed(d));
        EXPECT_EQ(d->FrameWPSSiteSurvey1->SurveyList->RowCount(), 7);
        Click(d->BtnCancel);
    });
    EXPECT_EQ(Apsim().Keys(), QStringList({ "login", "survey" }));
}

// The instance start-up makes is inert until shown: no survey, no texts looked up.
TEST(WpsSurveyDialog, CreatedHiddenDoesNothing)
{
    TFormWPSSurvey dialog;
    EXPECT_EQ(dialog.objectName(), QStringLiteral("FormWPSSurvey"));
    EXPECT_EQ(dialog.FrameWPSSiteSurvey1->objectName(), QStringLiteral("FrameWPSSiteSurvey1"));
    EXPECT_EQ(dialog.FrameWPSSiteSurvey1->SurveyList->RowCount(), 0);
    EXPECT_EQ(dialog.SelectedSSID(), QString());
    EXPECT_EQ(dialog.BtnSelect->text(), QStringLiteral("Select"));
    EXPECT_EQ(dialog.BtnCancel->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(dialog.FrameWPSSiteSurvey1->BtnRefresh->y(), dialog.BtnSelect->y()); // one bottom row
}

} // namespace

// Start-up makes the dialog last, as FormWPSSurvey, hidden; it goes with the other windows.
TEST(WpsSurveyDialog, StartUpCreatesItLast)
{
    QObject* previousMain = ApplicationMainWindow();
    {
        CQrxWindows windows;
        CreateQrxWindows(windows);
        ASSERT_FALSE(windows.CreationOrder.isEmpty());
        EXPECT_EQ(windows.CreationOrder.last(), QStringLiteral("FormWPSSurvey"));
        EXPECT_NE(FormWPSSurvey, nullptr);
        EXPECT_EQ(static_cast<QWidget*>(FormWPSSurvey), windows.WpsSurvey.get());
        EXPECT_FALSE(FormWPSSurvey->isVisible());
    }
    EXPECT_EQ(FormWPSSurvey, nullptr);
    SetApplicationMainWindow(previousMain);
}
