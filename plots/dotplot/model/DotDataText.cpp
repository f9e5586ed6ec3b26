#include "plots/dotplot/model/DotDataText.h"

#include <QFile>

#include <algorithm>

#include "core/AtomicFile.h"
#include "core/Numbers.h"

namespace qv {

std::string DotDataText(const FileRecord& file, int channelX, int channelY, int shownPopulation) {
    std::string text;
    if (!file.Loaded) return text;
    const int params = std::min<int>(file.ParameterCount, file.WorkingData.maxColumn());
    if (channelX < 1 || channelY < 1 || channelX > params || channelY > params) return text;
    const int32_t events = std::min(file.EventCount, file.WorkingData.maxEvent());
    if (events < 1) return text;

    const float* xs = file.WorkingData.column(channelX);
    const float* ys = file.WorkingData.column(channelY);
    const bool filtered = shownPopulation != 0;
    const bool columnExists = shownPopulation > 0 && shownPopulation <= file.Membership.maxColumn();
    if (filtered && !columnExists) return text;
    const uint8_t* member = filtered ? file.Membership.column(shownPopulation) : nullptr;
    const int32_t memberRows = filtered ? file.Membership.maxEvent() : 0;

    text.reserve(static_cast<size_t>(events) * 16);
    for (int32_t e = 1; e <= events; ++e) {
        if (filtered && (e > memberRows || member[e] != 1)) continue;
        text += NumberText(xs[e]);
        text += '\t';
        text += NumberText(ys[e]);
        text += '\n';
    }
    return text;
}

bool WriteTextFileAtomically(const QString& path, const std::string& text, std::string* reason) {
    int error = 0;
    const FileWriteResult result = WriteFileAtomically(QFile::encodeName(path).toStdString(), text, true, &error);
    if (result == FileWriteResult::Ok) return true;
    if (reason) *reason = FileWriteReason(result, error);
    return false;
}

}  // namespace qv
