#include "simhost/app/sim_command_line.h"

#include <CLI/CLI.hpp>
#include <charconv>

namespace simhost {
namespace {

// "A-B" (or "A") as two measure numbers. Whether they lie inside the document and run forwards
// is judged once it is read.
std::optional<std::pair<std::int16_t, std::int16_t>> ParseRange(const std::string& text) {
    const std::size_t dash = text.find('-');
    const std::string first = text.substr(0, dash);
    const std::string last = dash == std::string::npos ? first : text.substr(dash + 1);
    int a = 0;
    int b = 0;
    const auto [p, e1] = std::from_chars(first.data(), first.data() + first.size(), a);
    const auto [q, e2] = std::from_chars(last.data(), last.data() + last.size(), b);
    if (e1 != std::errc() || e2 != std::errc() || p != first.data() + first.size() ||
        q != last.data() + last.size() || a < 0 || b < 0 || a > 32767 || b > 32767) {
        return std::nullopt;
    }
    return std::pair{static_cast<std::int16_t>(a), static_cast<std::int16_t>(b)};
}

std::optional<std::uint32_t> ParseHex(const std::string& text) {
    const std::string digits = text.rfind("0x", 0) == 0 ? text.substr(2) : text;
    std::uint32_t value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

// A check that refuses a value with `message` followed by the value itself.
template <typename Parse>
CLI::Validator Refusing(Parse parse, const std::string& shape, const std::string& message) {
    return CLI::Validator(
        [parse, message](std::string& value) {
            return parse(value) ? std::string() : message + ", not '" + value + "'";
        },
        shape);
}

}  // namespace

ParsedOptions ParseSimOptions(const std::vector<std::string>& args, const std::string& module,
                              const std::string& version) {
    SimOptions options;
    options.module = module;
    std::string measures;
    std::string hostVersion;

    CLI::App app{
        "Loads the note spacing extension into a substitute host, runs it on a document "
        "and shows the spacing before and after.",
        "notavo-sim"};
    app.set_version_flag("--version", version);
    app.get_formatter()->column_width(28);
    app.add_option("--module", options.module, "the extension module (default: the one built)")
        ->type_name("PATH");
    CLI::Option* document =
        app.add_option("document,--document", options.document,
                       "a document (.ntv) or a MusicXML score (.musicxml, .xml, .mxl)")
            ->type_name("PATH");
    CLI::Option* scenario =
        app.add_option("--scenario", options.scenario, "drive the dialog by a scenario file")
            ->type_name("PATH");
    CLI::Option* task = app.add_option("--task", options.task, "apply this task (to --measures)")
                            ->type_name("NAME")
                            ->needs(document)
                            ->excludes(scenario);
    app.add_option("--measures", measures, "select measures A to B of every staff")
        ->type_name("A-B")
        ->check(Refusing(ParseRange, "", "takes A-B, two measure numbers"));
    CLI::Option* fixed =
        app.add_flag("--fixed-barlines", options.fixedBarlines, "tick Fixed Barlines first");
    CLI::Option* asDefault = app.add_flag("--default", options.asDefault,
                                          "press \"Set as Default\", not \"Apply Spacing\"");
    CLI::Option* interactive = app.add_flag("--interactive", options.interactive,
                                            "read commands from the terminal (type help)")
                                   ->needs(document);
    CLI::Option* svg = app.add_option("--svg", options.svg, "draw the measures before and after")
                           ->type_name("PATH");
    CLI::Option* compareAll =
        app.add_option("--compare-all", options.compareAll, "draw the measures once per task")
            ->type_name("PATH")
            ->needs(document);
    CLI::Option* save =
        app.add_option("--save", options.save, "save the document afterwards (.ntv)")
            ->type_name("PATH");
    app.add_flag("--list-tasks", options.listTasks,
                 "list the dialog's tasks in its order, each with its description")
        ->excludes(scenario)
        ->excludes(task)
        ->excludes(interactive)
        ->excludes(svg)
        ->excludes(compareAll)
        ->excludes(save);
    app.add_option("--host-version", hostVersion, "the host version to play (default 0x12050000)")
        ->type_name("HEX")
        ->check(Refusing(ParseHex, "", "takes a hexadecimal number"));

    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
        // Without a run to shape they would be dropped without a word. Either run will do, which
        // a plain `needs` cannot say.
        const bool runs = !options.task.empty() || !options.compareAll.empty();
        for (const auto& [option, given] : {std::pair{"--measures", !measures.empty()},
                                            std::pair{"--fixed-barlines", fixed->count() > 0},
                                            std::pair{"--default", asDefault->count() > 0}}) {
            if (given && !runs) {
                throw CLI::ValidationError(std::string(option) +
                                           " goes with --task (or --compare-all)");
            }
        }
    } catch (const CLI::CallForHelp&) {
        return ParsedOptions{std::nullopt, app.help(), 0};
    } catch (const CLI::CallForVersion&) {
        return ParsedOptions{std::nullopt, version + "\n", 0};
    } catch (const CLI::ParseError& error) {
        return ParsedOptions{std::nullopt,
                             std::string(error.what()) + "\nRun with --help for the options.\n", 2};
    }
    if (!measures.empty()) options.measures = ParseRange(measures);
    if (!hostVersion.empty()) options.hostVersion = *ParseHex(hostVersion);
    return ParsedOptions{std::move(options), {}, 0};
}

}  // namespace simhost
