#include "core/FcsWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "core/FcsReader.h"
#include "core/FileKey.h"
#include "core/Numbers.h"
#include "core/ParameterName.h"

namespace qv {

namespace {

// Every value a reader turns back into a coefficient goes through the same
// steps as the FCS reader's: the leading number, divided by -100, rounded to
// a 32-bit float.
float readBackCoefficient(std::string_view text) { return static_cast<float>(-(Val(text) / 100.0)); }

int32_t parametersInUse(const FileRecord& file) {
    const int32_t listed = static_cast<int32_t>(file.Parameters.size()) - 1;
    return std::max(0, std::min(file.ParameterCount, listed));
}

int32_t eventsInUse(const FileRecord& file) { return std::max(0, file.EventCount); }

std::string rightAligned(int64_t value, size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() >= width) return digits;
    return std::string(width - digits.size(), ' ') + digits;
}

// Delimiters tried in turn; never a character of a keyword name, a blank, a
// line end or character 12 (which earlier versions of this program's reader
// put in place of every delimiter, so a file holding it would not open there).
constexpr std::string_view DelimiterCandidates =
    "\\/|~^!#%&*@;\"'`?<>[]{}=+_\x01\x02\x03\x04\x05\x06\x07\x08\x0b\x0e\x0f\x10\x11\x12\x13\x14\x15\x16\x17"
    "\x18\x19\x1a\x1b\x1c\x1d\x1e\x1f";


}  // namespace

std::string FcsCompValueText(float coefficient) {
    if (coefficient == 0.0f || !std::isfinite(coefficient)) return "0";
    // Exact in a double: a float times 100 needs at most 31 significant bits.
    const double t = -100.0 * static_cast<double>(coefficient);
    char buf[64];
    for (int precision = 1; precision <= 17; ++precision) {
        std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, t, std::chars_format::general, precision);
        std::string_view text(buf, static_cast<size_t>(r.ptr - buf));
        if (readBackCoefficient(text) != coefficient) continue;
        // "-1e+02" is written "-100": the whole number is as short and reads
        // everywhere.
        if (text.find("e+") != std::string_view::npos) {
            r = std::to_chars(buf, buf + sizeof buf, t, std::chars_format::fixed, 0);
            text = std::string_view(buf, static_cast<size_t>(r.ptr - buf));
            if (readBackCoefficient(text) != coefficient) continue;
        }
        return std::string(text);
    }
    const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, t);
    return std::string(buf, r.ptr);
}

std::string FcsTextSegment(const std::vector<std::pair<std::string, std::string>>& keywords, char delimiter) {
    std::string text(1, delimiter);
    for (const auto& [key, value] : keywords) {
        text += key;
        text += delimiter;
        text += value;
        text += delimiter;
    }
    return text;
}

std::vector<std::pair<std::string, std::string>> FcsKeywords(const FileRecord& file, std::string_view versionText,
                                                             int64_t dataStart, int64_t dataEnd) {
    const int32_t P = parametersInUse(file);
    std::vector<std::pair<std::string, std::string>> k;
    k.reserve(static_cast<size_t>(P) * 5 + 20);
    k.emplace_back("$BEGINANALYSIS", "0");
    k.emplace_back("$ENDANALYSIS", "0");
    k.emplace_back("$BEGINTEXT", "0");
    k.emplace_back("$ENDTEXT", "0");
    // FCS 3.0 requires the supplemental TEXT offsets; this file has none.
    k.emplace_back("$BEGINSTEXT", "0");
    k.emplace_back("$ENDSTEXT", "0");
    k.emplace_back("$NEXTDATA", "0");
    k.emplace_back("$BEGINDATA", std::to_string(dataStart));
    k.emplace_back("$ENDDATA", std::to_string(dataEnd));
    k.emplace_back("$CYT", "Quorvane ver " + std::string(versionText));
    k.emplace_back("$BYTEORD", "4,3,2,1");
    k.emplace_back("$DATATYPE", "F");
    k.emplace_back("$TOT", std::to_string(eventsInUse(file)));
    k.emplace_back("$MODE", "L");
    k.emplace_back("$PAR", std::to_string(P));
    for (int32_t n = 1; n <= P; ++n) {
        const ParameterInfo& info = file.Parameters[static_cast<size_t>(n)];
        const std::string number = std::to_string(n);
        // An empty value would read as an escaped delimiter and swallow the
        // keywords after it.
        k.emplace_back("$P" + number + "N", ParameterNameOrDefault(info.Name, n));
        k.emplace_back("$P" + number + "R", std::to_string(info.Range));
        k.emplace_back("$P" + number + "B", "32");
        k.emplace_back("$P" + number + "E", "0,0");
        k.emplace_back("P" + number + "DISPLAY", info.IsLog ? "LOG" : "LIN");
    }
    if (file.CompensationOn) {
        const EventMatrix<float>& m = file.CompensationMatrix;
        std::string comp = std::to_string(P);
        for (int32_t i = 1; i <= P; ++i)
            for (int32_t j = 1; j <= P; ++j) {
                comp += ',';
                comp += FcsCompValueText(m.contains(i, j) ? m(i, j) : 0.0f);
            }
        k.emplace_back("$COMP", std::move(comp));
    }
    if (!file.BeginTime.empty()) k.emplace_back("$BTIM", file.BeginTime);
    if (!file.EndTime.empty()) k.emplace_back("$ETIM", file.EndTime);
    if (!file.Comment.empty()) k.emplace_back("$COM", file.Comment);
    if (!file.SampleId.empty()) k.emplace_back("SAMPLE ID", file.SampleId);
    return k;
}

