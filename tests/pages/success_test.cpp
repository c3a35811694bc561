// The success page: Exit asks the exit question, Back leads to the operating mode page, Next is
// never visible.
#include "wlprofile_fixture.h"

#include <QLabel>

class SuccessTest : public WlWizardTest
{
protected:
    TFrameSuccess* Page() const { return form->FrameSuccess1; }
};

TEST_F(SuccessTest, ShowsTheTextsWithExitInTheRightmostPlace)
{
    ASSERT_TRUE(form->SwitchTo(Page(), WZ_DIR_FORWARD, 0));
    EXPECT_EQ(Page()->LbSuccess1->text(), QStringLiteral("Congratulations!"));
    EXPECT_EQ(Page()->LbSuccess2->text(),
        QStringLiteral("Your 300Mbps Wireless N PoE Access Point is Now Configured"));
    EXPECT_EQ(Page()->LbSuccess1->font().pixelSize(), 24);
    EXPECT_EQ(Page()->LbSuccess2->font().pixelSize(), 20);
    EXPECT_FALSE(Page()->BtnNext->isVisible());
    EXPECT_GT(Page()->BtnExit->x(), Page()->BtnBack->x());
}

TEST_F(SuccessTest, ExitAsksTheExitQuestion)
{
    ASSERT_TRUE(form->SwitchTo(Page(), WZ_DIR_FORWARD, 0));
    Click(Page()->BtnExit); // the seam answers No
    ASSERT_EQ(DialogSeam::Shown().size(), 1);
    EXPECT_EQ(DialogSeam::Shown()[0].kind, DialogSeam::Kind::Question);
    EXPECT_EQ(DialogSeam::Shown()[0].text, QStringLiteral("Do you want to exit the Setup Wizard?"));
    EXPECT_EQ(CurrentName(), "FrameSuccess1");
    DialogSeam::QueueAnswer(mrYes);
    Click(Page()->BtnExit);
    EXPECT_EQ(form->result(), mrOk);
}

TEST_F(SuccessTest, BackLeadsToTheOperatingModePage)
{
    ASSERT_TRUE(form->SwitchTo(Page(), WZ_DIR_FORWARD, 0));
    Click(Page()->BtnBack);
    EXPECT_EQ(CurrentName(), "FrameWlModeSel1");
}
