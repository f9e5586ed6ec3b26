#include "app/model/ScriptFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "core/AtomicFile.h"

namespace qv {

QString scriptsFolderIn(const QString& programFolder) {
    QString folder = programFolder;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder + QStringLiteral("scripts/");
}

std::optional<bool> scriptFileIsPacked(const QString& fileName) {
    const qsizetype lastDot = fileName.lastIndexOf(QLatin1Char('.'));
    if (lastDot < 0) return std::nullopt;
    const QString ext = fileName.mid(lastDot + 1).toLower();
    if (ext == QLatin1String("qorscript")) return false;
    if (ext == QLatin1String("qorpack") || ext == QLatin1String("qortool")) return true;
    return std::nullopt;
}

std::vector<ScriptMenuEntry> listScripts(const QString& folder) {
    std::vector<ScriptMenuEntry> out;
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists()) return out;
    // QDir::Files leaves out folders; without QDir::Hidden and QDir::System
    // hidden entries and special files (sockets, devices) stay out too.
    const QFileInfoList files = dir.entryInfoList(QDir::Files, QDir::NoSort);
    for (const QFileInfo& info : files) {
        const QString name = info.fileName();
        const std::optional<bool> packed = scriptFileIsPacked(name);
        if (!packed) continue;
        out.push_back(ScriptMenuEntry{name.section(QLatin1Char('.'), 0, 0), name, *packed});
    }
    // The file system's own order is arbitrary: sort by name without regard
    // to case, and by exact name among names that differ only in case.
    std::sort(out.begin(), out.end(), [](const ScriptMenuEntry& a, const ScriptMenuEntry& b) {
        const int c = QString::compare(a.FileName, b.FileName, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.FileName < b.FileName;
    });
    return out;
}

std::optional<std::string> readScriptText(const QString& path) {
    // A script replaced by a pipe or a device since the menu was made is
    // refused, never waited on.
    std::string bytes;
    if (!ReadWholeFile(QFile::encodeName(path).toStdString(), bytes)) return std::nullopt;
    return bytes;
}

}  // namespace qv
