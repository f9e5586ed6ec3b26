#include "fileutils/model/BatchRename.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

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

// File systems that keep the names of another operating system and refuse
// its reserved characters.
bool holdsWindowsNames(long type) {
    switch (static_cast<unsigned long>(type) & 0xFFFFFFFFUL) {
    case 0x4d44UL:      // FAT
    case 0x2011BAB0UL:  // exFAT
    case 0x5346544eUL:  // NTFS
    case 0x7366746eUL:  // NTFS (ntfs3)
    case 0xFF534D42UL:  // CIFS
    case 0xFE534D42UL:  // SMB2
    case 0x517BUL:      // SMB
        return true;
    default:
        return false;
    }
}

}  // namespace

FolderNameRules NameRulesOf(const std::string& folder) {
    FolderNameRules rules;
    const std::string path = folder.empty() ? std::string(".") : folder;
    const long max = ::pathconf(path.c_str(), _PC_NAME_MAX);
    if (max > 0 && static_cast<unsigned long>(max) < rules.maxBytes) rules.maxBytes = static_cast<size_t>(max);
    // The system's path limit counts the closing zero of the path.
    const long maxPath = ::pathconf(path.c_str(), _PC_PATH_MAX);
    if (maxPath > 1 && static_cast<unsigned long>(maxPath) - 1 < rules.maxPathBytes)
        rules.maxPathBytes = static_cast<size_t>(maxPath) - 1;
    struct statfs fs {};
    if (::statfs(path.c_str(), &fs) == 0) rules.windowsNames = holdsWindowsNames(static_cast<long>(fs.f_type));
    return rules;
}

std::string FileNameProblem(const std::string& name, const FolderNameRules& rules) {
    if (name.empty() || name == "." || name == "..") return "is not a valid name";
    for (const char c : name)
        if (c == '/' || c == '\0') return "is not a valid name";
    if (name.size() > rules.maxBytes)
        return "is " + std::to_string(name.size()) + " bytes long; the folder takes names of at most " +
               std::to_string(rules.maxBytes);
    if (rules.windowsNames) {
        for (const char c : name) {
            const auto u = static_cast<unsigned char>(c);
            if (u < 0x20) return "holds a control character, which the folder's file system refuses";
            if (std::strchr("\\:*?\"<>|", c))
                return std::string("holds \"") + c + "\", which the folder's file system refuses";
        }
        if (name.back() == ' ' || name.back() == '.')
            return "ends with a blank or a dot, which the folder's file system drops";
    }
    return {};
}

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
    return PlanRenames(folder, names, rules, NameRulesOf(folder));
}

RenamePlan PlanRenames(const std::string& folder, const std::vector<std::string>& names, const RenameRules& rules,
                       const FolderNameRules& nameRules) {
    RenamePlan plan;
    plan.refusals.resize(names.size());
    if (rules.replaceText && rules.find.empty()) {
        plan.problems.push_back("The text to replace is empty.");
        for (std::string& refusal : plan.refusals) refusal = "The text to replace is empty.";
        return plan;
    }
    const auto refuse = [&plan](size_t row, const std::string& line) {
        plan.problems.push_back(line);
        if (plan.refusals[row].empty()) plan.refusals[row] = line;
    };
    std::map<std::string, size_t> takenBy;  // new name -> the row of the file that gets it
    for (size_t row = 0; row < names.size(); ++row) {
        const std::string& name = names[row];
        const std::string to = NewFileName(name, rules);
        if (to == name) continue;
        if (const std::string why = FileNameProblem(to, nameRules); !why.empty()) {
            refuse(row, name + ": \"" + to + "\" " + why);
            continue;
        }
        // The rename is given the whole path, which the system refuses past
        // its limit: found here, before the first file of the batch is renamed.
        if (const size_t pathBytes = folder.size() + to.size(); pathBytes > nameRules.maxPathBytes) {
            refuse(row, name + ": \"" + to + "\" makes a path of " + std::to_string(pathBytes) +
                            " bytes; the system takes paths of at most " + std::to_string(nameRules.maxPathBytes));
            continue;
        }
        if (pathTaken(folder + to)) refuse(row, name + " -> " + to + ": " + to + " exists already");
        const auto [it, fresh] = takenBy.emplace(to, row);
        if (!fresh) {
            refuse(row, name + " -> " + to + ": also the new name of " + names[it->second]);
            // Both files of a clash are marked.
            if (plan.refusals[it->second].empty())
                plan.refusals[it->second] = names[it->second] + " -> " + to + ": also the new name of " + name;
        }
        plan.renames.push_back({name, to});
    }
    return plan;
}

RenamePreview PreviewRenames(const std::string& folder, const std::vector<std::string>& names,
                             const RenameRules& rules) {
    RenamePreview preview{folder, rules, PlanRenames(folder, names, rules), {}};
    preview.stamps.reserve(preview.plan.renames.size());
    for (const RenamePair& pair : preview.plan.renames) {
        const std::optional<LookedEntry> entry = LookAtEntry(folder + pair.from, Links::AsThemselves);
        preview.stamps.push_back(entry ? std::optional<EntryStamp>(entry->stamp) : std::nullopt);
    }
    return preview;
}

bool StillAsPreviewed(const RenamePreview& preview, const std::string& folder, const std::vector<std::string>& names) {
    if (folder != preview.folder) return false;
    const RenamePreview now = PreviewRenames(folder, names, preview.rules);
    // The stamps go with the renames, so equal renames compare stamps file by file.
    return now.plan.renames == preview.plan.renames && now.plan.problems == preview.plan.problems &&
           now.stamps == preview.stamps;
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
