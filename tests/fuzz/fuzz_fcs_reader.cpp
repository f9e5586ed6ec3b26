// libFuzzer entry point: any bytes given to the FCS reader load or are
// refused with a reason; a loaded record keeps the shapes the rest of the
// program relies on, and compensation runs over it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/Compensation.h"
#include "core/FcsReader.h"
#include "core/SharedState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        qv::resetSharedState();
        return true;
    }();
    (void)ready;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qv::FileRecord r = qv::ReadFcsData(bytes, "/fuzz/input.fcs");
    if (!r.Loaded) {
        if (r.RefusalReason.empty() || r.FileKey != 0 || r.ParameterCount != 0) std::abort();
        return 0;
    }
    const int32_t P = r.ParameterCount;
    if (P < 1 || r.FileKey == 0 || r.EventCount < 0 || r.EventCount != r.EventsLoaded) std::abort();
    if (r.Parameters.size() != static_cast<size_t>(P) + 1) std::abort();
    if (r.PristineData.maxEvent() != r.EventCount || r.PristineData.maxColumn() != P) std::abort();
    if (r.WorkingData.maxEvent() != r.EventCount || r.WorkingData.maxColumn() != P) std::abort();
    if (r.CompensationMatrix.maxEvent() != P || r.CompensationMatrix.maxColumn() != P) std::abort();
    if (r.Membership.maxEvent() != r.EventCount) std::abort();
    // Nothing may be sized beyond what the input can justify.
    if (static_cast<size_t>(r.EventCount) > size) std::abort();
    qv::ApplyCompensation(r);
    return 0;
}
