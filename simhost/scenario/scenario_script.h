// Scenarios: what a user does to the note spacing dialog, and what they should then see, in a
// small text file that the headless host and the Win32 host both run. One step per line; '#'
// starts a comment; words are separated by blanks and a text with blanks goes in double quotes
// (\" and \\ and \n inside). A file reads as:
//
//   # Apply with Fixed Barlines keeps every measure's width.
//   staff 1 "q q 8 8 q | h q q | w"        the document, built inline (or: document <path>)
//   select 1 3                              measures 1 to 3 of every staff (or: select none)
//   invoke                                  the user chooses the menu item
//   mark before                             remember the document and the dialog's geometry
//   choose "Loose Allotment"                click a row
//   click fixed-barlines
//   click apply
//   expect edits "Loose Allotment"
//   expect widths same-as before
//
// Controls are named: apply, close, default, fixed-barlines, list, tasks-label, description.
// The notes of `staff` steps are read with the script, and what the document steps would build
// is held to the caps of score_limits.h, so that a script that reads builds its document; a drag
// or a move reaches no further than 16-bit window coordinates.
// Geometry is only ever compared with a mark, or with the limits the host's screen implies, so
// that the same file holds wherever the dialog's base units differ. The full list of steps is
// the table in scenario_verbs.h.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simhost/scenario/scenario_verbs.h"

namespace simhost::scenario {

struct Step {
    std::size_t line = 0;
    // The command word, then for `expect` the thing expected ("expect rows" is "expect-rows").
    std::string command;
    Verb verb = Verb::Invoke;
    std::vector<std::string> words;
};

struct Script {
    std::string name;    // the file's name, for reports
    std::string folder;  // where relative paths in the script start
    std::vector<Step> steps;
};

struct ScriptError {
    std::string file;
    std::size_t line = 0;
    std::string message;
    std::string Describe() const;
};

struct ParsedScript {
    std::optional<Script> script;
    ScriptError error;
};

ParsedScript ParseScript(std::string_view text, const std::string& fileName,
                         const std::string& folder = ".");
ParsedScript ReadScriptFile(const std::string& path);

// The dialog item a control name stands for; nothing for an unknown name.
std::optional<int> ControlId(std::string_view name);

}  // namespace simhost::scenario
