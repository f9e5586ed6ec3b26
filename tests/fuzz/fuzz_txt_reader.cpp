// libFuzzer entry point: any bytes given to the text table reader load or
// are refused with a reason; a loaded record keeps its shapes and its
// clipboard text has one line per event (and one more with a name column).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/SharedState.h"
#include "core/TxtReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        qv::resetSharedState();
        return true;
    }();
    (void)ready;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const qv::TxtReadResult result = qv::ReadTxtData(bytes, "/fuzz/input.txt");
    const qv::FileRecord& r = result.Record;
    if (!r.Loaded) {
        if (r.RefusalReason.empty() || r.FileKey != 0 || !result.ClipboardText.empty()) std::abort();
        return 0;
    }
    const int32_t P = r.ParameterCount;
    if (P < 1 || r.FileKey == 0 || r.EventCount < 0) std::abort();
    if (r.PristineData.maxEvent() != r.EventCount || r.PristineData.maxColumn() != P) std::abort();
    if (r.HasEventNames && r.EventNames.size() != static_cast<size_t>(r.EventCount) + 1) std::abort();
    size_t lines = 0;
    for (char c : result.ClipboardText) lines += c == '\n';
    if (lines != static_cast<size_t>(r.EventCount) + (r.HasEventNames ? 1 : 0)) std::abort();
    return 0;
}
