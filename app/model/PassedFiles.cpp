#include "app/model/PassedFiles.h"

#include "app/model/FileSystemText.h"

namespace qv {

void PassedFiles::note(const std::string& path, const std::string& reason) {
    if (paths_.insert(path).second) files_.push_back({path, reason});
}

std::vector<PassedFile> PassedFiles::take() {
    paths_.clear();
    return std::exchange(files_, {});
}

QString PassedFilesMessage(const std::vector<PassedFile>& files) {
    QString text = files.size() == 1
                       ? QStringLiteral("The tool passed 1 file that was not a valid flow cytometry file:")
                       : QStringLiteral("The tool passed %1 files that were not valid flow cytometry files:")
                             .arg(files.size());
    for (const PassedFile& file : files) {
        text += QLatin1Char('\n') + shownFileSystemText(file.path);
        if (!file.reason.empty()) text += QStringLiteral(": ") + QString::fromLatin1(file.reason);
    }
    return text;
}

}  // namespace qv
