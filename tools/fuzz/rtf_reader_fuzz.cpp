// Fuzz target: the RTF reader never fails, never reads outside its input and keeps its document
// consistent (every run has text; plain text and paragraphs agree).
#include "app/rtfreader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const CRtfDocument doc = ParseRtf(bytes);
    if (doc.IsRtf != LooksLikeRtf(bytes)) {
        std::abort();
    }
    qsizetype total = 0;
    for (const CRtfParagraph& p : doc.Paragraphs) {
        for (const CRtfRun& r : p.Runs) {
            if (doc.IsRtf && r.Text.isEmpty()) {
                std::abort();
            }
            total += r.Text.size();
        }
    }
    const QString plain = doc.PlainText();
    if (plain.size() != total + (doc.Paragraphs.isEmpty() ? 0 : doc.Paragraphs.size() - 1)) {
        std::abort();
    }
    // The output stays within a small multiple of the input.
    if (total > 4 * static_cast<qsizetype>(size) + 16) {
        std::abort();
    }
    return 0;
}
