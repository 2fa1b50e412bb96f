#include "simhost/app/sim_options.h"

#include <charconv>

namespace simhost {

namespace {

bool ParseRange(const std::string& text, std::pair<std::int16_t, std::int16_t>& range) {
    const std::size_t dash = text.find('-');
    const std::string first = text.substr(0, dash);
    const std::string last = dash == std::string::npos ? first : text.substr(dash + 1);
    int a = 0;
    int b = 0;
    const auto [p, e1] = std::from_chars(first.data(), first.data() + first.size(), a);
    const auto [q, e2] = std::from_chars(last.data(), last.data() + last.size(), b);
    // Whether they lie inside the document and run forwards is judged once it is read.
    if (e1 != std::errc() || e2 != std::errc() || p != first.data() + first.size() ||
        q != last.data() + last.size() || a < 0 || b < 0 || a > 32767 || b > 32767) {
        return false;
    }
    range = {static_cast<std::int16_t>(a), static_cast<std::int16_t>(b)};
    return true;
}

}  // namespace

const char* SimUsage() {
    return "usage: notavo-sim [options] [DOCUMENT]\n"
           "  --module PATH          the extension module (default: the one just built)\n"
           "  --document PATH        a document (.ntv) or a MusicXML score (.musicxml, .xml, "
           ".mxl)\n"
           "  --scenario PATH        drive the dialog by a scenario file\n"
           "  --task NAME            apply this task (with --measures)\n"
           "  --measures A-B         select measures A to B of every staff\n"
           "  --fixed-barlines       tick Fixed Barlines before the run\n"
           "  --default              press \"Set as Default\" instead of \"Apply Spacing\"\n"
           "  --interactive          read commands from the terminal (type help)\n"
           "  --svg PATH             draw the measures before and after\n"
           "  --compare-all PATH     draw the measures once for each task\n"
           "  --save PATH            save the document afterwards (.ntv)\n"
           "  --host-version HEX     the host version to play (default 0x12050000)\n"
           "  --version              print the version and stop\n";
}

ParsedOptions ParseSimOptions(const std::vector<std::string>& args, const std::string& module) {
    ParsedOptions parsed;
    SimOptions options;
    options.module = module;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string text;
        bool ok = true;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--module") {
            ok = value(options.module);
        } else if (arg == "--document") {
            ok = value(options.document);
        } else if (arg == "--scenario") {
            ok = value(options.scenario);
        } else if (arg == "--task") {
            ok = value(options.task);
        } else if (arg == "--measures") {
            std::pair<std::int16_t, std::int16_t> range;
            ok = value(text);
            if (ok && !ParseRange(text, range)) {
                parsed.error = "--measures takes A-B, two measure numbers, not '" + text + "'";
                return parsed;
            }
            options.measures = range;
        } else if (arg == "--fixed-barlines") {
            options.fixedBarlines = true;
        } else if (arg == "--default") {
            options.asDefault = true;
        } else if (arg == "--interactive") {
            options.interactive = true;
        } else if (arg == "--svg") {
            ok = value(options.svg);
        } else if (arg == "--compare-all") {
            ok = value(options.compareAll);
        } else if (arg == "--save") {
            ok = value(options.save);
        } else if (arg == "--host-version") {
            ok = value(text);
            unsigned long version = 0;
            const std::string digits = text.rfind("0x", 0) == 0 ? text.substr(2) : text;
            const auto [end, error] =
                std::from_chars(digits.data(), digits.data() + digits.size(), version, 16);
            if (ok && (error != std::errc() || end != digits.data() + digits.size())) {
                parsed.error = "--host-version takes a hexadecimal number, not '" + text + "'";
                return parsed;
            }
            options.hostVersion = static_cast<std::uint32_t>(version);
        } else if (!arg.empty() && arg[0] != '-' && options.document.empty()) {
            options.document = arg;
        } else {
            parsed.error = "unknown option '" + arg + "'";
            return parsed;
        }
        if (!ok) {
            parsed.error = arg + " needs a value";
            return parsed;
        }
    }
    if (!options.task.empty() && !options.scenario.empty()) {
        parsed.error = "--task and --scenario do not go together";
        return parsed;
    }
    // Without a run to shape they would be dropped without a word.
    const bool runs = !options.task.empty() || !options.compareAll.empty();
    for (const auto& [given, name] : {std::pair{options.measures.has_value(), "--measures"},
                                      std::pair{options.fixedBarlines, "--fixed-barlines"},
                                      std::pair{options.asDefault, "--default"}}) {
        if (given && !runs) {
            parsed.error = std::string(name) + " goes with --task (or --compare-all)";
            return parsed;
        }
    }
    parsed.options = std::move(options);
    return parsed;
}

}  // namespace simhost
