#include "app/model/PopulationPanelModel.h"

#include <algorithm>

#include "app/model/DefinitionEvaluator.h"
#include "core/GateKinds.h"

namespace qv {
namespace {

PopulationRecord& slotRecord(int slot) { return g.PopulationTable[static_cast<size_t>(slot)]; }

bool validSlot(int slot) { return slot >= 1 && slot <= g.membershipSlots() && slot < PopulationTableSize; }
bool populationSlot(int slot) { return slot >= 1 && slot <= g.MaxPopulations && slot < PopulationTableSize; }
bool definitionSlot(int slot) { return g.isDefinitionSlot(slot) && slot < PopulationTableSize; }

// Lower case as the definitions read names: ASCII letters and the Latin-1 capitals.
std::string lower(const std::string& text) {
    std::string out = text;
    for (char& ch : out) {
        const auto u = static_cast<unsigned char>(ch);
        if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) ch = static_cast<char>(u + 32);
    }
    return out;
}

PanelRow rowOf(int slot) {
    const PopulationRecord& p = slotRecord(slot);
    return {slot, p.InUse ? p.Name : paneltext::NotDefined, p.Transparent ? "T" : "C",
            Rgb{p.ColorRed, p.ColorGreen, p.ColorBlue}};
}

}  // namespace

PanelView RefreshPanel(int chosenPopulation) {
    PanelView view;
    for (int i = 1; populationSlot(i); ++i) {
        PopulationRecord& p = slotRecord(i);
        if (!p.InUse) {
            p.Name.clear();
            p.Transparent = false;
        }
        view.Populations.push_back(rowOf(i));
    }
    for (int s = g.firstDefinitionSlot(); definitionSlot(s); ++s) {
        PopulationRecord& p = slotRecord(s);
        if (!p.InUse) p.Name.clear();  // its flag and label stay as they were
        view.Definitions.push_back(rowOf(s));
    }
    g.ShowPopulationMap.fill(0);
    for (int slot = 1; validSlot(slot); ++slot) {
        const PopulationRecord& p = slotRecord(slot);
        if (!p.InUse) continue;
        view.ShowPopulation.push_back({p.Name, slot});
        const size_t k = view.ShowPopulation.size();
        if (k < g.ShowPopulationMap.size()) g.ShowPopulationMap[k] = static_cast<int16_t>(slot);
    }
    view.PopulationButtonsEnabled = PopulationButtonsEnabled(chosenPopulation);
    return view;
}

bool PopulationButtonsEnabled(int slot) { return populationSlot(slot) && slotRecord(slot).InUse; }

int AbandonGateDrawing() {
    const int window = g.GateInProgress ? g.DraftRegion.DraftWindow : 0;
    g.RegionDrawMode = false;
    g.GateInProgress = false;
    g.DraftRegion.Corners = 0;
    return window;
}

int CreatePopulation(int slot, PanelQuestions& ask) {
    if (g.RegionDrawMode || g.GateInProgress) return AbandonGateDrawing();
    if (populationSlot(slot) && slotRecord(slot).InUse) {
        g.RegionDrawMode =
            ask.message(paneltext::RedefinePopulation, paneltext::RedefinePopulationTitle, PanelButtons::OkCancel);
        return 0;
    }
    g.RegionDrawMode = true;
    return 0;
}

std::optional<std::string> PopulationNameProblem(int slot, const std::string& name) {
    const std::string quoted = "\"" + name + "\"";
    // A definition splits its text at blanks and sets parentheses aside, so
    // such a name could never be written in one; nor could a keyword.
    if (name.empty() || name.find(' ') != std::string::npos)
        return "A population name must be one word: " + quoted + " contains a blank.";
    if (name.find_first_of("()") != std::string::npos)
        return "A population name cannot contain a parenthesis: " + quoted + ".";
    const std::string wanted = lower(name);
    if (wanted == "and" || wanted == "or" || wanted == "not")
        return quoted + " is a word of the definitions (\"and\", \"or\", \"not\") and cannot name a population.";
    // Definitions name the first population of a name; a second of the same
    // name could never be reached.
    for (int j = 1; populationSlot(j); ++j)
        if (j != slot && slotRecord(j).InUse && lower(slotRecord(j).Name) == wanted)
            return quoted + " is already the name of the population in row " + std::to_string(j) +
                   " (names are compared without regard to case).";
    // Nor a name another row gets when a gate of any kind is first drawn
    // into it: the two would clash as soon as that row is used.
    for (int j = 1; populationSlot(j); ++j) {
        if (j == slot) continue;
        for (const GateKind& kind : GateKinds)
            if (wanted == lower(DefaultGateName(kind.type, j)))
                return quoted + " is the default name of row " + std::to_string(j) +
                       ", which a gate drawn into that row gets; choose another name.";
    }
    return std::nullopt;
}

