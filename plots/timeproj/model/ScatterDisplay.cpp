#include "plots/timeproj/model/ScatterDisplay.h"

#include <algorithm>
#include <cmath>

#include "core/FastDraw.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "plots/dotplot/model/DotPlotState.h"

namespace qv {

ScatterView NewScatterView(int id, const std::string& title, const ScatterMenuItems& items,
                           const std::vector<std::string>& captions) {
    ScatterView v;
    v.ID = static_cast<int16_t>(id);
    v.Title = title;
    v.Items = items;
    v.MenuCaptions = captions;
    if (v.MenuCaptions.empty()) v.MenuCaptions.emplace_back();
    return v;
}

int64_t DrawScatter(QImage& image, ScatterView& view, const FileRecord& file, const ScatterDrawOptions& options,
                    DotPlotRenderer& renderer) {
    // The dot plot draws the same picture; only its gates and quadrant are
    // left out and its density cells follow the rule of these windows.
    DotPlotState s;
    s.ID = view.ID;
    s.ChannelX = view.AxisX;
    s.ChannelY = view.AxisY;
    s.Margin = view.PlotMargin;
    s.TickLength = view.TickLength;
    s.EventStep = std::max<int32_t>(1, view.EventStep);
    s.FastDrawOn = view.FastDraw;
    s.DensityOn = view.DensityShown;
    s.DensityResolution = view.DensityResolution;
    s.RegionLinesOn = false;
    s.MulticolourOn = view.Multicolor;
    s.DarkBackground = view.DarkBackground;
    s.DotSize = view.DotSize;
    s.QuadrantOn = false;
    s.ShownPopulation = view.ShownPopulation;
    s.DensityGrid = std::move(view.DensityGrid);

    DotPlotRenderOptions o;
    o.quickPass = options.quickPass;
    o.showFileName = options.showFileName;
    o.densityPointsWhenEitherSideSmaller = true;
    const int64_t drawn = renderer.render(image, s, file, o);

    // A file with parameters brings the axes into its list (an axis above
    // the count goes back to 1 for X and 2 for Y).
    view.AxisX = s.ChannelX;
    view.AxisY = s.ChannelY;
    view.ShownPopulation = s.ShownPopulation;
    view.ForegroundLevel = s.ForegroundGrey;
    view.DensityGrid = std::move(s.DensityGrid);
    return drawn;
}

namespace {

void applyDrawMode(ScatterView& view, const DrawMode& mode) {
    view.FastDraw = mode.fast;
    view.EventStep = mode.step;
    view.setCaption(view.Items.FastDraw, mode.caption);
}

}  // namespace

void ChooseDrawMode(ScatterView& view, int32_t eventCount, int32_t limit) {
    applyDrawMode(view, DrawModeAfterLoad(eventCount, LimitOfAtLeastOne(limit)));
}

bool ToggleFastDraw(ScatterView& view, int32_t eventCount, int32_t limit) {
    const std::optional<DrawMode> mode = SwitchedDrawMode(view.FastDraw, eventCount, LimitOfAtLeastOne(limit));
    if (!mode) return false;
    applyDrawMode(view, *mode);
    return true;
}

bool ToggleDisplayItem(ScatterView& view, int index) {
    const ScatterMenuItems& it = view.Items;
    if (index <= 0) return false;
    if (index == it.Density) {
        view.DensityShown = !view.DensityShown;
        view.setCaption(index, view.DensityShown ? "Dot plot" : "Density plot");
    } else if (index == it.Multicolor) {
        view.Multicolor = !view.Multicolor;
        view.setCaption(index, view.Multicolor ? "Disable multicoloring" : "Enable multicoloring");
    } else if (index == it.Background) {
        view.DarkBackground = !view.DarkBackground;
    } else if (index == it.DotSize) {
        if (view.DotSize == 1) {
            view.DotSize = 2;
            view.setCaption(index, "Small dots");
        } else {
            view.DotSize = 1;
            view.setCaption(index, "Large dots");
        }
    } else {
        return false;
    }
    return true;
}

int AxisStripAt(double x, double y, double W, double H, double m) {
    if (x > 0 && x < m && y > m && y < H - m) return 2;
    if (x > m && x < W && y > H - m && y < H) return 1;
    return 0;
}

namespace {

std::optional<double> wholeNumber(const std::string& text) {
    const std::optional<double> v = ParseNumber(text);
    if (!v) return std::nullopt;
    const double r = RoundHalfEven(*v);
    if (!(r >= INT16_MIN && r <= INT16_MAX)) return std::nullopt;
    return r;
}

}  // namespace

std::optional<int16_t> AxisValue(const std::string& text, int parameterCount) {
    const std::optional<double> v = wholeNumber(text);
    if (!v || *v < 1) return std::nullopt;
    if (parameterCount > 0 && *v > parameterCount) return std::nullopt;
    return static_cast<int16_t>(*v);
}

std::optional<int16_t> ShownPopulationValue(const std::string& text) {
    const std::optional<double> v = wholeNumber(text);
    if (!v || *v < 0 || *v > g.membershipSlots() || *v >= PopulationTableSize) return std::nullopt;
    return static_cast<int16_t>(*v);
}

}  // namespace qv
