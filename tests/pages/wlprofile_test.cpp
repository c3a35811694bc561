// The wireless profile host and its first three sub-pages: the sequence forward and back, the
// proposals of each sub-page and what Next stores.
#include "wlprofile_fixture.h"

#include "app/utils.h"

#include <QGroupBox>
#include <QLabel>

namespace {

QString Ssid(const char* field)
{
    return FieldToText(field, 33);
}

} // namespace

class WlProfileTest : public WlWizardTest
{
};

TEST_F(WlProfileTest, ForwardEntryShowsSsidPageAndWalksNoneToSuccess)
{
    EnterHost();
    EXPECT_TRUE(host->FrameWlProfSSID1->isVisibleTo(host));
    Click(host->FrameWlProfSSID1->BtnNext);
    EXPECT_EQ(SubPageName(), "FrameWlProfWlMode1");
    Click(host->FrameWlProfWlMode1->BtnNext);
    EXPECT_EQ(SubPageName(), "FrameWlProfSecurity1");
    Click(host->FrameWlProfSecurity1->BtnNext);
    EXPECT_EQ(SubPageName(), "FrameWlProfConfirm1");
    // Only one sub-page is ever visible.
    int visible = 0;
    for (TFrameBase* p : host->SubPages()) {
        visible += p->isVisibleTo(host) ? 1 : 0;
    }
    EXPECT_EQ(visible, 1);
    // Past the confirmation page the host lets the wizard leave.
    EXPECT_TRUE(host->StepSubPage(true));
    EXPECT_FALSE(host->FrameWlProfBand1->isVisibleTo(host));
}

// One walk through the sequence: the security chosen on each visit of the security page, and the
// pages expected after every step ('>' Next, '<' Back).
struct TWalkCase
{
    const char* name;
    const char* steps; // N next, B back, W choose WEP, P choose WPA-PSK, 0 choose None
    const char* expected; // the sub-page (or leaving page) after each step, comma-separated
};

class WlProfileWalkTest : public WlWizardTest, public ::testing::WithParamInterface<TWalkCase>
{
};

TEST_P(WlProfileWalkTest, RetracesThePagesVisited)
{
    const TWalkCase& c = GetParam();
    // Keys that a None choice must clear.
    std::strcpy(g_Var.NewWlConfig.WL_WEPKEY, "ABCDE");
    std::strcpy(g_Var.NewWlConfig.WL_WPA_PSK, "passphrase");
    EnterHost();
    QStringList expected = QString::fromLatin1(c.expected).split(QLatin1Char(','));
    int e = 0;
    for (const char* s = c.steps; *s; ++s) {
        switch (*s) {
        case 'W':
            Choose(host->FrameWlProfSecurity1->CmbSecurity, 1);
            continue;
        case 'P':
            Choose(host->FrameWlProfSecurity1->CmbSecurity, 2);
            continue;
        case '0':
            Choose(host->FrameWlProfSecurity1->CmbSecurity, 0);
            continue;
        default:
            break;
        }
        auto* page = host->SubPage();
        ASSERT_NE(page, nullptr);
        auto* button = page->findChild<QAbstractButton*>(
            *s == 'N' ? QStringLiteral("BtnNext") : QStringLiteral("BtnBack"), Qt::FindDirectChildrenOnly);
        ASSERT_NE(button, nullptr);
        if (page == host->FrameWlProfConfirm1 && *s == 'N') {
            ASSERT_TRUE(host->StepSubPage(true)); // the write itself is tested with the device
            continue;
        }
        Click(button);
        ASSERT_LT(e, expected.size());
        const std::string want = expected[e++].toStdString();
        if (form->CurrentPage == host) {
            EXPECT_EQ(SubPageName(), want) << "step " << (s - c.steps);
        } else {
            EXPECT_EQ(CurrentName(), want) << "step " << (s - c.steps);
        }
    }
    EXPECT_EQ(e, expected.size());
    if (QString::fromLatin1(c.name).startsWith(QStringLiteral("None"))) {
        EXPECT_STREQ(g_Var.NewWlConfig.WL_WEPKEY, "");
        EXPECT_STREQ(g_Var.NewWlConfig.WL_WPA_PSK, "");
        EXPECT_EQ(g_Var.NewWlConfig.WL_AUTH_MODE, 0);
        EXPECT_EQ(g_Var.NewWlConfig.WL_WEPKEY_LEN, 0);
        EXPECT_EQ(g_Var.NewWlConfig.WepKeyId, 1);
        EXPECT_EQ(g_Var.NewWlConfig.WL_WPA_MODE, 2);
        EXPECT_EQ(g_Var.NewWlConfig.WL_WPA_CIPHER, 2);
    }
}

