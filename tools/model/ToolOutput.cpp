#include "tools/model/ToolOutput.h"

#include <fstream>

#include "core/TextUtil.h"

namespace qv {

bool IsNameInsideToolFolder(std::string_view name) {
    if (name.empty() || name.front() == '/') return false;
    for (std::string_view part : SplitAt(name, '/'))
        if (part == "..") return false;
    return true;
}

bool IsSlashFolderPath(std::string_view path) {
    if (path.find('\\') != std::string_view::npos) return false;
    const bool driveLetter = path.size() >= 2 && path[1] == ':' &&
                             ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return !driveLetter;
}

std::unique_ptr<std::ostream> OpenToolOutput(const std::string& path) {
    auto out = std::make_unique<std::ofstream>(path, std::ios::binary | std::ios::app);
    if (!out->is_open()) return nullptr;
    return out;
}

bool WriteToolOutputLine(std::ostream& out, std::string_view text) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.write("\r\n", 2);
    // Flushed at every line, so what a run wrote is on disk even when the
    // run or the program stops before the file is closed.
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace qv
