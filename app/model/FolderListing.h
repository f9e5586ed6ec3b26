#pragma once
// Listing the data files of a folder for stepping through it (next / previous
// file, tools). A folder's own listing order is arbitrary, so the names are
// sorted by name without regard to case; names that differ only in case keep
// a fixed order among themselves.
#include <functional>
#include <string>
#include <vector>

namespace qv {

// Names (without folder) of the FCS files of `folder`: plain files only (no
// folders, no hidden or system entries) that are at least 6 bytes long and
// begin "FCS3.0" or "FCS2.0". `folder` is given as the file system names it
// and may end with "/" or not. An empty folder text, a missing or unreadable
// folder give an empty list.
std::vector<std::string> ListFcsFiles(const std::string& folder);

// Long work on the program's one thread asks this between items (such as
// the entries of a listing): it lets the program answer now and then and
// says whether the work is to go on.
using KeepWorking = std::function<bool()>;

// Names (without folder) of every plain file of `folder`, whatever its
// content or extension, names starting with "." included (no folders), in
// the same order. The file utilities list a folder this way.
std::vector<std::string> ListFolderFiles(const std::string& folder);

// The order of the listing: true when `a` comes before `b` (case-insensitive,
// ties broken by the exact names).
bool FolderNameLess(const std::string& a, const std::string& b);
// Sorts names into that order.
void SortFolderNames(std::vector<std::string>& names);

}  // namespace qv
