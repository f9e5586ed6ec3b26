#pragma once
// What the file information window does to the loaded files, free of
// widgets: the facts it lists, the texts of its compensation grid and input
// boxes, deleting a parameter, imposing one set of parameter values on every
// loaded file, and its settings lines in the analysis sheet.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/FileRecord.h"

namespace qv {

// "Name: ", "Begin time: ", "End time: " and, for a comment, "Comments: "
// with every carriage return shown as ", ".
std::vector<std::string> FileFactLines(const FileRecord& file);

// A compensation grid cell: the coefficient as a percentage (15.3 for 0.153).
std::string CompensationCellText(float coefficient);
// The default offered when a cell is edited: the cell's number cut down to
// two decimals ("-2.555" offers "-2.56"); "0" for a cell that is no number.
std::string CompensationEditDefault(std::string_view cellText);
// A coefficient as the program keeps it: a finite 32-bit float whose
// percentage (the grid's text) is finite too. Nothing for any other number,
// so no coefficient can turn the compensated values into infinities.
std::optional<float> CompensationCoefficient(double fraction);
// A percentage typed into a cell or the edit box as the coefficient it
// stands for; nothing when the text is no number or the coefficient would
// be out of range (CompensationCoefficient).
std::optional<float> CompensationFromPercent(std::string_view text);

// The answer to the events-in-use box: blanks, tabs and line feeds are
// ignored, the leading number is read with "." as decimal point (an exponent
// allowed) and rounded half to even. Nothing unless that gives 1 or more
// and the number is not above `eventsLoaded`.
std::optional<int32_t> EventsInUseFromAnswer(std::string_view answer, int32_t eventsLoaded);

// Removes parameter `p` of the file from everything that is kept per
// parameter, together: its entry in Parameters, its column of PristineData
// and WorkingData (every loaded event) and its row and column of the
// compensation matrix. False (nothing changed) when p is not a parameter of
// the file or it is the file's only parameter. Gates and window axes keep
// their numbers; recomputing populations is the caller's business.
bool DeleteParameter(FileRecord& file, int32_t p);

// One set of parameter values, as the window shows them: item k of
// Parameters is parameter k + 1; Matrix[i][j] is the coefficient (i + 1,
// j + 1), nothing where the grid holds no number.
struct ParameterValueSet {
    struct Item {
        std::string Name;
        bool IsLog = false;
    };
    std::vector<Item> Parameters;
    bool CompensationOn = false;
    std::vector<std::vector<std::optional<float>>> Matrix;
};

// Imposes the set on every loaded file in slots 1..maxFiles: for the first
// n parameters (n the smaller of the file's count and the set's) the name,
// log mark and compensation coefficients; the compensation switch when n is
// at least 1. Parameters and coefficients beyond n keep their values; cells
// without a number keep the file's coefficient. Each file's working data
// are rebuilt. Populations are not recomputed here.
void ImposeParameterValues(const ParameterValueSet& values, std::vector<FileRecord>& table, int maxFiles);

// ---- settings lines ----

// The window's state that its settings lines record.
struct FileInfoSettings {
    float Left = 0, Top = 0;  // twips
    int ShownFileSlot = 0;
    bool Global = false;
    std::string EventsText;   // as the events box shows it
    bool CompensateTicked = false;
};

// Element 0 the number of lines; then "location.x:", "location.y:",
// "file:", "global.enabled:", "events.show:" and, with global values on,
// "parameter.<p>.name:" and "parameter.<p>.log:" for every parameter of
// `shown`, "compensation.enabled:" and "compensation.table.<i>.<j>:" for
// each non-zero coefficient of `shown` (the fraction itself). `shown` is the
// record in the shown slot, nullptr when there is none. The block has no
// upper limit on its number of lines.
std::vector<std::string> FileInfoSettingsLines(const FileInfoSettings& settings, const FileRecord* shown);

// What a settings line asks of the window beyond the record it changed.
struct FileInfoSettingRequest {
    enum class Kind {
        None,        // nothing more (the record took it, or the line was ignored)
        Left, Top,   // number: twips
        File,        // number: the slot to show
        Global,      // flag: the global-values box and switch
        Compensate,  // flag: the "Compensate" box (the record's switch is set)
        EventsInUse, // the events box shows the shown record's events in use
    };
    Kind kind = Kind::None;
    double number = 0;
    bool flag = false;
};

// Reads one sheet line "fileinfo.<key>:<value>" (the value is everything
// after the first colon). Parameter names (an empty one becomes the
// parameter's default name), log marks, the compensation switch,
// coefficients and the events in use ("events.show", read like an answer of
// the events box) are written into `shown` (the record of the shown slot,
// nullptr when none: such lines then change nothing). Keys are compared
// exactly; unknown keys, flags other than "1"/"0", numbers that do not read,
// coefficients out of range, a number of events the box would refuse,
// parameters and coefficients outside 1..ParameterCount, and "file" values
// that are no loaded slot 1..maxFiles change nothing.
FileInfoSettingRequest ApplyFileInfoSettingLine(std::string_view line, FileRecord* shown,
                                                const std::vector<FileRecord>& table, int maxFiles);

}  // namespace qv
