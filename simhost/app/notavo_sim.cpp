// notavo-sim: the substitute host as a command. It opens a score, loads the extension module
// the way the host does, drives the note spacing dialog (by a scenario, by flags for one run,
// or line by line), and shows what the run did to the music, as text and as pictures.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "simhost/app/measure_selection.h"
#include "simhost/app/musicxml_import.h"
#include "simhost/app/output_files.h"
#include "simhost/app/score_svg.h"
#include "simhost/app/sim_command_line.h"
#include "simhost/app/spacing_report.h"
#include "simhost/document/document_file.h"
#include "simhost/document/respacer.h"
#include "simhost/headless/headless_scenario_host.h"
#include "simhost/scenario/dialog_items.h"
#include "simhost/scenario/scenario_runner.h"

namespace {

using simhost::Document;
using simhost::headless::HeadlessScenarioHost;
namespace scenario = simhost::scenario;

struct Failure {
    std::string message;
    int status = 1;  // 2 for a command line that is wrong whatever the document
};

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

Document LoadDocument(const std::string& path) {
    const bool xml =
        EndsWith(path, ".musicxml") || EndsWith(path, ".xml") || EndsWith(path, ".mxl");
    std::fprintf(stderr, "reading %s\n", path.c_str());
    simhost::ParsedDocument parsed =
        xml ? simhost::ImportMusicXmlFile(path) : simhost::ReadDocumentFile(path);
    if (!parsed.document) throw Failure{parsed.error.Describe()};
    for (const simhost::DocumentFileError& warning : parsed.warnings) {
        std::fprintf(stderr, "%s\n", warning.Describe().c_str());
    }
    return std::move(*parsed.document);
}

// A score that has never been laid out (imported, or written by hand) is laid out when it is
// opened, so that its notes have places before any run. A saved layout is kept as it is.
void LayOut(Document& document) {
    if (!document.Records().IdsOfTag(simhost::kTagNotePositions).empty()) return;
    const auto count = static_cast<std::int16_t>(document.GetScore().Measures().size());
    if (count > 200) std::fprintf(stderr, "laying out %d measures\n", count);
    simhost::Respacer(document).RespaceMeasures(1, count);
}

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    return out + "\"";
}

scenario::Script Parse(const std::string& text, const std::string& name) {
    scenario::ParsedScript parsed = scenario::ParseScript(text, name);
    if (!parsed.script) throw Failure{parsed.error.Describe()};
    return std::move(*parsed.script);
}

// The user selects the measures and opens the dialog; the task is then known to be listed.
std::string OpenSteps(const simhost::SimOptions& options) {
    std::string text;
    if (options.measures) {
        text += "select " + std::to_string(options.measures->first) + " " +
                std::to_string(options.measures->second) + "\n";
    }
    return text + "invoke\n";
}

// One run in the open dialog: choose the task, tick, press.
std::string RunSteps(const simhost::SimOptions& options, const std::string& task) {
    std::string text = "choose " + Quote(task) + "\n";
    if (options.fixedBarlines) text += "click fixed-barlines\n";
    text += options.asDefault ? "click default\n" : "click apply\n";
    text += "expect beeps 0\n";
    return text;
}

std::string Join(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : ", ") + Quote(item);
    return text;
}

std::int32_t MeasureCount(const Document& document) {
    return static_cast<std::int32_t>(document.GetScore().Measures().size());
}

void CheckMeasures(const simhost::SimOptions& options, const Document& document) {
    if (!options.measures) return;
    if (const auto refused = simhost::CheckSelection(
            options.measures->first, options.measures->second, MeasureCount(document))) {
        throw Failure{refused->message, refused->reversed ? 2 : 1};
    }
}

// "select A B" as the user types it, when both are numbers; the scenario step reports any other
// form of it.
std::optional<std::pair<std::int32_t, std::int32_t>> TypedSelection(const std::string& line) {
    std::istringstream words(line);
    std::string command;
    std::int32_t first = 0;
    std::int32_t last = 0;
    std::string more;
    if (!(words >> command >> first >> last) || command != "select" || (words >> more)) {
        return std::nullopt;
    }
    return std::pair{first, last};
}

void Run(HeadlessScenarioHost& host, const scenario::Script& script, std::uint32_t hostVersion) {
    const scenario::RunResult result = scenario::RunScript(
        script, host, scenario::RunOptions{.documentGiven = true, .hostVersion = hostVersion});
    if (!result.passed) throw Failure{result.failure};
}

