#include "core/FcsDump.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <exception>
#include <ostream>

#include "core/Compensation.h"
#include "core/FcsReader.h"
#include "core/TxtReader.h"

namespace qv {

namespace {

// Locale-free "%.<digits>g".
template <class T>
void appendNumber(std::string& line, T value, int digits) {
    char buffer[64];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    line.append(buffer, r.ptr);
}

void writeRecord(const FileRecord& r, bool summary, double readMs, std::ostream& out) {
    out << "loaded: 1\n";
    out << "version: " << r.FcsVersionText << '\n';
    out << "cytometer: " << r.Cytometer << '\n';
    out << "events: " << r.EventCount << '\n';
    out << "parameters: " << r.ParameterCount << '\n';
    out << "compensation: " << (r.CompensationOn ? 1 : 0) << '\n';
    for (int32_t p = 1; p <= r.ParameterCount; ++p) {
        const ParameterInfo& info = r.Parameters[static_cast<size_t>(p)];
        out << 'p' << p << ": " << info.Name << '|' << info.Range << '|' << (info.IsLog ? 1 : 0) << '\n';
    }
    if (summary) {
        for (int32_t p = 1; p <= r.ParameterCount; ++p) {
            const float* column = r.WorkingData.column(p);
            double sum = 0.0;
            for (int32_t e = 1; e <= r.EventCount; ++e) sum += static_cast<double>(column[e]);
            std::string line = "sum.p" + std::to_string(p) + ": ";
            appendNumber(line, sum, 17);
            out << line << '\n';
        }
        std::string line = "read_ms: ";
        appendNumber(line, readMs, 6);
        out << line << '\n';
        return;
    }
    out << "data:\n";
    std::string line;
    for (int32_t e = 1; e <= r.EventCount; ++e) {
        line.clear();
        for (int32_t p = 1; p <= r.ParameterCount; ++p) {
            if (p > 1) line += '\t';
            appendNumber(line, r.WorkingData(e, p), 9);
        }
        line += '\n';
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
    }
}

}  // namespace

int RunFcsDump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool text = false, summary = false, wrong = false;
    std::string path;
    bool havePath = false;
    for (const std::string& a : args) {
        if (a == "--text") text = true;
        else if (a == "--summary") summary = true;
        else if (a.starts_with("--") || havePath) wrong = true;
        else path = a, havePath = true;
    }
    if (wrong || !havePath) {
        err << "usage: fcsdump [--text] [--summary] FILE\n";
        return 2;
    }

    FileRecord record;
    const auto start = std::chrono::steady_clock::now();
    try {
        if (text) record = ReadTxtFile(path).Record;
        else record = ReadFcsFile(path);
        if (record.Loaded) ApplyCompensation(record);
    } catch (const std::exception& e) {
        record = FileRecord{};
        record.RefusalReason = std::string("the file could not be read: ") + e.what();
    }
    const double readMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

    if (!record.Loaded) {
        out << "loaded: 0\n";
        out << "error: " << LoadErrorMessage(record) << '\n';
        return 1;
    }
    writeRecord(record, summary, readMs, out);
    return 0;
}

}  // namespace qv
