#pragma once
// The whole picture of a bending plot, drawn into a QImage without any
// widget: the root and axis handles, the axis lines, the events as dots
// coloured by population or by their distance along the chain, the
// bending-plot gates with their labels, the fast-draw notice and the axis
// names turned along their axes. Dots are written straight into the image's
// scan lines; QPainter draws only the lines and texts.
#include <QImage>

#include <cstdint>
#include <vector>

#include "core/FileRecord.h"
#include "plots/multi/model/BendPlacement.h"
#include "plots/multi/model/BendPlotState.h"

namespace qv {

struct BendPlotRenderOptions {
    // The quick pass after a resize: about 1000 events, whatever EventStep is.
    bool quickPass = false;
    // The window is on the print page and the page is shown: the file name
    // is printed at the top left.
    bool showFileName = false;
};

// The step a draw uses: EventStep, or Int(EventCount / 1000) in a quick
// pass over more than 1000 events. Always at least 1.
int32_t BendDrawStep(const BendPlotState& state, const FileRecord& file, bool quickPass);

class BendPlotRenderer {
public:
    // Draws the complete picture into `image` (its size is the picture's).
    // Updates what the drawing owns: ForegroundLevel, axis parameters the
    // file lacks (they become 1), ShownPopulation when it names no slot in
    // use, and LabelBaseX/LabelBaseY of the gates drawn (in the shared
    // population table). Returns the number of events drawn.
    int64_t render(QImage& image, BendPlotState& state, const FileRecord& file, const BendPlotRenderOptions& options);

private:
    int64_t drawDots(QImage& image, const BendPlotState& state, const FileRecord& file, int32_t step);

    struct ColourSlot {
        const uint8_t* member;
        uint32_t rgb;
    };
    std::vector<ColourSlot> colourSlots_;
};

}  // namespace qv