// Opens the dialog on the document and runs the task in it, after checking that the dialog
// lists the task at all.
void RunTask(HeadlessScenarioHost& host, const simhost::SimOptions& options,
             const std::string& task) {
    Run(host, Parse(OpenSteps(options), "(command line)"), options.hostVersion);
    const std::vector<std::string> tasks = host.Rows();
    if (std::find(tasks.begin(), tasks.end(), task) == tasks.end()) {
        throw Failure{"unknown task " + Quote(task) + "; the tasks are " + Join(tasks)};
    }
    std::string what = "applying";
    if (options.asDefault) what = "setting as default";
    if (options.measures) {
        what += " " + Quote(task) + " to measures " + std::to_string(options.measures->first) +
                "-" + std::to_string(options.measures->second);
    } else {
        what += " " + Quote(task) + " to the selection";
    }
    if (options.fixedBarlines) what += " with Fixed Barlines";
    std::fprintf(stderr, "%s\n", what.c_str());
    Run(host, Parse(RunSteps(options, task), "(command line)"), options.hostVersion);
}

// Writes the files all or none, and says which it wrote.
void WriteAll(simhost::OutputFiles& outputs, const std::vector<std::string>& written) {
    if (std::string error = outputs.Commit(); !error.empty()) throw Failure{error};
    for (const std::string& line : written) std::printf("%s\n", line.c_str());
}

// The interactive line mode: each command becomes one scenario step on the same host.
void Interactive(HeadlessScenarioHost& host, const Document& start, const std::string& savePath,
                 std::uint32_t hostVersion) {
    const auto help = [] {
        std::printf(
            "commands: list, select A B, choose \"task\", tick, apply, default, close, open, "
            "undo, redo, show, save PATH, help, quit\n");
    };
    help();
    if (!host.DialogOpen()) Run(host, Parse("invoke\n", "(start)"), hostVersion);
    std::string line;
    while (std::printf("> "), std::fflush(stdout), std::getline(std::cin, line)) {
        try {
            if (line == "quit" || line == "exit") break;
            if (line.empty()) continue;
            if (line == "help") {
                help();
                continue;
            }
            if (line == "list") {
                const std::vector<std::string> rows = host.Rows();
                for (std::size_t i = 0; i < rows.size(); ++i) {
                    std::printf("%c %s\n",
                                static_cast<std::int32_t>(i) == host.SelectedRow() ? '*' : ' ',
                                rows[i].c_str());
                }
                continue;
            }
            if (line == "show") {
                std::fputs(simhost::DescribeChanges(start, host.Backend().GetDocument(),
                                                    simhost::SelectedMeasures(start))
                               .c_str(),
                           stdout);
                continue;
            }
            if (line.rfind("save", 0) == 0) {
                const std::string path = line.size() > 5 ? line.substr(5) : savePath;
                if (path.empty()) throw Failure{"save where? (save PATH)"};
                simhost::OutputFiles file;
                file.Add(path, simhost::FormatDocumentText(host.Backend().GetDocument()));
                WriteAll(file, {"saved " + path});
                continue;
            }
            if (const auto selection = TypedSelection(line)) {
                const auto refused =
                    simhost::CheckSelection(selection->first, selection->second,
                                            MeasureCount(host.Backend().GetDocument()));
                if (refused) throw Failure{refused->message};
            }
            std::string step = line;
            if (line == "tick") step = "click fixed-barlines";
            if (line == "apply" || line == "default" || line == "close") step = "click " + line;
            if (line == "open") step = "invoke";
            const std::size_t beeps = host.Beeps().size();
            Run(host, Parse(step + "\n", "(input)"), hostVersion);
            if (host.Beeps().size() > beeps) std::printf("(beep)\n");
            if (!host.Backend().GetDocument().History().UndoSteps().empty() &&
                (line == "apply" || line == "default")) {
                std::printf("done: %zu edit(s) to undo\n",
                            host.Backend().GetDocument().History().UndoSteps().size());
            }
        } catch (const Failure& failure) {
            std::fprintf(stderr, "%s\n", failure.message.c_str());
        }
    }
}

