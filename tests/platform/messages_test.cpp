#include "platform/core/clock.h"
#include "platform/core/messages.h"
#include "platform/core/timer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include <memory>
#include <vector>

namespace {

struct Recorder : QObject, CMessageReceiver
{
    struct Msg
    {
        UINT msg;
        WPARAM w;
        LPARAM l;
    };
    std::vector<Msg> got;
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override
    {
        got.push_back({ msg, w, l });
        return static_cast<LRESULT>(w) + l;
    }
};

TEST(Messages, PostedMessagesArriveInOrderThroughTheLoop)
{
    Recorder r;
    ASSERT_TRUE(PostMessage(&r, WM_APP + 0x64, 2, 0));
    ASSERT_TRUE(PostMessage(&r, WM_APP + 0x66, 4, 1));
    EXPECT_TRUE(r.got.empty()) << "posting must not deliver synchronously";
    QCoreApplication::processEvents();
    ASSERT_EQ(r.got.size(), 2u);
    EXPECT_EQ(r.got[0].msg, 0x8064u);
    EXPECT_EQ(r.got[1].msg, 0x8066u);
    EXPECT_EQ(r.got[1].l, 1);
}

TEST(Messages, SentMessageRunsNowAndReturnsTheResult)
{
    Recorder r;
    EXPECT_EQ(SendMessage(&r, WM_APP + 0x65, 1, 41), 42);
    EXPECT_EQ(r.got.size(), 1u);
    EXPECT_EQ(SendMessage(nullptr, WM_APP, 0, 0), 0);
}

TEST(Messages, PostToDestroyedOrNonReceiverIsDropped)
{
    QObject plain;
    EXPECT_FALSE(PostMessage(&plain, WM_APP, 0, 0));
    EXPECT_FALSE(PostMessage(nullptr, WM_APP, 0, 0));
    auto r = std::make_unique<Recorder>();
    ASSERT_TRUE(PostMessage(r.get(), WM_APP, 0, 0));
    r.reset();
    QCoreApplication::processEvents(); // must not crash
}

TEST(Messages, MainWindowRegistryForgetsADestroyedWindow)
{
    auto r = std::make_unique<Recorder>();
    SetApplicationMainWindow(r.get());
    EXPECT_EQ(ApplicationMainWindow(), r.get());
    r.reset();
    EXPECT_EQ(ApplicationMainWindow(), nullptr);
}

TEST(Clock, WaitZeroReturnsWithoutDispatching)
{
    Recorder r;
    PostMessage(&r, WM_APP, 0, 0);
    EXPECT_TRUE(WaitWithMessages(0));
    EXPECT_TRUE(r.got.empty());
    QCoreApplication::processEvents();
}

TEST(Clock, WaitDispatchesPostedMessagesAndLastsItsTime)
{
    SetTimeScale(0.01);
    Recorder r;
    PostMessage(&r, WM_APP, 7, 0);
    const auto t0 = GetTickCount();
    EXPECT_TRUE(WaitWithMessages(3000)); // 30 ms real under the scale
    EXPECT_GE(GetTickCount() - t0, 3000u);
    ASSERT_EQ(r.got.size(), 1u);
    SetTimeScale(1);
}

TEST(Timer, ChangedIntervalRestartsSameIntervalKeepsRunning)
{
    SetTimeScale(1);
    TTimer t;
    int fired = 0;
    t.OnTimer = [&](TTimer*) { ++fired; };
    t.SetInterval(50);
    EXPECT_TRUE(t.IsRunning());
    t.SetInterval(0);
    EXPECT_FALSE(t.IsRunning()) << "interval 0 never fires";
    t.SetInterval(20);
    QTRY_VERIFY_WITH_TIMEOUT(fired >= 1, 5000);
    t.SetEnabled(false);
    EXPECT_FALSE(t.IsRunning());
    const int before = fired;
    QTest::qWait(60);
    EXPECT_EQ(fired, before);
}

TEST(Clock, ScaledIntervalNeverRoundsAPositiveIntervalToZero)
{
    SetTimeScale(0.0001);
    EXPECT_EQ(ScaledInterval(0), 0);
    EXPECT_EQ(ScaledInterval(1), 1);
    EXPECT_EQ(ScaledInterval(32000), 4);
    SetTimeScale(1);
    EXPECT_EQ(ScaledInterval(32000), 32000);
}

} // namespace
