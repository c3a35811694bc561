// Log output of the codec. The program points the sink at its diagnostic log; without a sink
// the codec writes nothing and does not even format its lines or evaluate their arguments.
#pragma once

#include <atomic>

using CodecLogSink = void (*)(const char* line);

// Sets (or, with nullptr, removes) the function that receives every log line of the codec.
void SetCodecLogSink(CodecLogSink sink);
CodecLogSink GetCodecLogSink();

namespace codec_log_detail {
extern std::atomic<CodecLogSink> g_sink;
}

// True while a sink is set: the receive path asks this before it builds a line.
inline bool CodecLogEnabled()
{
    return codec_log_detail::g_sink.load(std::memory_order_relaxed) != nullptr;
}

// printf-style log line through the sink (one line per call, no trailing newline).
void CodecLogFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The codec's log statement: a no-op while no sink is set, arguments included.
#define CodecLog(...)                                                                                        \
    do {                                                                                                     \
        if (CodecLogEnabled()) {                                                                             \
            CodecLogFormat(__VA_ARGS__);                                                                     \
        }                                                                                                    \
    } while (0)
