#pragma once
// Runs small tool texts through the interpreter with the program's own host:
// every question and message goes through the dialog layer, answered by the
// test's scripted dialogs; pending events between lines run a hook the test
// may set.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/SharedState.h"
#include "tests/support/ScriptedDialogs.h"
#include "tools/ToolHost.h"
#include "tools/model/ScriptInterpreter.h"

namespace qv::test {

class ToolRunFixture : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        host.pendingEvents = [this] {
            ++eventRounds;
            if (betweenLines) betweenLines();
        };
    }

    // Runs the text; the variables of the run stay readable afterwards.
    void run(const std::string& text) { ASSERT_TRUE(interpreter.AjaOhjelma(text, false)); }

    // The value of the first variable of that name; "<none>" when missing.
    std::string value(const std::string& name) const {
        const ScriptRun* r = interpreter.lastRun();
        const ScriptVariable* v = r ? r->findVariable(name) : nullptr;
        return v ? v->Value : "<none>";
    }

    ScriptedDialogs dialogs;
    ToolHost host;
    ScriptInterpreter interpreter{host};
    std::function<void()> betweenLines;
    int eventRounds = 0;
};

// A script's lines joined with CR LF, each line ended.
inline std::string lines(std::initializer_list<const char*> items) {
    std::string out;
    for (const char* line : items) out += std::string(line) + "\r\n";
    return out;
}

}  // namespace qv::test