INSTANTIATE_TEST_SUITE_P(Walks, WlProfileWalkTest,
    ::testing::Values(
        TWalkCase { "NoneBackFromConfirm", "NN0NB",
            "FrameWlProfWlMode1,FrameWlProfSecurity1,FrameWlProfConfirm1,FrameWlProfSecurity1" },
        TWalkCase { "WepBackThenPsk", "NNWNBPNB",
            "FrameWlProfWlMode1,FrameWlProfSecurity1,FrameWlProfWEP1,FrameWlProfSecurity1,FrameWlProfPSK1,"
            "FrameWlProfSecurity1" },
        TWalkCase { "BackOnSsidLeavesHost", "B", "FrameSetWlMethod1" },
        TWalkCase { "BackToFirstThenOut", "NNBBB",
            "FrameWlProfWlMode1,FrameWlProfSecurity1,FrameWlProfWlMode1,FrameWlProfSSID1,FrameSetWlMethod1" },
        TWalkCase { "PskKeyThenConfirmBackToPsk", "NNPNB",
            "FrameWlProfWlMode1,FrameWlProfSecurity1,FrameWlProfPSK1,FrameWlProfSecurity1" }),
    [](const ::testing::TestParamInfo<TWalkCase>& info) { return std::string(info.param.name); });

TEST_F(WlProfileTest, WepThenBackThenPskReachesConfirmFromPsk)
{
    EnterHost();
    Click(host->FrameWlProfSSID1->BtnNext);
    Click(host->FrameWlProfWlMode1->BtnNext);
    Choose(host->FrameWlProfSecurity1->CmbSecurity, 1);
    Click(host->FrameWlProfSecurity1->BtnNext);
    ASSERT_EQ(SubPageName(), "FrameWlProfWEP1");
    Click(host->FrameWlProfWEP1->BtnBack);
    Choose(host->FrameWlProfSecurity1->CmbSecurity, 2);
    Click(host->FrameWlProfSecurity1->BtnNext);
    ASSERT_EQ(SubPageName(), "FrameWlProfPSK1");
    Type(host->FrameWlProfPSK1->EdtPassphrase, QStringLiteral("12345678"));
    Click(host->FrameWlProfPSK1->BtnNext);
    ASSERT_EQ(SubPageName(), "FrameWlProfConfirm1");
    Click(host->FrameWlProfConfirm1->BtnBack);
    EXPECT_EQ(SubPageName(), "FrameWlProfPSK1");
    // Going back keeps what the user left there.
    EXPECT_EQ(host->FrameWlProfPSK1->EdtPassphrase->text(), QStringLiteral("12345678"));
}

TEST_F(WlProfileTest, ForwardEntryRestartsAtSsidPage)
{
    EnterHost();
    Click(host->FrameWlProfSSID1->BtnNext);
    Click(host->FrameWlProfWlMode1->BtnNext);
    ASSERT_EQ(SubPageName(), "FrameWlProfSecurity1");
    ASSERT_TRUE(form->SwitchTo(form->FrameSetWlMethod1, WZ_DIR_BACK, 0));
    ASSERT_TRUE(form->SwitchTo(host, WZ_DIR_FORWARD, 0));
    EXPECT_EQ(SubPageName(), "FrameWlProfSSID1");
    EXPECT_FALSE(host->FrameWlProfSecurity1->isVisibleTo(host));
}

TEST_F(WlProfileTest, UnknownSecurityModeStaysOnSecurityPage)
{
    EnterHost();
    ASSERT_TRUE(host->ShowSubPage(host->FrameWlProfSecurity1, WZ_DIR_FORWARD));
    g_Var.NewWlConfig.WL_SECURITY_MODE = 3;
    EXPECT_FALSE(host->NextSubPage());
    EXPECT_EQ(SubPageName(), "FrameWlProfSecurity1");
}

TEST_F(WlProfileTest, NoSubPageOnShowStepsLeaveOnlyBackwards)
{
    ASSERT_TRUE(host->ShowSubPage(nullptr, WZ_DIR_FORWARD));
    EXPECT_FALSE(host->StepSubPage(true));
    EXPECT_TRUE(host->StepSubPage(false));
}

