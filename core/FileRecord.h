#pragma once
// One loaded data file and its parameters.
#include <cstdint>
#include <string>
#include <vector>

#include "core/EventMatrix.h"

namespace qv {

struct ParameterInfo {
    std::string Name;
    bool IsLog = false;
    int32_t Range = 0;       // top of the axis in the parameter's own units
    bool LogLocked = false;  // never set true by the program
};

struct FileRecord {
    bool Loaded = false;
    std::string FcsVersionText;  // "FCS2.0" / "FCS3.0"; empty for text tables
    int32_t TextStart = 0;
    int32_t TextEnd = 0;
    int32_t DataStart = 0;
    std::string TextSegment;     // as the file holds it; its first byte is the delimiter
    std::string DataType;
    std::string ByteOrder;
    int16_t BitsPerValue = 0;
    std::string Comment;
    std::string SampleId;
    int32_t EventsLoaded = 0;
    std::string BeginTime;
    std::string EndTime;
    std::string Cytometer;
    int16_t VersionNumber = 0;   // 3, 2, or 0 for text tables
    std::string FileName;
    std::string Folder;          // ends with "/"; Folder + FileName is the path
    int32_t EventCount = 0;      // events in use: the bound of every event loop
    int32_t ParameterCount = 0;
    std::vector<ParameterInfo> Parameters;   // 0..P, element 0 unused
    EventMatrix<float> PristineData;         // (event 0..E', parameter 0..P)
    EventMatrix<float> WorkingData;          // PristineData with compensation
    bool CompensationOn = false;
    EventMatrix<float> CompensationMatrix;   // (i, j): share of i subtracted from j; "events" index is i
    int32_t FileKey = 0;                     // 0 marks a free FileTable slot
    EventMatrix<uint8_t> Membership;         // (event 0..E', slot 0..MaxPopulations+MaxDefinitions)
    std::vector<std::string> EventNames;     // 0..E
    bool HasEventNames = false;

    // Why a reader refused the file (empty when it loaded). Not part of the
    // record's meaning for the rest of the program; the opening code shows it.
    std::string RefusalReason;

    std::string fullPath() const { return Folder + FileName; }
};

}  // namespace qv
