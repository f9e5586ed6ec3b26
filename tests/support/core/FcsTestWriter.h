#pragma once
// A small FCS 2.0/3.0 writer for test fixtures: integer (8, 16, 24, 32 bits),
// 32-bit float and 64-bit double data in either byte order, log parameters,
// SPILL and $COMP, large-file DATA offsets, and hooks to damage a file in
// chosen ways (keywords replaced or removed, HEADER fields overwritten,
// DATA cut short). Tests build the files they need; no fixture is stored.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qv::test {

struct FcsTestParameter {
    std::string Name;
    std::string Range = "1024";  // $PnR text
    std::string Exponent = "0,0";  // $PnE text; empty leaves the keyword out
    std::string Display;           // PnDISPLAY text; empty leaves the keyword out
    int Bits = 0;                  // $PnB; 0 takes FcsTestFile::Bits
};

// Where the HEADER's DATA offsets come from.
enum class FcsDataOffsets {
    Header,       // in the HEADER's eight-digit fields
    HeaderZero,   // 0 in the HEADER, the real offsets in $BEGINDATA/$ENDDATA
    HeaderNines,  // 99999999 in the HEADER, the real offsets in the keywords
};

struct FcsTestFile {
    std::string Version = "FCS3.0";
    std::string DataType = "F";          // "I", "F" or "D"
    std::string ByteOrder = "4,3,2,1";   // "1,2,3,4" or "1,2" write least significant byte first
    int Bits = 32;                       // $PnB of parameters that give none
    char Delimiter = '/';
    std::string Cytometer;               // $CYT, left out when empty
    std::vector<FcsTestParameter> Parameters;
    std::vector<std::vector<double>> Events;  // Events[e][p], both from 0; values cast to the data type
    // When not empty, written as DATA instead of Events (large fixtures);
    // $TOT then comes from RawEvents.
    std::string RawData;
    size_t RawEvents = 0;
    std::string Spill;                   // SPILL value with APPLY COMPENSATION "TRUE"; left out when empty
    std::string Comp;                    // $COMP value, left out when empty
    std::vector<std::pair<std::string, std::string>> Keywords;  // further pairs, written after the others
    std::vector<std::pair<std::string, std::string>> LeadingKeywords;  // pairs written before the others
    // Every delimiter inside a keyword or value written doubled, as FCS
    // escapes it (otherwise keywords and values are written as given).
    bool EscapeDelimiters = false;
    // The TEXT's last delimiter written as a blank, so no delimiter closes
    // the last value.
    bool TextUnclosed = false;

    // Edits of the finished keyword list, in order: a value replaces the
    // keyword's value (or appends the pair when absent), nullopt removes it.
    std::vector<std::pair<std::string, std::optional<std::string>>> Overrides;

    FcsDataOffsets Offsets = FcsDataOffsets::Header;
    // Raw eight-character HEADER fields written instead of the computed ones.
    std::optional<std::string> HeaderTextStart, HeaderTextEnd, HeaderDataStart, HeaderDataEnd;
    size_t DataBytesDropped = 0;  // bytes cut from the end of DATA (and so of the file)
    std::string Trailer;          // bytes appended after DATA

    // Helpers for the common shapes.
    FcsTestFile& param(std::string name, std::string range = "1024", std::string exponent = "0,0");
    FcsTestFile& event(std::vector<double> values);
};

// The file's bytes.
std::string FcsTestBytes(const FcsTestFile& file);
// Writes the file's bytes (or any bytes) to `path`; throws on failure.
void WriteFcsTestFile(const std::string& path, const FcsTestFile& file);
void WriteBytes(const std::string& path, const std::string& bytes);

// A fresh empty folder for one test's files, ending with "/", removed with
// its content when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

}  // namespace qv::test