// --- SSID page -------------------------------------------------------------------------------

TEST_F(WlProfileTest, EmptySsidIsRefusedWithNoSsid)
{
    g_Var.MsgTitle = QStringLiteral("Setup");
    EnterHost();
    auto* page = host->FrameWlProfSSID1;
    std::strcpy(g_Var.NewWlConfig.WL_SSID, "keep");
    Type(page->EdtSSID, QString());
    Click(page->BtnNext);
    EXPECT_EQ(SubPageName(), "FrameWlProfSSID1");
    ASSERT_EQ(DialogSeam::Shown().size(), 1);
    EXPECT_EQ(DialogSeam::Shown()[0].kind, DialogSeam::Kind::Info);
    EXPECT_EQ(DialogSeam::Shown()[0].text, QStringLiteral("No SSID"));
    EXPECT_EQ(DialogSeam::Shown()[0].caption, QStringLiteral("Setup"));
    EXPECT_EQ(Ssid(g_Var.NewWlConfig.WL_SSID), QStringLiteral("keep"));
}

TEST_F(WlProfileTest, SpacesAreAnSsidAndChannelBecomesAutomatic)
{
    g_Var.NewWlConfig.WL_STD_CH = 6;
    g_Var.NewWlConfig.WL_EXT_CH = 2;
    EnterHost();
    Type(host->FrameWlProfSSID1->EdtSSID, QStringLiteral("   "));
    Click(host->FrameWlProfSSID1->BtnNext);
    EXPECT_EQ(SubPageName(), "FrameWlProfWlMode1");
    EXPECT_TRUE(DialogSeam::Shown().isEmpty());
    EXPECT_EQ(Ssid(g_Var.NewWlConfig.WL_SSID), QStringLiteral("   "));
    EXPECT_EQ(g_Var.NewWlConfig.WL_STD_CH, 0);
    EXPECT_EQ(g_Var.NewWlConfig.WL_EXT_CH, 0);
}

TEST_F(WlProfileTest, TypingStopsAtThirtyTwoCharacters)
{
    EnterHost();
    Type(host->FrameWlProfSSID1->EdtSSID, QString(40, QLatin1Char('x')));
    EXPECT_EQ(host->FrameWlProfSSID1->EdtSSID->text().size(), 32);
    Click(host->FrameWlProfSSID1->BtnNext);
    EXPECT_EQ(Ssid(g_Var.NewWlConfig.WL_SSID), QString(32, QLatin1Char('x')));
}

TEST_F(WlProfileTest, SsidTooLongForTheFieldInBytesIsRefused)
{
    EnterHost();
    // 32 characters of two UTF-8 bytes each do not fit the 32-byte field.
    host->FrameWlProfSSID1->EdtSSID->clear();
    host->FrameWlProfSSID1->EdtSSID->insert(QString(32, QChar(0x00E9))); // as typed (the limit applies)
    Click(host->FrameWlProfSSID1->BtnNext);
    EXPECT_EQ(SubPageName(), "FrameWlProfSSID1");
    ASSERT_EQ(DialogSeam::ShownTexts().size(), 1);
    EXPECT_EQ(DialogSeam::ShownTexts()[0], QStringLiteral("The SSID can have at most 32 characters."));
}

TEST_F(WlProfileTest, BridgeModeProposesSurveyedSsid)
{
    g_Var.DeviceMode = DEVICE_WBRIDGE;
    std::strcpy(g_Var.SelectedAP.SSID, "Dock & Yard");
    std::strcpy(g_Var.NewWlConfig.WL_SSID, "device-ssid");
    EnterHost();
    EXPECT_EQ(host->FrameWlProfSSID1->EdtSSID->text(), QStringLiteral("Dock & Yard"));
}

TEST_F(WlProfileTest, AccessPointModeProposesPendingSsidWithoutSettings)
{
    std::strcpy(g_Var.NewWlConfig.WL_SSID, "device-ssid");
    std::strcpy(g_Var.SelectedAP.SSID, "surveyed");
    EnterHost();
    EXPECT_EQ(host->FrameWlProfSSID1->EdtSSID->text(), QStringLiteral("device-ssid"));
}

