#pragma once
// The program's clock. Every interval and wait goes through here so that the time scale
// (QRX_TIME_SCALE, default 1) can run the device exchanges' long waits in a fraction of the time:
// intervals are multiplied by the scale and the tick count runs faster by the same factor.

#include <cstdint>

// Milliseconds since the system started, divided by the time scale; unsigned 32-bit, wraps.
std::uint32_t GetTickCount();

// The time scale in force (QRX_TIME_SCALE, read once; values <= 0 or unreadable give 1).
double TimeScale();
// Overrides the scale for the rest of the process (tests); 0 or less restores 1.
void SetTimeScale(double scale);

// A program interval in real milliseconds under the scale; at least 1 for a positive interval.
int ScaledInterval(std::uint32_t ms);

// Waits ms program milliseconds while dispatching every event (timers, posted messages, sockets,
// painting). 0 returns at once without dispatching; an end that wraps around returns at once.
// Always true.
bool WaitWithMessages(std::uint32_t ms);
