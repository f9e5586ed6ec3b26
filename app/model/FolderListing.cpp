#include "app/model/FolderListing.h"

#include <QFile>
#include <QString>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/model/FileSystemText.h"
#include "core/FcsReader.h"

namespace qv {

bool FolderNameLess(const std::string& a, const std::string& b) {
    const QString qa = shownFileSystemText(a);
    const QString qb = shownFileSystemText(b);
    const int folded = QString::compare(qa, qb, Qt::CaseInsensitive);
    if (folded != 0) return folded < 0;
    return a < b;
}

void SortFolderNames(std::vector<std::string>& names) {
    // Each name's text form is made once, not at every comparison.
    struct Keyed {
        QString text;
        std::string name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(names.size());
    for (std::string& name : names) keyed.push_back({shownFileSystemText(name), std::move(name)});
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        const int folded = QString::compare(a.text, b.text, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a.name < b.name;
    });
    for (size_t i = 0; i < keyed.size(); ++i) names[i] = std::move(keyed[i].name);
}

namespace {

// The plain files of `folder` that `keep` accepts, sorted by name without
// regard to case; names starting with "." only when `withHidden`.
template <typename Keep>
std::vector<std::string> listPlainFiles(const std::string& folder, bool withHidden, Keep keep) {
    std::vector<std::string> names;
    // An empty folder text would list the working folder: nothing is meant.
    if (folder.empty()) return names;
    // Names are taken as the file system holds them (bytes), so a name that is
    // not valid text in the locale still opens.
    std::error_code ec;
    std::filesystem::directory_iterator it(std::filesystem::path(folder), ec);
    if (ec) return names;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        std::string name = it->path().filename().string();
        // Plain files only (a link to a file counts as the file; folders,
        // devices, pipes and sockets do not).
        if (name.empty() || (name[0] == '.' && !withHidden)) continue;
        std::error_code typeError;
        if (!std::filesystem::is_regular_file(it->path(), typeError)) continue;
        if (keep(it->path())) names.push_back(std::move(name));
    }
    SortFolderNames(names);
    return names;
}

bool isFcsPath(const std::filesystem::path& path) { return IsFcsFile(path.string()); }

}  // namespace

std::vector<std::string> ListFcsFiles(const std::string& folder) { return listPlainFiles(folder, false, isFcsPath); }

std::vector<std::string> ListFolderFiles(const std::string& folder) {
    return listPlainFiles(folder, true, [](const std::filesystem::path&) { return true; });
}

}  // namespace qv
