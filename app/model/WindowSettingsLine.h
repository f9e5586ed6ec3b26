#pragma once
// Reading a window's settings line of an analysis sheet, the part every
// window kind shares: splitting "window.<n>.<key>:<value>" into its key and
// value, reading whole numbers the way the fields hold them, and the keys
// that concern the window frame, its file, the print page and the
// statistics window, which the window itself carries out.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

// A window's place and size in twips, and its file, for its settings lines.
struct WindowFrameTwips {
    float left = 0, top = 0, width = 0, height = 0;
    int fileIndex = 0;  // WindowRecord.FileIndex
};

// "1" / "0", as settings lines write booleans.
inline const char* FlagText(bool b) { return b ? "1" : "0"; }

// Appends "location.x:", "location.y:", "size.x:" and "size.y:": the place
// and size lines of a window that shows no file.
void AppendWindowPlaceLines(std::vector<std::string>& lines, const WindowFrameTwips& frame);

// Appends "location.x:", "location.y:", "size.x:", "size.y:" and "file:",
// the first lines of every file window's settings.
void AppendWindowFrameLines(std::vector<std::string>& lines, const WindowFrameTwips& frame);

struct WindowSettingsLine {
    std::vector<std::string> pieces;  // the key split at ".", "window" and the ID first
    std::string key;                  // pieces 2.. (at most 2..5) joined by "."
    std::string value;                // between the first and the second ":"
    bool valid = false;               // a colon and at least three key pieces
};
WindowSettingsLine ParseWindowSettingsLine(const std::string& line);

// CInt / CLng of a number text; nothing when the text is no number or the
// value does not fit.
std::optional<int16_t> ReadInt16(const std::string& value);
std::optional<int32_t> ReadInt32(const std::string& value);
// A byte 0..255 (rounded half to even); nothing otherwise.
std::optional<uint8_t> ReadByte(const std::string& value);

// A flag value: "1" sets `field`, "0" clears it; true when it was one of
// them (any other text leaves the field and gives false).
bool ReadFlag(const std::string& value, bool& field);

// "fastdraw.enabled": "0" switches fast drawing off (every event drawn), "1"
// on with the step of `eventCount` events over `fastDrawLimit`; true when it
// was one of them.
bool ReadFastDrawFlag(const std::string& value, bool& fastDraw, int32_t& step, int32_t eventCount,
                      int32_t fastDrawLimit);

// "dot.size": "1" (small dots) or "2" (large); nothing for any other text.
std::optional<uint8_t> ReadDotSize(const std::string& value);
// The caption of the menu item that switches the dot size: it names the
// other size.
inline const char* DotSizeCaption(uint8_t dotSize) { return dotSize == 2 ? "Small dots" : "Large dots"; }

// "background": the grey of axes and text, the number cut to a whole one
// (toward minus infinity, or toward zero with `towardZero`) and kept only
// within 0..255; 0 makes the background light, 255 dark, other levels leave
// `dark` as it is. True when the value was taken.
bool ReadBackgroundGrey(const std::string& value, uint8_t& grey, bool& dark, bool towardZero = false);

// "fill.red:", "fill.green:" and "fill.blue:" of a window's fill colour.
void AppendFillColourLines(std::vector<std::string>& lines, uint8_t red, uint8_t green, uint8_t blue);
// A "fill.red", "fill.green" or "fill.blue" key: true, and the component
// set when the value is a byte 0..255; false for any other key.
bool ReadFillColourLine(const std::string& key, const std::string& value, uint8_t& red, uint8_t& green,
                        uint8_t& blue);

// What a settings line asks of the window beyond its own state.
struct WindowSettingRequest {
    enum class Kind {
        None,            // nothing more (the state took it, or the line was ignored)
        Left, Top, Width, Height,  // number: twips
        File,            // number: the new WindowRecord.FileIndex
        Preview,         // flag: AsetaPreviewissa(flag)
        Statistics,      // flag: AvaaTaiSuljeStatistics(flag ? "open" : "close")
        StatisticsLine,  // a statistics window line ("statistics.x", "statistics.y",
                         // "statistics.column.c.visible"): key and value for the statistics code
    };
    Kind kind = Kind::None;
    double number = 0;
    bool flag = false;
    std::string key;    // the key pieces from "location" on, joined by "."
    std::string value;  // the value text
};

// The request of a line whose key is one every window kind shares
// ("location.x/y", "size.x/y", "file", "printview.window.visible",
// "statistics.enabled", "statistics.x/y", "statistics.column.c.visible");
// nothing for any other key. Values that do not read (or are not "1"/"0"
// for flags) give a request of Kind::None.
std::optional<WindowSettingRequest> SharedWindowSettingRequest(const WindowSettingsLine& line);

}  // namespace qv
