#pragma once
// A timer with the semantics the windows rely on: Enabled, Interval (program milliseconds, under
// the time scale), an integer Tag and an OnTimer handler. Setting a changed interval restarts a
// running countdown; setting the same interval leaves it running. Interval 0 never fires.

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>

class TTimer : public QObject
{
    Q_OBJECT
public:
    explicit TTimer(QObject* owner = nullptr);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);

    std::uint32_t Interval() const { return interval_; }
    void SetInterval(std::uint32_t ms);

    int Tag = 0;
    std::function<void(TTimer*)> OnTimer;

    // True while a countdown runs (enabled with a non-zero interval).
    bool IsRunning() const { return timer_.isActive(); }

private:
    void Restart();

    QTimer timer_;
    bool enabled_ = true;
    std::uint32_t interval_ = 1000;
};