// Each task the dialog lists, in its order, with the description the dialog shows when it is
// chosen, one line of it a line, indented; a page or a script reads them from here.
void ListTasks(HeadlessScenarioHost& host, std::uint32_t hostVersion) {
    Run(host, Parse("invoke\n", "(command line)"), hostVersion);
    const std::vector<std::string> tasks = host.Rows();
    for (std::size_t row = 0; row < tasks.size(); ++row) {
        if (!host.ChooseRow(static_cast<std::int32_t>(row))) {
            throw Failure{"the dialog did not let " + Quote(tasks[row]) + " be chosen"};
        }
        std::printf("%s\n", tasks[row].c_str());
        std::istringstream description(host.ItemText(scenario::kDescription));
        for (std::string line; std::getline(description, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            std::printf("    %s\n", line.c_str());
        }
    }
}

int Main(const simhost::SimOptions& options) {
    std::optional<Document> document;
    if (!options.document.empty()) document = LoadDocument(options.document);
    if (document) {
        CheckMeasures(options, *document);
        LayOut(*document);
    }

    HeadlessScenarioHost host(options.module);
    if (document) host.SetDocument(*document);
    if (options.listTasks) {
        ListTasks(host, options.hostVersion);
        return 0;
    }
    std::optional<scenario::Script> script;
    if (!options.scenario.empty()) {
        scenario::ParsedScript parsed = scenario::ReadScriptFile(options.scenario);
        if (!parsed.script) throw Failure{parsed.error.Describe()};
        script = std::move(parsed.script);
    } else if (options.task.empty() && !options.interactive) {
        script = Parse("invoke\n", "(command line)");
    }

    const Document before = host.Backend().GetDocument();
    if (!options.task.empty()) RunTask(host, options, options.task);
    if (script) {
        const scenario::RunResult result =
            scenario::RunScript(*script, host,
                                scenario::RunOptions{.documentGiven = document.has_value(),
                                                     .hostVersion = options.hostVersion});
        if (!result.passed) throw Failure{result.failure};
    }
    if (options.interactive) Interactive(host, before, options.save, options.hostVersion);
    std::printf("menu entry      %s\n", host.MenuItem().c_str());
    const Document& after = host.Backend().GetDocument();
    std::printf("edits           %zu\n", after.History().UndoSteps().size());
    const simhost::MeasureRange range = simhost::SelectedMeasures(after);
    // A scenario that builds its own document has no "before" to compare with.
    if (document) std::fputs(simhost::DescribeChanges(before, after, range).c_str(), stdout);

    // Everything is known to have worked before anything is written, and then it is written
    // all or none.
    simhost::OutputFiles outputs;
    std::vector<std::string> written;
    if (!options.save.empty() && !options.interactive) {
        outputs.Add(options.save, simhost::FormatDocumentText(after));
        written.push_back("saved " + options.save);
    }
    if (!options.svg.empty()) {
        outputs.Add(options.svg, simhost::BeforeAfterSvg(before, after, range));
        written.push_back("wrote " + options.svg);
    }
    std::vector<Document> runs;
    std::vector<std::string> titles;
    if (!options.compareAll.empty()) {
        const std::vector<std::string> tasks = host.Rows();
        if (tasks.empty()) throw Failure{"the dialog listed no tasks to compare"};
        // The module stays loaded in this process, and with it the one dialog it keeps: it
        // is ended here so that each run below opens its own.
        host.Terminate();
        for (const std::string& task : tasks) {
            HeadlessScenarioHost each(options.module);
            each.SetDocument(*document);
            simhost::SimOptions one = options;
            one.asDefault = false;
            Run(each, Parse(OpenSteps(one) + RunSteps(one, task), "(compare " + task + ")"),
                one.hostVersion);
            runs.push_back(each.Backend().GetDocument());
            titles.push_back(task);
        }
        std::vector<simhost::SvgRow> rows;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            rows.push_back(simhost::SvgRow{titles[i], &runs[i], range});
        }
        outputs.Add(options.compareAll, simhost::CompareSvg(rows, options.document));
        written.push_back("wrote " + options.compareAll);
    }
    WriteAll(outputs, written);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const simhost::ParsedOptions parsed =
        simhost::ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc),
                                 QUOR_DEFAULT_MODULE, std::string("notavo-sim ") + QUOR_VERSION);
    if (!parsed.options) {
        if (parsed.status == 0) {
            std::fputs(parsed.message.c_str(), stdout);
        } else {
            std::fprintf(stderr, "notavo-sim: %s", parsed.message.c_str());
        }
        return parsed.status;
    }
    try {
        return Main(*parsed.options);
    } catch (const Failure& failure) {
        std::fprintf(stderr, "notavo-sim: %s\n", failure.message.c_str());
        return failure.status;
    }
}
