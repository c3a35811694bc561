// Log output of the codec. The program points the sink at its diagnostic log; without a sink
// the codec writes nothing and does not even format its lines.
#pragma once

using CodecLogSink = void (*)(const char* line);

// Sets (or, with nullptr, removes) the function that receives every log line of the codec.
void SetCodecLogSink(CodecLogSink sink);
CodecLogSink GetCodecLogSink();

// printf-style log line through the sink (one line per call, no trailing newline).
void CodecLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
