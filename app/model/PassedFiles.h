#pragma once
// The files a tool run passed over because the reader refused them. A walk
// passes them without a word, so one damaged file never stops an unattended
// batch; when the run ends it names them all in one message, each with the
// reader's reason, so a batch table that lacks their rows says why.
#include <QString>

#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace qv {

struct PassedFile {
    std::string path;    // as the file system names it
    std::string reason;  // the reader's, "" when it gave none
};

class PassedFiles {
public:
    // Notes a refused file; a path noted already is not noted again.
    void note(const std::string& path, const std::string& reason);
    // The files noted, in the order they were met; the list is emptied.
    std::vector<PassedFile> take();

private:
    std::vector<PassedFile> files_;
    std::unordered_set<std::string> paths_;
};

// The message that names them: how many there were, then one line per file,
// its path and the reader's reason.
QString PassedFilesMessage(const std::vector<PassedFile>& files);

}  // namespace qv
