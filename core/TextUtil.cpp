#include "core/TextUtil.h"

namespace qv {

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
    if (find.empty()) return std::string(text);
    std::string result;
    result.reserve(text.size());
    size_t from = 0;
    for (;;) {
        const size_t at = text.find(find, from);
        if (at == std::string_view::npos) break;
        result.append(text.substr(from, at - from));
        result.append(replacement);
        from = at + find.size();
    }
    result.append(text.substr(from));
    return result;
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t from = 0;
    for (;;) {
        const size_t at = text.find(separator, from);
        if (at == std::string_view::npos) {
            parts.push_back(text.substr(from));
            return parts;
        }
        parts.push_back(text.substr(from, at - from));
        from = at + 1;
    }
}

}  // namespace qv
