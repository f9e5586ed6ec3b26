#include "tests/support/core/FcsTestWriter.h"

#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

#include "core/FcsWriter.h"

namespace qv::test {

FcsTestFile& FcsTestFile::param(std::string name, std::string range, std::string exponent) {
    FcsTestParameter p;
    p.Name = std::move(name);
    p.Range = std::move(range);
    p.Exponent = std::move(exponent);
    Parameters.push_back(std::move(p));
    return *this;
}

FcsTestFile& FcsTestFile::event(std::vector<double> values) {
    Events.push_back(std::move(values));
    return *this;
}

namespace {

constexpr size_t HeaderSize = 58;
const std::string BeginMarker = "\x01" "begin";
const std::string EndMarker = "\x01" "end";

std::string field8(long long v) {
    std::string s = std::to_string(v);
    if (s.size() < 8) s.insert(0, 8 - s.size(), ' ');
    return s.substr(0, 8);
}

std::string raw8(const std::string& s) {
    std::string f = s.substr(0, 8);
    if (f.size() < 8) f.insert(0, 8 - f.size(), ' ');
    return f;
}

void putBytes(std::string& out, uint64_t bits, int bytes, bool little) {
    for (int k = 0; k < bytes; ++k) {
        const int shift = little ? 8 * k : 8 * (bytes - 1 - k);
        out += static_cast<char>((bits >> shift) & 0xff);
    }
}

std::string encodeData(const FcsTestFile& f, bool little) {
    std::string data;
    for (const std::vector<double>& ev : f.Events) {
        for (size_t p = 0; p < f.Parameters.size(); ++p) {
            const double v = p < ev.size() ? ev[p] : 0.0;
            const int bits = f.Parameters[p].Bits != 0 ? f.Parameters[p].Bits : f.Bits;
            if (f.DataType == "F") {
                putBytes(data, std::bit_cast<uint32_t>(static_cast<float>(v)), 4, little);
            } else if (f.DataType == "D") {
                putBytes(data, std::bit_cast<uint64_t>(v), 8, little);
            } else {
                const uint64_t whole = v <= 0 ? 0 : static_cast<uint64_t>(std::llround(v));
                const int bytes = bits / 8 > 0 ? bits / 8 : 1;
                putBytes(data, whole, bytes, little);
            }
        }
    }
    return data;
}

std::string replaceAll(const std::string& text, char from, const std::string& to) {
    std::string out;
    for (const char c : text) {
        if (c == from) out += to;
        else out += c;
    }
    return out;
}

}  // namespace

std::string FcsTestBytes(const FcsTestFile& f) {
    const bool little = f.ByteOrder.rfind("1,", 0) == 0;
    const std::string encoded = f.RawData.empty() ? encodeData(f, little) : std::string();
    const std::string& data = f.RawData.empty() ? encoded : f.RawData;

    std::vector<std::pair<std::string, std::string>> pairs;
    const bool offsetKeywords = f.Version != "FCS2.0" || f.Offsets != FcsDataOffsets::Header;
    pairs = f.LeadingKeywords;
    if (offsetKeywords) {
        pairs.emplace_back("$BEGINDATA", BeginMarker);
        pairs.emplace_back("$ENDDATA", EndMarker);
    }
    pairs.emplace_back("$BYTEORD", f.ByteOrder);
    pairs.emplace_back("$DATATYPE", f.DataType);
    pairs.emplace_back("$MODE", "L");
    pairs.emplace_back("$TOT", std::to_string(f.RawData.empty() ? f.Events.size() : f.RawEvents));
    pairs.emplace_back("$PAR", std::to_string(f.Parameters.size()));
    if (!f.Cytometer.empty()) pairs.emplace_back("$CYT", f.Cytometer);
    for (size_t i = 0; i < f.Parameters.size(); ++i) {
        const FcsTestParameter& p = f.Parameters[i];
        const std::string n = std::to_string(i + 1);
        pairs.emplace_back("$P" + n + "N", p.Name);
        pairs.emplace_back("$P" + n + "R", p.Range);
        pairs.emplace_back("$P" + n + "B", std::to_string(p.Bits != 0 ? p.Bits : f.Bits));
        if (!p.Exponent.empty()) pairs.emplace_back("$P" + n + "E", p.Exponent);
        if (!p.Display.empty()) pairs.emplace_back("P" + n + "DISPLAY", p.Display);
    }
    if (!f.Spill.empty()) {
        pairs.emplace_back("APPLY COMPENSATION", "TRUE");
        pairs.emplace_back("SPILL", f.Spill);
    }
    if (!f.Comp.empty()) pairs.emplace_back("$COMP", f.Comp);
    for (const auto& kv : f.Keywords) pairs.push_back(kv);

    for (const auto& [key, value] : f.Overrides) {
        auto it = pairs.begin();
        while (it != pairs.end() && it->first != key) ++it;
        if (!value) {
            if (it != pairs.end()) pairs.erase(it);
        } else if (it != pairs.end()) {
            it->second = *value;
        } else {
            pairs.emplace_back(key, *value);
        }
    }

    // The DATA offsets depend on the TEXT's length, which depends on them:
    // repeat until the numbers stop changing.
    const size_t textStart = HeaderSize;
    size_t dataStart = 0;
    std::string text;
    for (int round = 0; round < 10; ++round) {
        std::vector<std::pair<std::string, std::string>> filled = pairs;
        for (auto& [key, value] : filled) {
            if (value == BeginMarker) value = std::to_string(dataStart);
            if (value == EndMarker) value = std::to_string(dataStart + data.size() - (data.empty() ? 0 : 1));
        }
        if (f.EscapeDelimiters) {
            const std::string doubled(2, f.Delimiter);
            for (auto& [key, value] : filled) {
                key = replaceAll(key, f.Delimiter, doubled);
                value = replaceAll(value, f.Delimiter, doubled);
            }
        }
        text = FcsTextSegment(filled, f.Delimiter);
        if (f.TextUnclosed) text.back() = ' ';
        const size_t next = textStart + text.size();
        if (next == dataStart) break;
        dataStart = next;
    }
    const size_t dataEnd = dataStart + data.size() - (data.empty() ? 0 : 1);

    std::string header = f.Version.substr(0, 6);
    header.resize(6, ' ');
    header += "    ";
    header += f.HeaderTextStart ? raw8(*f.HeaderTextStart) : field8(static_cast<long long>(textStart));
    header += f.HeaderTextEnd ? raw8(*f.HeaderTextEnd)
                              : field8(static_cast<long long>(textStart + text.size() - 1));
    std::string dataStartField, dataEndField;
    switch (f.Offsets) {
    case FcsDataOffsets::Header:
        dataStartField = field8(static_cast<long long>(dataStart));
        dataEndField = field8(static_cast<long long>(dataEnd));
        break;
    case FcsDataOffsets::HeaderZero:
        dataStartField = field8(0);
        dataEndField = field8(0);
        break;
    case FcsDataOffsets::HeaderNines:
        dataStartField = "99999999";
        dataEndField = "99999999";
        break;
    }
    header += f.HeaderDataStart ? raw8(*f.HeaderDataStart) : dataStartField;
    header += f.HeaderDataEnd ? raw8(*f.HeaderDataEnd) : dataEndField;
    header += "       0       0";

    std::string bytes = header + text + data;
    bytes.resize(bytes.size() - std::min(f.DataBytesDropped, data.size()));
    bytes += f.Trailer;
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write test file " + path);
}

void WriteFcsTestFile(const std::string& path, const FcsTestFile& file) { WriteBytes(path, FcsTestBytes(file)); }

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qvtest-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern + "/";
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

}  // namespace qv::test
