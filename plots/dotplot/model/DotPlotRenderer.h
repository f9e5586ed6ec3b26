#pragma once
// The whole picture of a dot plot, drawn into a QImage without any widget:
// axes with linear and logarithmic ticks, the events as dots coloured by
// population or as a density image, the polygon gates of the shown channel
// pair with their labels, the fast-draw label, the axis titles and the
// quadrant cross. Events are written straight into the image's scan lines;
// QPainter draws only the lines and texts.
#include <QImage>

#include <cstdint>
#include <vector>

#include "core/FileRecord.h"
#include "plots/dotplot/model/DotPlotState.h"

namespace qv {

struct DotPlotRenderOptions {
    // The quick pass after a resize: about 1000 events, whatever EventStep is.
    bool quickPass = false;
    // The plot is on the print page and that page is shown: the file name is
    // printed in the top left corner.
    bool showFileName = false;
    // Density cells become single points as soon as either side of the plot
    // is smaller than the grid (the time and projection plots), not only
    // when both are.
    bool densityPointsWhenEitherSideSmaller = false;
};

// Brings ChannelX/ChannelY into the parameters of `file`: a channel the file
// lacks (above its parameter count, or below 1) becomes 1 for X and 2 for Y,
// or the last parameter when the file has only one. Returns the number of
// parameters that can be drawn (0 when the file has none, or no data).
int FitChannelsToFile(DotPlotState& state, const FileRecord& file);

// Brings ShownPopulation back to 0 when it names no population or definition
// in use (a free slot, or a number outside the population table).
void FitShownPopulation(DotPlotState& state);

// Grey level of a density cell holding `count` events: CLng(200 * log10(count + 1)),
// at most 255 (1 event gives 60, 9 give 200, 16 give 246, 18 and more 255).
uint8_t DensityGrey(int32_t count);

// The events a draw visits: 1, 1 + step, ... up to the event count, with the
// quick pass after a resize using Int(events / 1000) when there are more than
// 1000 events. Always at least 1.
int32_t DrawStep(const DotPlotState& state, const FileRecord& file, bool quickPass);

class DotPlotRenderer {
public:
    // Draws the complete picture into `image` (its size is the picture's
    // size; the caller keeps it). Updates the state the drawing owns:
    // ForegroundGrey, ChannelX/ChannelY and ShownPopulation when out of range,
    // DensityGrid, and LabelBaseX/LabelBaseY of the gates it draws (in the
    // shared population table). EventStep is left as it was, also after a
    // quick pass. Returns the number of events drawn (dots or density counts).
    int64_t render(QImage& image, DotPlotState& state, const FileRecord& file, const DotPlotRenderOptions& options);

private:
    int64_t drawDots(QImage& image, DotPlotState& state, const FileRecord& file, int32_t step);
    int64_t drawDensity(QImage& image, DotPlotState& state, const FileRecord& file, int32_t step,
                        bool pointsWhenEitherSideSmaller);

    // Scratch, kept between draws so a draw allocates nothing per event.
    std::vector<float> xs_, ys_;
    std::vector<double> gxs_, gys_;
    std::vector<int32_t> cellX_, cellY_;
    struct ColourSlot {
        const uint8_t* member;
        uint32_t rgb;
    };
    std::vector<ColourSlot> colourSlots_;
};

}  // namespace qv
