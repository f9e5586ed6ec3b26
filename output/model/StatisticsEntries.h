#pragma once
// The entries of a statistics window's pop-up menu and which of them are
// switched on: statistic columns, file information rows, separators and the
// print-page entry, as they stand for each kind of owner window.
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

enum class StatisticsEntryKind : int16_t { Other = 0, Column = 1, InfoRow = 2 };

struct StatisticsMenuEntry {
    std::string Caption;  // "-" makes a separator
    StatisticsEntryKind Kind = StatisticsEntryKind::Other;
};

class StatisticsEntries {
public:
    // Builds the entries for an owner of this window type ("DotPlot",
    // "Histogram", "Histogram Modeller", "BendPlot"); any other type gets
    // none. Every earlier choice is dropped.
    void build(const std::string& ownerType);

    // N: the number of entries after "Copy to clipboard"; the print-page
    // entry is the last one (N), 0 when nothing was built.
    int count() const { return static_cast<int>(entries_.size()); }
    int previewEntry() const { return count(); }

    // Entry k, 1..N; an empty separator-like entry outside that range.
    const StatisticsMenuEntry& entry(int k) const;
    void setPreviewCaption(bool statisticsOnPrintPage);

    // Whether entry k (1..N) is switched on; false outside 1..N.
    bool visible(int k) const;
    // Switches entry k on or off; separators, the print-page entry and
    // numbers outside 1..N change nothing.
    void setVisible(int k, bool on);
    // From a settings line: the text "1" switches on, "0" off, any other
    // text changes nothing.
    void setVisibleFromText(int k, const std::string& value);

    // Inverts entry k (a statistic column or an information row); when no
    // entry is left on, entry k is switched on again, so the last shown
    // entry of either kind stays shown. Separators, the print-page entry
    // and numbers outside 1..N change nothing.
    void toggle(int k);

    // Information rows switched on: the index of the header row.
    int infoRowsShown() const;

private:
    std::vector<StatisticsMenuEntry> entries_;  // 0..N-1 hold entries 1..N
    std::vector<bool> visible_;
};

}  // namespace qv
