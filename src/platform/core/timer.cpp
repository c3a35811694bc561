#include "platform/core/timer.h"

#include "platform/core/clock.h"

TTimer::TTimer(QObject* owner)
    : QObject(owner)
{
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (enabled_ && OnTimer) {
            OnTimer(this);
        }
    });
    Restart();
}

void TTimer::SetEnabled(bool on)
{
    if (on == enabled_) {
        return;
    }
    enabled_ = on;
    Restart();
}

void TTimer::SetInterval(std::uint32_t ms)
{
    if (ms == interval_) {
        return;
    }
    interval_ = ms;
    Restart();
}

void TTimer::Restart()
{
    timer_.stop();
    if (enabled_ && interval_ > 0) {
        timer_.start(ScaledInterval(interval_));
    }
}
