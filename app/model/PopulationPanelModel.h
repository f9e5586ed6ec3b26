#pragma once
// What the populations and definitions panel does, without its widgets.
//
// The panel shows every population slot (1..MaxPopulations) and definition
// slot (MaxPopulations + 1 .. MaxPopulations + MaxDefinitions) of
// g.PopulationTable as one row. Its buttons run the commands below on the
// row chosen at that moment; the commands ask their questions through a
// PanelQuestions (the application answers it with the dialog layer, tests
// with a script), change the tables, and tell the caller whether every
// window must be redrawn (the panel refreshed with RefreshPanel, then
// PiirraKaikki).
//
// Texts are 8-bit (Latin-1), as everywhere in the tables.
#include <optional>
#include <string>
#include <vector>

#include "core/SharedState.h"

namespace qv {

enum class PanelButtons { Ok, OkCancel };

// The questions a panel command may ask. Each is modal and returns the answer.
class PanelQuestions {
public:
    virtual ~PanelQuestions() = default;
    // A message box; true when it was answered OK.
    virtual bool message(const std::string& text, const std::string& title, PanelButtons buttons) = 0;
    // An input box; empty optional when cancelled.
    virtual std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                             const std::string& defaultText) = 0;
    // The colour dialog preset to `initial`; empty optional when cancelled.
    virtual std::optional<Rgb> chooseColour(Rgb initial) = 0;
};

// The panel's texts, used exactly.
namespace paneltext {
inline const std::string RedefinePopulation = "Population has been already defined. Do you want to re-define it?";
inline const std::string RedefinePopulationTitle = "Population already defined";
inline const std::string RenamePrompt = "Give a new name for population";
inline const std::string RenameTitle = "Rename population";
inline const std::string DeletePopulation = "Do you really want to delete the selected population?";
inline const std::string DeletePopulationTitle = "Delete population";
inline const std::string RedefineDefinition = "The definition has been already defined. To you want to re-define it?";
inline const std::string RedefineDefinitionTitle = "Definition already defined";
inline const std::string DefinitionTitle = "Create definition";
// Five lines joined by a carriage return alone.
inline const std::string DefinitionPrompt =
    "Create a new definition (case insensitive)\rExamples:\r  Poly-1 and Poly-2\r"
    "  Poly-1 and (Histo-2 or Poly-3)\r  Poly-1 and Histo-2 and not Poly-3";
inline const std::string DeleteDefinition = "Do you really want to delete the definition?";
inline const std::string DeleteDefinitionTitle = "Delete definition";
inline const std::string NotDefined = "Not defined";
inline const std::string AllEvents = "All events";
}  // namespace paneltext

// One row of the panel as the refresh leaves it.
struct PanelRow {
    int Slot = 0;
    std::string Caption;  // the Name when in use, else "Not defined"
    std::string Label;    // "T" when Transparent, else "C"
    Rgb Colour;
};

// One item of the "Show populations" menu after "All events".
struct ShowPopulationItem {
    std::string Caption;
    int Slot = 0;
};

struct PanelView {
    std::vector<PanelRow> Populations;   // slots 1..MaxPopulations
    std::vector<PanelRow> Definitions;   // the definition slots
    std::vector<ShowPopulationItem> ShowPopulation;  // every slot in use, populations first
    bool PopulationButtonsEnabled = false;           // "Delete" and "Rename" of the chosen row
};

// The refresh: a population slot not in use gets an empty Name and loses its
// Transparent flag; a definition slot not in use gets an empty Name (its flag
// stays). Fills g.ShowPopulationMap (item k -> slot, k from 1) and returns
// what the rows, the menu and the buttons show. `chosenPopulation` is the row
// chosen in the Populations frame (0 for none).
PanelView RefreshPanel(int chosenPopulation);

// "Delete" and "Rename" of the populations are enabled for a slot in use.
bool PopulationButtonsEnabled(int slot);

// Esc, or a second "Create": drawing mode off and a half-drawn polygon
// dropped, no row touched. Returns the ID of the window the polygon was
// being drawn in (its rubber band must be wiped), 0 when none was.
int AbandonGateDrawing();

// "Create": a second press while drawing mode is on (or a polygon is half
// drawn) abandons the drawing (AbandonGateDrawing, whose window it returns).
// Otherwise drawing mode goes on, after asking whether to re-define `slot`
// when that slot is in use (Cancel leaves it off), and 0 is returned.
// Changes no population: the window in which the gate is closed fills the
// row chosen at that moment.
int CreatePopulation(int slot, PanelQuestions& ask);

// "Rename" of population `slot`. Nothing happens for a slot not in use, an
// empty answer or Cancel. A name that no definition could name (only blanks,
// containing a blank or a parenthesis, "and"/"or"/"not" in any case, the
// name of another population in use or a default name a gate of any kind
// gives another row k, "Poly-k", "Histo-k", "Bending-k" or "DAD-k",
// regardless of case) is refused with a message that names the rule
// broken (PopulationNameProblem), and nothing changes. Otherwise the Name
// changes and every word of every definition text that equals the old name
// (regardless of case) becomes the new name. Returns true when the windows
// must be redrawn.
bool RenamePopulation(int slot, PanelQuestions& ask);

// The rename check alone: why `name` may not be given to population `slot`
// (the message for the user, naming the rule and the row it clashes with),
// nothing when it may.
std::optional<std::string> PopulationNameProblem(int slot, const std::string& name);

// Replaces, in a definition text, every word equal to `oldName` (regardless of
// case) by `newName`; words are the pieces between blanks with their
// parentheses set aside, and parentheses and blanks stay where they are.
std::string RenameInDefinition(const std::string& text, const std::string& oldName, const std::string& newName);

// "Delete" of population `slot`, after the question: the slot is no longer in
// use, definitions that named it are dropped, its Membership column is 0 in
// every loaded file. Colour, corners, kind and axes stay. Returns true when
// the windows must be redrawn.
bool DeletePopulation(int slot, PanelQuestions& ask);

// "Define" on definition `slot`: asks to re-define a slot in use, then for the
// text; a valid text is stored and the slot's membership written, an invalid
// one is shown ("Error in the definition: " + word, or "Problem in the
// definition") and the slot stays as it was. Returns true when the windows
// must be redrawn.
bool DefineDefinition(int slot, PanelQuestions& ask);

// "Delete" of definition `slot`, after the question. Returns true when the
// windows must be redrawn.
bool DeleteDefinition(int slot, PanelQuestions& ask);

// A colour box: the colour dialog preset to the slot's colour; Cancel keeps
// it. Works on slots not in use as well. Always returns true (redraw).
bool ChooseSlotColour(int slot, PanelQuestions& ask);

// A T/C label: toggles the slot's Transparent flag. Returns true (redraw).
bool ToggleTransparent(int slot);

}  // namespace qv