TEST_F(WlProfileTest, BackEntryKeepsWhatTheUserTyped)
{
    EnterHost();
    Type(host->FrameWlProfSSID1->EdtSSID, QStringLiteral("typed"));
    Click(host->FrameWlProfSSID1->BtnNext);
    Type(host->FrameWlProfSSID1->EdtSSID, QStringLiteral("changed later")); // hidden: unchanged by user
    Click(host->FrameWlProfWlMode1->BtnBack);
    EXPECT_EQ(SubPageName(), "FrameWlProfSSID1");
    EXPECT_EQ(host->FrameWlProfSSID1->EdtSSID->text(), QStringLiteral("changed later"));
}

// --- Wireless mode page ----------------------------------------------------------------------

TEST_F(WlProfileTest, ModeListOffersThreeModesAndProposesBgnOnEveryForwardEntry)
{
    EnterHost();
    Click(host->FrameWlProfSSID1->BtnNext);
    QComboBox* cmb = host->FrameWlProfWlMode1->CmbMode;
    ASSERT_EQ(cmb->count(), 3);
    EXPECT_EQ(cmb->itemText(0), QStringLiteral("2.4GHz 802.11 b/g/n mixed mode"));
    EXPECT_EQ(cmb->itemText(1), QStringLiteral("2.4GHz 802.11 b/g mixed mode"));
    EXPECT_EQ(cmb->itemText(2), QStringLiteral("2.4GHz 802.11 n only"));
    EXPECT_EQ(cmb->itemData(0).toInt(), 9);
    EXPECT_EQ(cmb->itemData(1).toInt(), 0);
    EXPECT_EQ(cmb->itemData(2).toInt(), 6);
    EXPECT_EQ(cmb->currentIndex(), 0);
    Choose(cmb, 6);
    Click(host->FrameWlProfWlMode1->BtnNext);
    EXPECT_EQ(g_Var.NewWlConfig.WL_MODE, 6);
    // Back to the mode page keeps "n only"; a fresh forward entry proposes b/g/n again.
    Click(host->FrameWlProfSecurity1->BtnBack);
    EXPECT_EQ(cmb->currentData().toInt(), 6);
    Click(host->FrameWlProfWlMode1->BtnBack);
    Click(host->FrameWlProfSSID1->BtnNext);
    EXPECT_EQ(cmb->currentData().toInt(), 9);
}

// --- Security page ---------------------------------------------------------------------------

TEST_F(WlProfileTest, AccessPointModeProposesNoneEvenForASecuredDevice)
{
    g_Var.NewWlConfig.WL_SECURITY_MODE = 2;
    EnterHost();
    Click(host->FrameWlProfSSID1->BtnNext);
    Click(host->FrameWlProfWlMode1->BtnNext);
    QComboBox* cmb = host->FrameWlProfSecurity1->CmbSecurity;
    ASSERT_EQ(cmb->count(), 3);
    EXPECT_EQ(cmb->itemText(0), QStringLiteral("None"));
    EXPECT_EQ(cmb->itemText(1), QStringLiteral("WEP"));
    EXPECT_EQ(cmb->itemText(2), QStringLiteral("WPA-PSK"));
    EXPECT_EQ(cmb->currentData().toInt(), 0);
}

struct TProposalCase
{
    int encryption;
    int authentication;
    int proposed;
};

class WlSecurityProposalTest : public WlWizardTest, public ::testing::WithParamInterface<TProposalCase>
{
};

TEST_P(WlSecurityProposalTest, BridgeModeProposesFromChosenAccessPoint)
{
    const TProposalCase& c = GetParam();
    g_Var.DeviceMode = DEVICE_WBRIDGE;
    std::strcpy(g_Var.SelectedAP.SSID, "ap");
    g_Var.SelectedAP.Encryption = std::uint8_t(c.encryption);
    g_Var.SelectedAP.Authentication = std::uint8_t(c.authentication);
    EnterHost();
    Click(host->FrameWlProfSSID1->BtnNext);
    Click(host->FrameWlProfWlMode1->BtnNext);
    EXPECT_EQ(host->FrameWlProfSecurity1->CmbSecurity->currentData().toInt(), c.proposed);
}

INSTANTIATE_TEST_SUITE_P(Table, WlSecurityProposalTest,
    ::testing::Values(TProposalCase { 0, 0, 0 }, TProposalCase { 0, 3, 0 }, TProposalCase { 1, 0, 1 },
        TProposalCase { 2, 2, 2 }, TProposalCase { 3, 3, 2 }, TProposalCase { 4, 4, 2 },
        TProposalCase { 4, 5, 0 }, // "WPA" (enterprise) is not offered: None
        TProposalCase { 3, 6, 0 }, TProposalCase { 4, 7, 0 }, TProposalCase { 2, 0, 0 }));

