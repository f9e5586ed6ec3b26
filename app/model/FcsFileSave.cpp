#include "app/model/FcsFileSave.h"

#include <QFile>

#include <algorithm>

#include "app/model/WaitCursor.h"
#include "core/AtomicFile.h"
#include "core/FcsWriter.h"
#include "core/SharedState.h"

namespace qv {

bool WriteFcsFile(const QString& path, const FileRecord& file, std::string* reason) {
    WaitCursor wait;
    AtomicFileWriter out(QFile::encodeName(path).toStdString());
    const auto failed = [&] {
        if (reason) *reason = out.reason();
        return false;
    };
    if (out.open() != FileWriteResult::Ok) return failed();
    FcsFileLayout layout = LayoutFcsFile(file, g.VersionText);
    bool ok = out.write(layout.Head);
    layout.Head = std::string();
    // About a megabyte of events at a time.
    const int32_t perEvent = std::max(1, 4 * file.ParameterCount);
    const int32_t block = std::max(1, (1 << 20) / perEvent);
    std::string bytes;
    for (int32_t first = 1; ok && first <= file.EventCount; first += block) {
        bytes.clear();
        AppendFcsEvents(file, first, std::min(file.EventCount, first + block - 1), bytes);
        ok = out.write(bytes);
    }
    if (!ok || out.commit() != FileWriteResult::Ok) return failed();
    return true;
}

int ActiveWindowFileSlot() {
    const int id = g.ActiveWindowSlot;
    if (id < 1 || id >= static_cast<int>(g.WindowRegistry.size())) return 0;
    const WindowRecord& window = g.WindowRegistry[static_cast<size_t>(id)];
    if (!window.InUse || !window.Form) return 0;
    const int slot = window.FileIndex;
    if (slot < 1 || slot > g.MaxFiles || slot >= static_cast<int>(g.FileTable.size())) return 0;
    return g.FileTable[static_cast<size_t>(slot)].Loaded ? slot : 0;
}

bool MayOverwriteFcsFile(const FileRecord& file) { return file.Cytometer.find("Quorvane") != std::string::npos; }

}  // namespace qv
