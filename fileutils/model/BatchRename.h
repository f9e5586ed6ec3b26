#pragma once
// The batch renamer's rules and the renaming of one folder's files: new
// names are all worked out and checked before any file is touched, and a
// rename never replaces an existing file.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/model/EntryStamp.h"

namespace qv {

struct RenameRules {
    bool padWellNumbers = false;  // "_A1_" -> "_A01_" for rows A..H and digits 1..9
    bool replaceText = false;     // every `find` replaced by `replacement`
    std::string find;
    std::string replacement;
};

// The new name of `name` under the rules: the well numbers first, then the
// replacement on the result.
std::string NewFileName(const std::string& name, const RenameRules& rules);

struct RenamePair {
    std::string from;
    std::string to;
    bool operator==(const RenamePair&) const = default;
};

// What the file system of a folder takes as a file name.
struct FolderNameRules {
    size_t maxBytes = 255;       // longest name, in bytes
    size_t maxPathBytes = 4095;  // longest path the system takes, in bytes (its limit less the closing zero)
    bool windowsNames = false;   // a FAT, exFAT, NTFS or SMB file system: no \ : * ? " < > |, no control
                                 // characters, no trailing blank or dot
};

// The rules of the file system `folder` lies on (the common ones when it
// cannot be told).
FolderNameRules NameRulesOf(const std::string& folder);

// Why `name` cannot be a file name under `rules`; empty when it can.
std::string FileNameProblem(const std::string& name, const FolderNameRules& rules);

// What a batch would do, worked out before anything is renamed.
struct RenamePlan {
    std::vector<RenamePair> renames;  // the files whose name changes, in list order
    std::vector<std::string> problems;  // one line per refused name or clash; empty = the batch may run
    // For each listed file, in list order: why its new name is refused or
    // clashes, empty when it is taken (or unchanged).
    std::vector<std::string> refusals;
};

// Plans the renames of `names` (the folder's files, in list order) in
// `folder` (ending with "/"). Unchanged names are left out. The batch is
// refused (problems not empty) when the text to find is empty while the
// replacement rule is on, when a new name is not a name the folder's file
// system takes (empty, "." or "..", a "/" or a character it refuses, too
// long), when the folder and a new name make a path longer than the system
// takes, when a new name is already taken in the folder, or when two files
// would get the same new name.
RenamePlan PlanRenames(const std::string& folder, const std::vector<std::string>& names, const RenameRules& rules);
// The same under given file-system rules.
RenamePlan PlanRenames(const std::string& folder, const std::vector<std::string>& names, const RenameRules& rules,
                       const FolderNameRules& nameRules);

// A preview: the batch it showed, and what each file it would rename was
// then, so that the renaming does exactly that batch or nothing.
struct RenamePreview {
    std::string folder;
    RenameRules rules;
    RenamePlan plan;
    std::vector<std::optional<EntryStamp>> stamps;  // of each plan.renames[i].from (the entry, not what a link names)
};

// Plans the renames of `names` (the folder's files as listed now) and notes
// what each file to be renamed is now.
RenamePreview PreviewRenames(const std::string& folder, const std::vector<std::string>& names,
                             const RenameRules& rules);

// Whether `folder`, whose files are listed now as `names`, is still as
// `preview` saw it: the same folder, each file to be renamed there and
// unchanged, and the rules giving the same renames and refusals (no new file
// they would rename, no new name taken meanwhile). Files the rules leave
// alone may come and go.
bool StillAsPreviewed(const RenamePreview& preview, const std::string& folder, const std::vector<std::string>& names);

struct RenameOutcome {
    std::vector<RenamePair> done;
    std::vector<RenamePair> notDone;  // the failed one first, then those not tried
    std::string error;                // why the first of notDone failed; empty when all were done
};

// Renames the planned files in order and stops at the first one that fails.
// Never replaces an existing file.
RenameOutcome ApplyRenames(const std::string& folder, const std::vector<RenamePair>& renames);

}  // namespace qv
