#include "core/Compensation.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace qv {

namespace {

struct Share {
    int32_t from;  // i: the parameter whose pristine value is taken
    int32_t to;    // j: the parameter it is subtracted from
    double coefficient;
};

// Events are processed in blocks so that the columns a block touches stay
// in cache while every share is subtracted from them.
constexpr int32_t kBlockEvents = 4096;

}  // namespace

void ApplyCompensation(FileRecord& record) {
    const EventMatrix<float>& pristine = record.PristineData;
    EventMatrix<float>& working = record.WorkingData;
    if (pristine.empty()) return;
    if (working.maxEvent() != pristine.maxEvent() || working.maxColumn() != pristine.maxColumn() ||
        working.empty())
        working.resize(pristine.maxEvent(), pristine.maxColumn());

    const int32_t parameters = std::min(record.ParameterCount, pristine.maxColumn());
    const int32_t events = std::min(record.EventCount, pristine.maxEvent());
    if (parameters < 1 || events < 1) return;

    for (int32_t p = 1; p <= parameters; ++p)
        std::memcpy(working.column(p) + 1, pristine.column(p) + 1, sizeof(float) * static_cast<size_t>(events));
    if (!record.CompensationOn) return;

    // A zero share subtracts nothing, so only the others are applied; they
    // are listed with i outermost, which keeps the order of subtraction
    // for every working value.
    const EventMatrix<float>& matrix = record.CompensationMatrix;
    const int32_t top = std::min({parameters, matrix.empty() ? 0 : matrix.maxEvent(), matrix.maxColumn()});
    std::vector<Share> shares;
    for (int32_t i = 1; i <= top; ++i)
        for (int32_t j = 1; j <= top; ++j)
            if (matrix(i, j) != 0.0f) shares.push_back({i, j, static_cast<double>(matrix(i, j))});
    if (shares.empty()) return;

    for (int32_t begin = 1; begin <= events; begin += kBlockEvents) {
        const int32_t end = std::min(events, begin + kBlockEvents - 1);
        for (const Share& s : shares) {
            const float* src = pristine.column(s.from);
            float* dst = working.column(s.to);
            const double c = s.coefficient;
            for (int32_t e = begin; e <= end; ++e)
                dst[e] = static_cast<float>(static_cast<double>(dst[e]) - c * static_cast<double>(src[e]));
        }
    }
}

}  // namespace qv