char ChooseFcsDelimiter(const std::vector<std::pair<std::string, std::string>>& keywords) {
    for (const char candidate : DelimiterCandidates) {
        const bool used = std::any_of(keywords.begin(), keywords.end(), [candidate](const auto& kv) {
            return kv.first.find(candidate) != std::string::npos || kv.second.find(candidate) != std::string::npos;
        });
        if (!used) return candidate;
    }
    return '\\';  // every candidate taken: nothing better exists
}

FcsFileLayout LayoutFcsFile(const FileRecord& file, std::string_view versionText) {
    const int64_t dataBytes = int64_t{4} * eventsInUse(file) * parametersInUse(file);
    FcsFileLayout layout;
    // The DATA start is raised until the TEXT that names it fits in front of
    // it. The TEXT only grows with the start's digits, so this settles in a
    // step or two; the gap left, if any, is padded with blanks.
    int64_t start = FcsFixedDataStart;
    std::string text;
    for (;;) {
        const auto keywords = FcsKeywords(file, versionText, start, start + dataBytes - 1);
        layout.Delimiter = ChooseFcsDelimiter(keywords);
        text = FcsTextSegment(keywords, layout.Delimiter);
        const int64_t needed = FcsHeaderLength + static_cast<int64_t>(text.size());
        if (needed <= start) break;
        start = needed;
    }
    text.resize(static_cast<size_t>(start - FcsHeaderLength), ' ');
    layout.DataStart = start;
    layout.DataEnd = start + dataBytes - 1;

    const int64_t textEnd = FcsHeaderLength - 1 + static_cast<int64_t>(text.size());
    const bool dataFits = layout.DataEnd <= FcsHeaderOffsetLimit;
    std::string& head = layout.Head;
    head.reserve(static_cast<size_t>(start));
    head = "FCS3.0    ";
    head += rightAligned(FcsHeaderLength, 8);
    head += rightAligned(textEnd <= FcsHeaderOffsetLimit ? textEnd : 0, 8);
    head += rightAligned(dataFits ? layout.DataStart : 0, 8);
    head += rightAligned(dataFits ? layout.DataEnd : 0, 8);
    head += rightAligned(0, 8);
    head += rightAligned(0, 8);
    head.resize(FcsHeaderLength, ' ');
    head += text;
    return layout;
}

void AppendFcsEvents(const FileRecord& file, int32_t first, int32_t last, std::string& out) {
    const int32_t P = parametersInUse(file);
    first = std::max(first, 1);
    last = std::min(last, eventsInUse(file));
    if (P < 1 || last < first) return;
    const EventMatrix<float>& data = file.PristineData;
    std::vector<const float*> columns(static_cast<size_t>(P) + 1, nullptr);
    const int32_t heldColumns = data.empty() ? 0 : std::min(P, data.maxColumn());
    for (int32_t p = 1; p <= heldColumns; ++p) columns[static_cast<size_t>(p)] = data.column(p);
    const int32_t heldEvents = data.empty() ? 0 : data.maxEvent();

    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(last - first + 1) * static_cast<size_t>(P) * 4);
    unsigned char* dst = reinterpret_cast<unsigned char*>(out.data()) + at;
    for (int32_t e = first; e <= last; ++e) {
        for (int32_t p = 1; p <= P; ++p) {
            const float* column = columns[static_cast<size_t>(p)];
            const float v = column && e <= heldEvents ? column[e] : 0.0f;
            uint32_t bits = 0;
            std::memcpy(&bits, &v, sizeof bits);
            *dst++ = static_cast<unsigned char>(bits >> 24);
            *dst++ = static_cast<unsigned char>(bits >> 16);
            *dst++ = static_cast<unsigned char>(bits >> 8);
            *dst++ = static_cast<unsigned char>(bits);
        }
    }
}

std::string FcsWriteRefusal(const FileRecord& file, std::string_view versionText) {
    const int32_t P = parametersInUse(file);
    if (P < 1) return "a file without parameters cannot be read";
    if (P > MaxReadableParameters)
        return "more than " + std::to_string(MaxReadableParameters) + " parameters are not supported";
    // Keywords and values are written as they are, so a delimiter that one
    // of them holds would split it: the TEXT must split, as the reader
    // splits it, into exactly the pairs written.
    const auto keywords = FcsKeywords(file, versionText, 0, 0);
    const std::string text = FcsTextSegment(keywords, ChooseFcsDelimiter(keywords));
    const FcsTextPairs pairs = SplitFcsText(text);
    bool readsBack = pairs.size() == keywords.size();
    for (size_t i = 0; readsBack && i < keywords.size(); ++i)
        readsBack = pairs.rawKey(i) == keywords[i].first && pairs.rawValue(i) == keywords[i].second;
    if (!readsBack) return "the names and texts use every character that could separate them";
    // The TEXT is built, the DATA only counted.
    const int64_t bytes = LayoutFcsFile(file, versionText).DataEnd + 1;
    if (bytes > MaxReadableFileBytes)
        return "the file would be " + std::to_string(bytes) + " bytes long, more than the " +
               std::to_string(MaxReadableFileBytes) + " bytes a data file may have";
    return {};
}

std::string FcsFileBytes(const FileRecord& file, std::string_view versionText) {
    FcsFileLayout layout = LayoutFcsFile(file, versionText);
    std::string bytes = std::move(layout.Head);
    AppendFcsEvents(file, 1, eventsInUse(file), bytes);
    return bytes;
}

}  // namespace qv
