#pragma once
// The captions of a window kind's pop-up menu, 1-based as the main window's
// menu array, starting from the kind's table of start captions. Items that
// toggle something carry the caption of the action they take next.
#include <array>
#include <cstddef>
#include <string>

namespace qv {

template <const auto& StartCaptions>
struct MenuCaptionList {
    static constexpr size_t Size = std::size(StartCaptions);
    std::array<std::string, Size> MenuCaptions{};

    MenuCaptionList() { resetCaptions(); }

    void resetCaptions() {
        for (size_t i = 0; i < Size; ++i) MenuCaptions[i] = StartCaptions[i];
    }
    const std::string& caption(int item) const { return MenuCaptions[static_cast<size_t>(item)]; }
    void setCaption(int item, const char* text) { MenuCaptions[static_cast<size_t>(item)] = text; }
};

}  // namespace qv
