#include "protocol/codec/codec_log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace codec_log_detail {
std::atomic<CodecLogSink> g_sink { nullptr };
}
using codec_log_detail::g_sink;

void SetCodecLogSink(CodecLogSink sink)
{
    g_sink.store(sink);
}

CodecLogSink GetCodecLogSink()
{
    return g_sink.load();
}

void CodecLogFormat(const char* format, ...)
{
    CodecLogSink sink = g_sink.load();
    if (!sink) {
        return;
    }
    char small[512];
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (n < 0) {
        va_end(copy);
        return;
    }
    if (static_cast<std::size_t>(n) < sizeof small) {
        va_end(copy);
        sink(small);
        return;
    }
    std::vector<char> big(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(big.data(), big.size(), format, copy);
    va_end(copy);
    sink(big.data());
}
