#include "app/model/FolderListing.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <algorithm>

#include "core/FcsReader.h"

namespace qv {

bool FolderNameLess(const std::string& a, const std::string& b) {
    const QString qa = QFile::decodeName(QByteArray::fromStdString(a));
    const QString qb = QFile::decodeName(QByteArray::fromStdString(b));
    const int folded = QString::compare(qa, qb, Qt::CaseInsensitive);
    if (folded != 0) return folded < 0;
    return a < b;
}

std::vector<std::string> ListFcsFiles(const std::string& folder) {
    std::vector<std::string> names;
    // An empty folder text would list the working folder: nothing is meant.
    if (folder.empty()) return names;
    const QDir dir(QFile::decodeName(QByteArray::fromStdString(folder)));
    if (!dir.exists()) return names;
    // Files (symbolic links to files included), without hidden and system
    // entries; the order is set below.
    const QStringList entries = dir.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
    names.reserve(static_cast<size_t>(entries.size()));
    for (const QString& entry : entries) {
        const std::string path = QFile::encodeName(dir.filePath(entry)).toStdString();
        if (IsFcsFile(path)) names.push_back(QFile::encodeName(entry).toStdString());
    }
    std::sort(names.begin(), names.end(), FolderNameLess);
    return names;
}

}  // namespace qv
