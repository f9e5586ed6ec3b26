#include "app/model/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

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

QString& executableOverride() {
    static QString folder;
    return folder;
}

QString withSlash(QString path) {
    path = QDir::fromNativeSeparators(path);
    if (!path.endsWith(QChar('/'))) path += QChar('/');
    return path;
}

QString executableFolder() {
    return executableOverride().isEmpty() ? QCoreApplication::applicationDirPath() : executableOverride();
}

// 0 when `folder` is a folder this user may write in, else why not.
int folderWriteError(const QString& folder) {
    if (folder.isEmpty()) return ENOENT;
    const std::string path = QFile::encodeName(folder).toStdString();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return errno;
    if (!S_ISDIR(info.st_mode)) return ENOTDIR;
    return ::access(path.c_str(), W_OK) == 0 ? 0 : errno;
}

int makeFolders(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT) return errno;
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        if (const int error = makeFolders(path.substr(0, slash)); error != 0) return error;
    }
    if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) return errno;
    return 0;
}

QString appDataFolder() {
    return appDataOverride().isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                       : appDataOverride();
}

}  // namespace

QString programFolder() {
    if (!overrideFolder().isEmpty()) return overrideFolder();
    const QString exeDir = executableFolder();
    if (folderWriteError(exeDir) == 0) return withSlash(exeDir);
    QString data = appDataFolder();
    if (data.isEmpty()) return withSlash(exeDir);
    makeFolderPath(data);
    return withSlash(data);
}

int makeFolderPath(const QString& folder) {
    if (folder.isEmpty()) return ENOENT;
    return makeFolders(QFile::encodeName(folder).toStdString());
}

std::optional<UnwritableFolder> unwritableExecutableFolder() {
    if (!overrideFolder().isEmpty()) return std::nullopt;
    const QString exeDir = executableFolder();
    const int error = folderWriteError(exeDir);
    if (error == 0 || appDataFolder().isEmpty()) return std::nullopt;
    return UnwritableFolder{withSlash(exeDir), error};
}

void setExecutableFolderOverride(const QString& folder) { executableOverride() = folder; }

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
