// The wireless method page: Manual proposed on every forward entry, the explanation by mode, and
// the choice Next records.
#include "wlprofile_fixture.h"

#include <QLabel>
#include <QRadioButton>

class WlMethodTest : public WlWizardTest
{
protected:
    TFrameSetWlMethod* Page() const { return form->FrameSetWlMethod1; }
};

TEST_F(WlMethodTest, ForwardEntryChecksManualAndBlankExplanationWithoutSettings)
{
    EXPECT_FALSE(Page()->RBtnManual->isChecked());
    EXPECT_FALSE(Page()->RBtnWPS->isChecked());
    Page()->RBtnWPS->setChecked(true);
    ASSERT_TRUE(form->SwitchTo(Page(), WZ_DIR_FORWARD, 0));
    EXPECT_TRUE(Page()->RBtnManual->isChecked());
    EXPECT_FALSE(Page()->RBtnWPS->isChecked());
    EXPECT_TRUE(Page()->LbSetWlMsg->text().isEmpty());
    EXPECT_EQ(Page()->LbSetWlInfo->text(), QStringLiteral("Wireless Configuration"));
    EXPECT_EQ(Page()->LbClickNext->text(), QStringLiteral("Click Next to continue"));
}

TEST_F(WlMethodTest, BackEntryKeepsTheChoice)
{
    ASSERT_TRUE(form->SwitchTo(Page(), WZ_DIR_FORWARD, 0));
    QTest::mouseClick(Page()->RBtnWPS, Qt::LeftButton, {}, QPoint(6, Page()->RBtnWPS->height() / 2));
    ASSERT_TRUE(Page()->RBtnWPS->isChecked());
    ASSERT_TRUE(form->SwitchTo(form->FrameSuccess1, WZ_DIR_FORWARD, 0));
    ASSERT_TRUE(form->SwitchTo(Page(), WZ_DIR_BACK, 0));
    EXPECT_TRUE(Page()->RBtnWPS->isChecked());
}

TEST_F(WlMethodTest, NextStoresTheChoiceAndGoesOn)
{
    g_Var.WlMethod = 7;
    ASSERT_TRUE(form->SwitchTo(Page(), WZ_DIR_FORWARD, 0));
    Click(Page()->BtnNext);
    EXPECT_EQ(g_Var.WlMethod, 1);
    EXPECT_EQ(CurrentName(), "FrameWlProfile1");
    EXPECT_EQ(SubPageName(), "FrameWlProfSSID1");

    ASSERT_TRUE(form->SwitchTo(Page(), WZ_DIR_BACK, 0));
    QTest::mouseClick(Page()->RBtnWPS, Qt::LeftButton, {}, QPoint(6, Page()->RBtnWPS->height() / 2));
    // The WPS page is another helper's; only the stored choice and the wizard's step matter here.
    g_Var.WlMethod = 7;
    Page()->BtnNextClick();
    EXPECT_EQ(g_Var.WlMethod, 0);
}

TEST_F(WlMethodTest, NeitherCheckedKeepsValueAndStillPostsNext)
{
    ASSERT_TRUE(form->SwitchTo(Page(), WZ_DIR_FORWARD, 0));
    Page()->RBtnManual->setAutoExclusive(false);
    Page()->RBtnManual->setChecked(false);
    g_Var.WlMethod = 5;
    Click(Page()->BtnNext);
    EXPECT_EQ(g_Var.WlMethod, 5);
    EXPECT_EQ(CurrentName(), "FrameSetWlMethod1"); // no rule for 5: the wizard stays
}

TEST_F(WlMethodTest, BackAndExitGoThroughTheWizard)
{
    ASSERT_TRUE(form->SwitchTo(Page(), WZ_DIR_FORWARD, 0));
    Click(Page()->BtnExit);
    EXPECT_EQ(
        DialogSeam::ShownTexts(), QStringList({ QStringLiteral("Do you want to exit the Setup Wizard?") }));
    EXPECT_EQ(CurrentName(), "FrameSetWlMethod1"); // answered No
    Click(Page()->BtnBack);
    EXPECT_EQ(CurrentName(), "FrameSetupMethod1");
}

class WlMethodTextsTest : public WlMethodTest,
                          public ::testing::WithParamInterface<std::pair<int, const char*>>
{
protected:
    QByteArray IniText() const override
    {
        return "[String]\r\nSetWlMethod_AP_MODE_MSG=Access point text\r\n"
               "SetWlMethod_BRIDGE_MODE_MSG=Bridge text\r\n";
    }
};

TEST_P(WlMethodTextsTest, ExplanationFollowsDeviceMode)
{
    g_Var.DeviceMode = GetParam().first;
    ASSERT_TRUE(form->SwitchTo(Page(), WZ_DIR_FORWARD, 0));
    EXPECT_EQ(Page()->LbSetWlMsg->text(), QString::fromLatin1(GetParam().second));
}

INSTANTIATE_TEST_SUITE_P(Modes, WlMethodTextsTest,
    ::testing::Values(std::make_pair(1, "Access point text"), std::make_pair(2, "Bridge text"),
        std::make_pair(0, "Bridge text"), std::make_pair(3, "Bridge text")));
