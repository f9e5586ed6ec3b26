#include "fileutils/model/BatchRename.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>

#include "core/TextUtil.h"
#include "fileutils/model/WellPlate.h"

namespace qv {
namespace {

bool pathTaken(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// Renames without ever replacing the target; 0 on success, else the errno.
int renameNoReplace(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
#endif
    // A file system without the no-replace rename: look first.
    if (pathTaken(to)) return EEXIST;
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace

std::string NewFileName(const std::string& name, const RenameRules& rules) {
    std::string result = name;
    if (rules.padWellNumbers) {
        for (int digit = 1; digit <= 9; ++digit)
            for (int row = 1; row <= PlateRows; ++row) {
                const std::string letter(1, RowLetter(row));
                const std::string code = "_" + letter + std::to_string(digit) + "_";
                if (result.find(code) != std::string::npos)
                    result = ReplaceAll(result, code, "_" + letter + "0" + std::to_string(digit) + "_");
            }
    }
    if (rules.replaceText) result = ReplaceAll(result, rules.find, rules.replacement);
    return result;
}

RenamePlan PlanRenames(const std::string& folder, const std::vector<std::string>& names, const RenameRules& rules) {
    RenamePlan plan;
    if (rules.replaceText && rules.find.empty()) {
        plan.problems.push_back("The text to replace is empty.");
        return plan;
    }
    std::map<std::string, std::string> takenBy;  // new name -> the file that gets it
    for (const std::string& name : names) {
        const std::string to = NewFileName(name, rules);
        if (to == name) continue;
        if (to.empty() || to == "." || to == ".." || to.find('/') != std::string::npos) {
            plan.problems.push_back(name + ": \"" + to + "\" is not a valid name");
            continue;
        }
        if (pathTaken(folder + to)) plan.problems.push_back(name + " -> " + to + ": " + to + " exists already");
        const auto [it, fresh] = takenBy.emplace(to, name);
        if (!fresh) plan.problems.push_back(name + " -> " + to + ": also the new name of " + it->second);
        plan.renames.push_back({name, to});
    }
    return plan;
}

RenameOutcome ApplyRenames(const std::string& folder, const std::vector<RenamePair>& renames) {
    RenameOutcome outcome;
    for (size_t i = 0; i < renames.size(); ++i) {
        const RenamePair& pair = renames[i];
        if (outcome.error.empty()) {
            const int err = renameNoReplace(folder + pair.from, folder + pair.to);
            if (err == 0) {
                outcome.done.push_back(pair);
                continue;
            }
            outcome.error = std::strerror(err);
        }
        outcome.notDone.push_back(pair);
    }
    return outcome;
}

}  // namespace qv