std::string RenameInDefinition(const std::string& text, const std::string& oldName, const std::string& newName) {
    const std::string oldLower = lower(oldName);
    std::string out;
    size_t start = 0;
    while (true) {
        const size_t blank = text.find(' ', start);
        const std::string piece = text.substr(start, blank == std::string::npos ? std::string::npos : blank - start);
        std::string word;
        for (char ch : piece)
            if (ch != '(' && ch != ')') word += ch;
        if (!word.empty() && lower(word) == oldLower) {
            // Keep the parentheses around the word where they stood.
            const size_t first = piece.find_first_not_of("()");
            const size_t last = piece.find_last_not_of("()");
            std::string inner;  // parentheses glued inside a word stay, after the name
            for (size_t i = first; i <= last; ++i)
                if (piece[i] == '(' || piece[i] == ')') inner += piece[i];
            out += piece.substr(0, first) + newName + inner + piece.substr(last + 1);
        } else {
            out += piece;
        }
        if (blank == std::string::npos) break;
        out += ' ';
        start = blank + 1;
    }
    return out;
}

bool RenamePopulation(int slot, PanelQuestions& ask) {
    if (!PopulationButtonsEnabled(slot)) return false;
    PopulationRecord& p = slotRecord(slot);
    const std::optional<std::string> answer = ask.input(paneltext::RenamePrompt, paneltext::RenameTitle, p.Name);
    if (!answer || answer->empty()) return false;
    if (const std::optional<std::string> problem = PopulationNameProblem(slot, *answer)) {
        ask.message(*problem, paneltext::RenameTitle, PanelButtons::Ok);
        return false;
    }
    const std::string old = p.Name;
    p.Name = *answer;
    // Every definition slot, in use or not, so that a definition dropped
    // earlier keeps naming the population too.
    for (int s = g.firstDefinitionSlot(); definitionSlot(s); ++s) {
        PopulationRecord& d = slotRecord(s);
        d.Name = RenameInDefinition(d.Name, old, p.Name);
    }
    return true;  // no event changes: memberships stay
}

bool DeletePopulation(int slot, PanelQuestions& ask) {
    if (!PopulationButtonsEnabled(slot)) return false;
    if (!ask.message(paneltext::DeletePopulation, paneltext::DeletePopulationTitle, PanelButtons::OkCancel))
        return false;
    PopulationRecord& p = slotRecord(slot);
    p.InUse = false;
    p.Name.clear();
    p.Transparent = false;
    // The definitions that named it no longer evaluate and are dropped.
    CheckAllDefinitions();
    for (int f = 1; f <= g.MaxFiles && f < static_cast<int>(g.FileTable.size()); ++f) {
        FileRecord& file = g.FileTable[static_cast<size_t>(f)];
        if (!file.Loaded || file.EventCount <= 0 || !file.Membership.contains(file.EventCount, slot)) continue;
        uint8_t* column = file.Membership.column(slot);
        std::fill(column + 1, column + 1 + file.EventCount, uint8_t{0});
    }
    return true;
}

bool DefineDefinition(int slot, PanelQuestions& ask) {
    if (!definitionSlot(slot)) return false;
    PopulationRecord& d = slotRecord(slot);
    std::string defaultText;
    if (d.InUse) {
        defaultText = d.Name;
        if (!ask.message(paneltext::RedefineDefinition, paneltext::RedefineDefinitionTitle, PanelButtons::OkCancel))
            return false;
    }
    const std::optional<std::string> answer =
        ask.input(paneltext::DefinitionPrompt, paneltext::DefinitionTitle, defaultText);
    if (!answer || answer->empty()) return false;
    const DefinitionResult result = EvaluateDefinition(slot, *answer);
    if (!result.ok()) {
        ask.message(result.Message, result.Title, PanelButtons::Ok);
        return false;
    }
    d.Name = *answer;
    d.InUse = true;
    return true;
}

bool DeleteDefinition(int slot, PanelQuestions& ask) {
    if (!definitionSlot(slot) || !slotRecord(slot).InUse) return false;
    if (!ask.message(paneltext::DeleteDefinition, paneltext::DeleteDefinitionTitle, PanelButtons::OkCancel))
        return false;
    PopulationRecord& d = slotRecord(slot);
    d.InUse = false;
    d.Name.clear();
    return true;
}

bool ChooseSlotColour(int slot, PanelQuestions& ask) {
    if (!validSlot(slot)) return false;
    PopulationRecord& p = slotRecord(slot);
    if (const std::optional<Rgb> c = ask.chooseColour({p.ColorRed, p.ColorGreen, p.ColorBlue})) {
        p.ColorRed = c->Red;
        p.ColorGreen = c->Green;
        p.ColorBlue = c->Blue;
    }
    return true;
}

bool ToggleTransparent(int slot) {
    if (!validSlot(slot)) return false;
    PopulationRecord& p = slotRecord(slot);
    p.Transparent = !p.Transparent;
    return true;
}

}  // namespace qv
