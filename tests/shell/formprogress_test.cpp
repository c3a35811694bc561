// The progress dialog: the start step, closing by the page, the time limit, Alt+F4, placement.
#include "platform/core/clock.h"
#include "platform/core/timer.h"
#include "platform/ui/dialogs.h"
#include "shell/formprogress.h"

#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {
// Runs the program's intervals 1000 times faster for one test.
class CFastClock
{
public:
    explicit CFastClock(double scale = 0.001) { SetTimeScale(scale); }
    ~CFastClock() { SetTimeScale(1.0); }
};
} // namespace

TEST(FormProgress, LooksAsDesigned)
{
    TFormProgress dlg;
    EXPECT_EQ(dlg.size(), QSize(190, 50));
    EXPECT_TRUE(dlg.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(dlg.LbWait->text(), QStringLiteral("Please wait..."));
    EXPECT_EQ(dlg.LbWait->geometry(), QRect(20, 8, 150, 13));
    EXPECT_EQ(dlg.ProgressBar1->geometry(), QRect(20, 25, 150, 17));
    EXPECT_EQ(dlg.ProgressBar1->minimum(), 0);
    EXPECT_EQ(dlg.ProgressBar1->maximum(), 100);
    EXPECT_FALSE(dlg.TimerProc->Enabled());
    EXPECT_EQ(dlg.TimerProc->Interval(), 200u);
}

TEST(FormProgress, StartStepRunsOnceOnTheFirstTickWithTheTimerOff)
{
    CFastClock fast(0.05); // 10 ms ticks
    TFormProgress dlg;
    int runs = 0;
    bool timerOffDuringStep = false;
    int tagDuringStep = -1;
    int ticksAfterStep = 0;
    dlg.OnStart = [&] {
        ++runs;
        timerOffDuringStep = !dlg.TimerProc->Enabled();
        tagDuringStep = dlg.TimerProc->Tag;
    };
    // The page closes the dialog later, from its own handling.
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, &dlg, [&] {
        if (runs > 0 && dlg.TimerProc->Tag >= 5) {
            ticksAfterStep = dlg.TimerProc->Tag;
            dlg.SetModalResult(2);
        }
    });
    watcher.start(5);
    EXPECT_EQ(dlg.ExecuteCentered(nullptr), 2);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(timerOffDuringStep);
    EXPECT_EQ(tagDuringStep, 1);
    EXPECT_GE(ticksAfterStep, 5);
    EXPECT_FALSE(dlg.TimerProc->Enabled());
}

TEST(FormProgress, ResultOneSetInsideTheStartStepClosesAfterTheFirstTick)
{
    TFormProgress dlg;
    int runs = 0;
    dlg.OnStart = [&] {
        ++runs;
        dlg.SetModalResult(1);
    };
    EXPECT_EQ(dlg.ExecuteCentered(nullptr), 1);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(dlg.TimerProc->Tag, 1);
    EXPECT_FALSE(dlg.isVisible());
}

TEST(FormProgress, TimeLimitEndsWithCancelAfter1500TicksUnderTheTimeScale)
{
    CFastClock fast(0.001); // 200 ms ticks become 1 ms
    TFormProgress dlg;
    int runs = 0;
    dlg.OnStart = [&] { ++runs; };
    EXPECT_EQ(dlg.ExecuteCentered(nullptr), mrCancel);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(dlg.TimerProc->Tag, 1501);
}

TEST(FormProgress, WithoutAStartStepTheBarSweepsAndWrapsAround)
{
    CFastClock fast(0.05);
    TFormProgress dlg;
    dlg.ProgressBar1->setValue(99);
    std::vector<int> values;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, &dlg, [&] {
        if (values.empty() || values.back() != dlg.ProgressBar1->value()) {
            values.push_back(dlg.ProgressBar1->value());
        }
        if (values.size() >= 4) {
            dlg.SetModalResult(1);
        }
    });
    watcher.start(2);
    EXPECT_EQ(dlg.ExecuteCentered(nullptr), 1);
    ASSERT_GE(values.size(), 4u);
    EXPECT_EQ(values[0], 99);
    EXPECT_EQ(values[1], 100);
    EXPECT_EQ(values[2], 0);
    EXPECT_EQ(values[3], 1);
}

TEST(FormProgress, AltF4AndEscapeAndCloseRequestsAreSwallowed)
{
    TFormProgress dlg;
    bool stillShown = false;
    dlg.OnStart = [&] {
        QTest::keyClick(&dlg, Qt::Key_F4, Qt::AltModifier);
        QTest::keyClick(&dlg, Qt::Key_Escape);
        dlg.close();
        QCoreApplication::processEvents();
        stillShown = dlg.isVisible() && dlg.result() == 0;
        dlg.SetModalResult(1);
    };
    EXPECT_EQ(dlg.ExecuteCentered(nullptr), 1);
    EXPECT_TRUE(stillShown);
}

TEST(FormProgress, CentredOverTheFormOfTheControlHalvingTowardsZero)
{
    struct Case
    {
        QRect form;
        QPoint expected;
    };
    const Case cases[] = {
        { QRect(100, 100, 600, 450), QPoint(100 + 205, 100 + 200) },
        { QRect(10, 20, 601, 451), QPoint(10 + 205, 20 + 200) },
        // Smaller than the dialog: (101 - 190) / 2 = -44 and (41 - 50) / 2 = -4, towards zero.
        { QRect(300, 300, 101, 41), QPoint(300 - 44, 300 - 4) },
    };
    for (const Case& c : cases) {
        QWidget form(nullptr, Qt::FramelessWindowHint);
        form.setGeometry(c.form);
        auto* control = new QWidget(&form);
        control->setGeometry(5, 5, 10, 10);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_EQ(form.frameGeometry(), c.form);
        TFormProgress dlg;
        QPoint at;
        dlg.OnStart = [&] {
            at = dlg.pos();
            dlg.SetModalResult(1);
        };
        EXPECT_EQ(dlg.ExecuteCentered(control), 1);
        EXPECT_EQ(at, c.expected) << c.form.x() << "," << c.form.y();
    }
}

TEST(FormProgress, AnExceptionEndsTheShowingWithZero)
{
    TFormProgress dlg;
    dlg.OnStart = [] { throw std::runtime_error("start step failed"); };
    EXPECT_EQ(dlg.ExecuteCentered(nullptr), 0);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(dlg.TimerProc->Enabled());
}
