// File, output and program commands of the tool language: the folder, file
// values, the text output, the fast-draw limit and printing the print page.
#include <limits>

#include "core/AtomicFile.h"
#include "core/FileTableOps.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "core/TextUtil.h"
#include "output/PrintPreview.h"
#include "tools/ToolCommands.h"
#include "tools/ToolHost.h"
#include "tools/model/ScriptInterpreter.h"
#include "tools/model/ToolOutput.h"

namespace qv {

namespace {

void folderSet(ScriptLine& line) {
    const std::string& arg = line.ScriptArgument;
    if (arg.empty()) throw ScriptError("folder.set needs a folder");
    if (!IsSlashFolderPath(arg)) {
        line.abort(std::string(FolderPathMessage) + "\n" + arg, AbortTitle);
        return;
    }
    line.run.ToolFolder = arg.back() == '/' ? arg : arg + "/";
}

// File slot K of a "f.K." line, which must hold parameters.
FileRecord& fileWithParameters(const ScriptLine& line) {
    const int top = std::min<int>(g.MaxFiles, static_cast<int>(g.FileTable.size()) - 1);
    FileRecord& file = g.FileTable[static_cast<size_t>(ScriptLine::index(line.token(1), 0, top))];
    if (file.ParameterCount < 1 || static_cast<int32_t>(file.Parameters.size()) <= file.ParameterCount)
        throw ScriptError("the file slot holds no parameters");
    return file;
}

void fileCommand(ScriptLine& line) {
    const std::string& t2 = line.token(2);
    const std::string& arg = line.ScriptArgument;
    if (t2 == "parameter" && line.token(4) == "log" && line.CommandTokens.size() == 5) {
        FileRecord& file = fileWithParameters(line);
        ParameterInfo& par = file.Parameters[static_cast<size_t>(ScriptLine::index(line.token(3), 1, file.ParameterCount))];
        if (arg == "true") par.IsLog = true;
        if (arg == "false") par.IsLog = false;
        line.host.redrawAll();
    } else if (t2 == "cell" && line.token(5) == "value" && line.CommandTokens.size() == 6) {
        FileRecord& file = fileWithParameters(line);
        if (file.EventCount < 1) throw ScriptError("the file slot holds no events");
        const int32_t e = ScriptLine::index(line.token(3), 1, file.EventCount);
        const int32_t p = ScriptLine::index(line.token(4), 1, file.ParameterCount);
        const double v = ScriptLine::number(arg);
        if (std::abs(v) > std::numeric_limits<float>::max()) throw ScriptError("value out of range: " + arg);
        if (!file.WorkingData.contains(e, p)) throw ScriptError("the file slot holds no such value");
        file.WorkingData(e, p) = static_cast<float>(v);
    }
}

// ---- output ----

void outputSet(ScriptLine& line) {
    std::string path;
    if (!ToolWritePath(line, line.ScriptArgument, path)) return;
    std::string reason;
    std::unique_ptr<std::ostream> out = OpenToolOutput(path, &reason);
    // The user is told which file was refused and why (a pipe, a device, no permission).
    if (!out) throw ExplainedScriptError("The output file could not be opened:\n" + path + "\n" + reason);
    line.run.OutputFile = std::move(out);
    line.run.OutputPath = path;
    line.run.OutputOpened = true;
}

std::ostream& openOutput(ScriptRun& run) {
    if (!run.OutputOpened || !run.OutputFile) throw ScriptError("no output file is open");
    return *run.OutputFile;
}

void outputWrite(ScriptLine& line) {
    std::ostream& out = openOutput(line.run);
    if (!ToolMayWriteOver(line, line.run.OutputPath, line.run.OutputPath)) return;
    line.ScriptArgument = ReplaceAll(line.ScriptArgument, "[tab]", "\t");
    std::string reason;
    if (!WriteToolOutputLine(out, line.ScriptArgument, &reason))
        throw ExplainedScriptError(SaveFailureText(line.run.OutputPath, reason));
}

void outputClose(ScriptLine& line) {
    openOutput(line.run);
    line.run.OutputFile.reset();
    line.run.OutputOpened = false;
}

void fastdrawLimit(ScriptLine& line) {
    const int32_t limit = ScriptLine::wholeNumber(line.ScriptArgument);
    // A limit below 1 would divide by zero or draw nothing in fast mode.
    if (limit < 1) throw ScriptError("the fast-draw limit must be at least 1");
    g.FastDrawLimit = limit;
}

void printPreviewPrint(ScriptLine& line) {
    if (!line.run.PrinterSet) {
        line.abort("The printer has not been set! Aborting.");
        return;
    }
    auto* host = dynamic_cast<ToolHost*>(&line.host);
    PrintPreview* page = printPreview();
    if (!host || !page) throw ScriptError("there is no print page to print");
    if (!page->PrintOn(host->printer())) throw ScriptError("printing failed");
}

}  // namespace

bool ToolWritePath(ScriptLine& line, const std::string& name, std::string& path) {
    // The loaded-file rule is told first: a name that leads to a loaded data
    // file is refused for that, also when it leaves the folder on its way.
    if (!ToolMayWriteOver(line, line.run.ToolFolder + name, name)) return false;
    if (line.run.ToolFolder.empty() || !IsNameInsideToolFolder(name)) {
        line.abort(std::string(ToolWriteRefusedMessage) + "\n" + name, AbortTitle);
        return false;
    }
    path = line.run.ToolFolder + name;
    return true;
}

bool ToolMayWriteOver(ScriptLine& line, const std::string& path, const std::string& name) {
    // A loaded data file is never written over, whatever spelling leads to it.
    if (LoadedFileSlotOf(path) == 0) return true;
    line.abort(std::string(ToolWriteLoadedFileMessage) + "\n" + name, AbortTitle);
    return false;
}

void addFileScriptCommands(ScriptCommandTable& table) {
    table.add("folder.set", folderSet);
    table.add([](const std::vector<std::string>& t) { return t.size() >= 5 && (t[0] == "f" || t[0] == "file"); },
              fileCommand);
    table.add("output.set", outputSet);
    table.add("output.write", outputWrite);
    table.add("output.close", outputClose);
    table.add("fastdraw.limit", fastdrawLimit);
    table.add("printpreview.print", printPreviewPrint);
}

}  // namespace qv
