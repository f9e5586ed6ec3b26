#pragma once
// The text listing of a data file that the fcsdump tool prints: the file is
// opened as the program's "Open FCS..." or "Open TXT file..." opens it
// (reader, then compensation), and its record is written as "key: value"
// lines, followed by the event values or by the column sums.
#include <iosfwd>
#include <string>
#include <vector>

namespace qv {

// Runs the tool on its arguments (without the program name):
// [--text] [--summary] FILE. Returns the exit status: 0 when the file
// loaded, 1 when it was refused, 2 for arguments the tool does not take.
int RunFcsDump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace qv
