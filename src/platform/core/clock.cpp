#include "platform/core/clock.h"

#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <cstdlib>

namespace {
double g_scale = -1;

double ReadScale()
{
    const char* v = std::getenv("QRX_TIME_SCALE");
    if (!v || !*v) {
        return 1;
    }
    char* end = nullptr;
    const double s = std::strtod(v, &end);
    if (end == v || !(s > 0) || !std::isfinite(s)) {
        return 1;
    }
    return s;
}
} // namespace

double TimeScale()
{
    if (g_scale <= 0) {
        g_scale = ReadScale();
    }
    return g_scale;
}

void SetTimeScale(double scale)
{
    g_scale = scale > 0 ? scale : 1;
}

std::uint32_t GetTickCount()
{
    using namespace std::chrono;
    const double ms = duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms / TimeScale()));
}

int ScaledInterval(std::uint32_t ms)
{
    if (ms == 0) {
        return 0;
    }
    const double real = std::ceil(static_cast<double>(ms) * TimeScale());
    if (real < 1) {
        return 1;
    }
    if (real > 0x7fffffff) {
        return 0x7fffffff;
    }
    return static_cast<int>(real);
}

bool WaitWithMessages(std::uint32_t ms)
{
    const std::uint32_t start = GetTickCount();
    const std::uint32_t end = start + ms;
    for (;;) {
        const std::uint32_t now = GetTickCount();
        if (now >= end) {
            return true;
        }
        // Dispatch everything that arrives until the end; a handler may run nested in here.
        QEventLoop loop;
        QTimer wake;
        wake.setSingleShot(true);
        QObject::connect(&wake, &QTimer::timeout, &loop, &QEventLoop::quit);
        wake.start(ScaledInterval(end - now));
        loop.exec();
    }
}
