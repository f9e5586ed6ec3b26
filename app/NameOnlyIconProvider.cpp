#include "app/NameOnlyIconProvider.h"

#include <QFileInfo>
#include <QMimeDatabase>

namespace qv {

NameOnlyIconProvider::NameOnlyIconProvider()
    : folderIcon_(QFileIconProvider::icon(Folder)),
      fileIcon_(QFileIconProvider::icon(File)),
      driveIcon_(QFileIconProvider::icon(Drive)) {}

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const {
    if (info.isRoot()) return driveIcon_;
    return info.isDir() ? folderIcon_ : fileIcon_;
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const {
    if (info.isDir()) return QStringLiteral("Folder");
    // By the name's extension only: this lookup never opens the file.
    const QList<QMimeType> byName = QMimeDatabase().mimeTypesForFileName(info.fileName());
    if (!byName.isEmpty() && !byName.first().comment().isEmpty()) return byName.first().comment();
    return QStringLiteral("File");
}

NameOnlyIconProvider* NameOnlyIconProvider::shared() {
    // Never deleted: models and dialogs may ask it until the very end.
    static NameOnlyIconProvider* const provider = new NameOnlyIconProvider;
    return provider;
}

}  // namespace qv
