#include "output/model/StatisticsEntries.h"

#include <algorithm>

namespace qv {

namespace {

struct EntrySpec {
    const char* caption;
    StatisticsEntryKind kind;
    bool shown;
};

constexpr auto C = StatisticsEntryKind::Column;
constexpr auto I = StatisticsEntryKind::InfoRow;
constexpr auto O = StatisticsEntryKind::Other;
constexpr const char* PreviewOff = "Show in print preview page";
constexpr const char* PreviewOn = "Don't show in print preview page";

const std::vector<EntrySpec>& specsFor(const std::string& ownerType) {
    static const std::vector<EntrySpec> dotPlot = {
        {"Number", C, true},   {"% of Vis", C, true},  {"XMean", C, true},
        {"YMean", C, true},    {"XGeoMean", C, true},  {"YGeoMean", C, true},
        {"-", O, false},       {"File name", I, false}, {"Sample ID", I, false},
        {"Comments", I, false}, {"-", O, false},       {PreviewOff, O, false}};
    static const std::vector<EntrySpec> histogram = {
        {"Number", C, true},    {"% of vis", C, true},  {"XMean", C, true},
        {"XGeoMean", C, true},  {"CV", C, true},        {"-", O, false},
        {"File name", I, false}, {"Sample ID", I, false}, {"Comments", I, false},
        {"-", O, false},        {PreviewOff, O, false}};
    static const std::vector<EntrySpec> modeller = {
        {"% of tot", C, true},  {"XMean", C, true},     {"XGeoMean", C, true},
        {"CV", C, true},        {"-", O, false},        {"File name", I, false},
        {"Sample ID", I, false}, {"Comments", I, false}, {"-", O, false},
        {PreviewOff, O, false}};
    static const std::vector<EntrySpec> bendPlot = {
        {"Number", C, true},    {"% of Vis", C, true},  {"-", O, false},
        {"File name", I, false}, {"Sample ID", I, false}, {"Comments", I, false},
        {"-", O, false},        {PreviewOff, O, false}};
    static const std::vector<EntrySpec> none;
    if (ownerType == "DotPlot") return dotPlot;
    if (ownerType == "Histogram") return histogram;
    if (ownerType == "Histogram Modeller") return modeller;
    if (ownerType == "BendPlot") return bendPlot;
    return none;
}

}  // namespace

void StatisticsEntries::build(const std::string& ownerType) {
    const std::vector<EntrySpec>& specs = specsFor(ownerType);
    entries_.clear();
    visible_.clear();
    for (const EntrySpec& s : specs) {
        entries_.push_back({s.caption, s.kind});
        visible_.push_back(s.shown);
    }
}

const StatisticsMenuEntry& StatisticsEntries::entry(int k) const {
    static const StatisticsMenuEntry outside{"-", StatisticsEntryKind::Other};
    return k >= 1 && k <= count() ? entries_[static_cast<size_t>(k - 1)] : outside;
}

void StatisticsEntries::setPreviewCaption(bool statisticsOnPrintPage) {
    if (count() > 0) entries_.back().Caption = statisticsOnPrintPage ? PreviewOn : PreviewOff;
}

bool StatisticsEntries::visible(int k) const {
    return k >= 1 && k <= count() && visible_[static_cast<size_t>(k - 1)];
}

void StatisticsEntries::setVisible(int k, bool on) {
    // Separators and the print-page entry are never switched on.
    if (k >= 1 && k <= count() && entry(k).Kind != StatisticsEntryKind::Other)
        visible_[static_cast<size_t>(k - 1)] = on;
}

void StatisticsEntries::setVisibleFromText(int k, const std::string& value) {
    if (value == "1") setVisible(k, true);
    else if (value == "0") setVisible(k, false);
}

void StatisticsEntries::toggle(int k) {
    if (entry(k).Kind == StatisticsEntryKind::Other) return;
    setVisible(k, !visible(k));
    if (std::none_of(visible_.begin(), visible_.end(), [](bool v) { return v; })) setVisible(k, true);
}

int StatisticsEntries::infoRowsShown() const {
    int rows = 0;
    for (int k = 1; k <= count(); ++k)
        if (visible(k) && entry(k).Kind == StatisticsEntryKind::InfoRow) ++rows;
    return rows;
}

}  // namespace qv
