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

QString& appDataOverride() {
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

QString fallbackAutosaveFilePath() {
    QString folder = appDataOverride();
    // A program folder pointed elsewhere (tests) has no second place unless
    // one is named too, so nothing outside it is ever read or removed.
    if (folder.isEmpty() && !overrideFolder().isEmpty()) return {};
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty()) return {};
    return withSlash(folder) + QStringLiteral("autosave.quorvane");
}

QString leftAutosaveFile() {
    const QFileInfo primary(autosaveFilePath());
    const QString fallback = fallbackAutosaveFilePath();
    const QFileInfo secondary(fallback);
    const bool hasPrimary = primary.isFile();
    const bool hasSecondary = !fallback.isEmpty() && secondary.isFile() && secondary != primary;
    if (hasPrimary && hasSecondary)
        return secondary.lastModified() > primary.lastModified() ? secondary.filePath() : primary.filePath();
    if (hasPrimary) return primary.filePath();
    if (hasSecondary) return secondary.filePath();
    return {};
}

void setAppDataFolderOverride(const QString& folder) {
    appDataOverride() = folder.isEmpty() ? QString() : withSlash(folder);
}

void setProgramFolderOverride(const QString& folder) {
    overrideFolder() = folder.isEmpty() ? QString() : withSlash(folder);
}

}  // namespace qv