// --- Host -----------------------------------------------------------------------------------

TEST_F(WlProfileTest, BandPageTakesArtworkButIsNeverShown)
{
    EnterHost();
    auto* band = host->FrameWlProfBand1;
    EXPECT_FALSE(band->isVisibleTo(host));
    EXPECT_FALSE(band->ImgBG->Picture().isNull());
    EXPECT_EQ(band->CmbBand->count(), 0);
    EXPECT_FALSE(host->SubPages().isEmpty());
    EXPECT_EQ(band->geometry(), host->FrameWlProfSSID1->geometry());
}

// The engine's messages go on to the sub-page on show, and nowhere when none is.
class TMessageProbe : public TFrameBase
{
public:
    using TFrameBase::TFrameBase;
    int received = 0;
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override
    {
        ++received;
        return TFrameBase::WndProc(msg, w, l);
    }
};

TEST_F(WlProfileTest, EngineMessagesGoOnToTheSubPageOnShow)
{
    auto* probe = new TMessageProbe(host);
    EnterHost();
    form->WndProc(UM_UDP_EVENT, 150, 34);
    EXPECT_EQ(probe->received, 0);
    ASSERT_TRUE(host->ShowSubPage(probe, WZ_DIR_FORWARD));
    form->WndProc(0x8066 /* UM_UDP_RECV */, 6, 1);
    form->WndProc(0x8067 /* UM_UDP_TIMEOUT */, 5, 0);
    form->WndProc(0x8068 /* UM_UDP_EVENT */, 150, 34);
    form->WndProc(UM_WIZARD + 50, 0, 0); // not an engine message
    EXPECT_EQ(probe->received, 3);
    EXPECT_EQ(probe->PrevPage, host->FrameWlProfSSID1);
    EXPECT_FALSE(host->FrameWlProfSSID1->isVisibleTo(host));
}

// --- With a settings file -------------------------------------------------------------------

class WlProfileSettingsTest : public WlWizardTest
{
protected:
    QByteArray IniText() const override
    {
        return "[Setting]\r\nSSID=from-settings\r\n[TFrameWlProfSSID]\r\nLbSSID=Network name:\r\n"
               "[String]\r\nWirlessMode_BGN=b/g/n\r\nSecurityWEP=Wired Equivalent\r\n";
    }
};

TEST_F(WlProfileSettingsTest, SettingsSsidOverridesDeviceInApModeOnly)
{
    std::strcpy(g_Var.NewWlConfig.WL_SSID, "device-ssid");
    EnterHost();
    EXPECT_EQ(host->FrameWlProfSSID1->EdtSSID->text(), QStringLiteral("from-settings"));
    EXPECT_EQ(host->FrameWlProfSSID1->LbSSID->text(), QStringLiteral("Network name:"));
    EXPECT_EQ(host->FrameWlProfWlMode1->CmbMode->itemText(0), QStringLiteral("b/g/n"));
    EXPECT_EQ(host->FrameWlProfSecurity1->CmbSecurity->itemText(1), QStringLiteral("Wired Equivalent"));

    ASSERT_TRUE(form->SwitchTo(form->FrameSetWlMethod1, WZ_DIR_BACK, 0));
    g_Var.DeviceMode = DEVICE_WBRIDGE;
    std::strcpy(g_Var.SelectedAP.SSID, "surveyed");
    ASSERT_TRUE(form->SwitchTo(host, WZ_DIR_FORWARD, 0));
    EXPECT_EQ(host->FrameWlProfSSID1->EdtSSID->text(), QStringLiteral("surveyed"));
}

class WlProfileLongSsidTest : public WlWizardTest
{
protected:
    QByteArray IniText() const override
    {
        return "[Setting]\r\nSSID=0123456789012345678901234567890123456789\r\n";
    }
};

TEST_F(WlProfileLongSsidTest, LongSettingsSsidIsCutToThirtyTwoCharacters)
{
    EnterHost();
    EXPECT_EQ(host->FrameWlProfSSID1->EdtSSID->text(), QStringLiteral("01234567890123456789012345678901"));
    Click(host->FrameWlProfSSID1->BtnNext);
    EXPECT_EQ(Ssid(g_Var.NewWlConfig.WL_SSID), QStringLiteral("01234567890123456789012345678901"));
    EXPECT_EQ(g_Var.NewWlConfig.WL_SSID[32], '\0');
}
