#include "app/FcsSaveCommands.h"

#include <QFile>

#include <optional>
#include <string>

#include "app/Dialogs.h"
#include "app/model/FcsFileSave.h"
#include "core/FcsWriter.h"
#include "core/SharedState.h"

namespace qv {

namespace {

// Paths are kept in the file system's own encoding.
QString fromFileSystem(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// A file this program could not read back is not written at all, so an
// earlier file of that name stays as it was.
void writeOrReport(const QString& path, const FileRecord& file) {
    const std::string refusal = FcsWriteRefusal(file, g.VersionText);
    if (!refusal.empty()) {
        showSaveError(path, refusal);
        return;
    }
    std::string reason;
    if (!WriteFcsFile(path, file, &reason)) showSaveError(path, reason);
}

}  // namespace

void SaveFcsOverOriginal() {
    const int slot = ActiveWindowFileSlot();
    if (slot == 0) return;
    const FileRecord& file = g.FileTable[static_cast<size_t>(slot)];
    if (!MayOverwriteFcsFile(file)) {
        showMessage(QString::fromLatin1(FileProtectionText), QString::fromLatin1(FileProtectionTitle));
        return;
    }
    writeOrReport(fromFileSystem(file.fullPath()), file);
}

void SaveFcsAs() {
    const int slot = ActiveWindowFileSlot();
    if (slot == 0) return;
    const std::optional<QString> path =
        dialogs().saveFileName(QStringLiteral("Save as FCS file"), QStringLiteral("FCS files (*)"), QString(),
                               OverwriteQuestion::ByDialog);
    if (!path || path->isEmpty()) return;
    // The dialog may have let other work run; the file must still be there.
    if (ActiveWindowFileSlot() != slot) return;
    writeOrReport(*path, g.FileTable[static_cast<size_t>(slot)]);
}

}  // namespace qv
