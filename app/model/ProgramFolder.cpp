#include "app/model/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qv {

namespace {

QString& overrideFolder() {
    static QString folder;
    return folder;
}

QString withSlash(QString path) {
    path = QDir::fromNativeSeparators(path);
    if (!path.endsWith(QChar('/'))) path += QChar('/');
    return path;
}

}  // namespace

QString programFolder() {
    if (!overrideFolder().isEmpty()) return overrideFolder();
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QFileInfo info(exeDir);
    if (!exeDir.isEmpty() && info.isDir() && info.isWritable()) return withSlash(exeDir);
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty()) return withSlash(exeDir);
    QDir().mkpath(data);
    return withSlash(data);
}

QString autosaveFilePath() { return programFolder() + QStringLiteral("autosave.quorvane"); }

void setProgramFolderOverride(const QString& folder) {
    overrideFolder() = folder.isEmpty() ? QString() : withSlash(folder);
}

}  // namespace qv
