#include "app/model/LimitInput.h"

#include <limits>

#include "core/Numbers.h"

namespace qv {

std::optional<int32_t> limitFromAnswer(const std::optional<QString>& answer) {
    if (!answer) return std::nullopt;
    const QByteArray text = answer->toLatin1();
    const std::optional<double> value = ParseNumber(std::string_view(text.constData(), static_cast<size_t>(text.size())));
    if (!value) return std::nullopt;
    const double whole = Int(*value);
    if (whole < 1.0 || whole > static_cast<double>(std::numeric_limits<int32_t>::max())) return std::nullopt;
    return static_cast<int32_t>(whole);
}

}  // namespace qv
