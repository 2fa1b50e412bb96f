#include "simhost/scenario/scenario_runner.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "simhost/document/document_builder.h"
#include "simhost/document/document_file.h"
#include "simhost/document/measure_record.h"
#include "simhost/document/respacer.h"
#include "simhost/scenario/dialog_items.h"

namespace simhost::scenario {

namespace {

// What `mark` remembers.
struct Mark {
    Document document;
    std::optional<Rect> window;
    std::map<std::int32_t, Rect> items;
};

// A step that failed: the message goes into the report with the step's line.
struct StepFailure {
    std::string message;
};

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else {
            out.push_back(c);
        }
    }
    return out + "\"";
}

std::string Join(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& word : words) {
        if (!out.empty()) out += ' ';
        out += Quoted(word);
    }
    return out.empty() ? "none" : out;
}

std::string Describe(const Rect& rect) {
    std::ostringstream out;
    out << '(' << rect.left << ", " << rect.top << ") " << rect.Width() << 'x' << rect.Height();
    return out.str();
}

std::int64_t Number(const std::string& word) {
    std::int64_t value = 0;
    const char* first = word.data();
    const char* last = word.data() + word.size();
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        first += 2;
        base = 16;
    } else if (!word.empty() && word[0] == '+') {
        ++first;
    }
    const auto [end, error] = std::from_chars(first, last, value, base);
    if (error != std::errc() || end != last || first == last) {
        throw StepFailure{"'" + word + "' is not a number"};
    }
    return value;
}

std::int32_t Int(const std::string& word) { return static_cast<std::int32_t>(Number(word)); }

// The spacing settings are the records whose tags begin "ot".
bool IsSetting(std::uint32_t tag) { return (tag >> 16) == (MakeTag("ot  ") >> 16); }

bool SameSettings(const Document& a, const Document& b) {
    std::vector<std::pair<RecordId, StoredRecord>> left;
    std::vector<std::pair<RecordId, StoredRecord>> right;
    for (const auto& entry : a.Records().All()) {
        if (IsSetting(entry.first.tag)) left.push_back(entry);
    }
    for (const auto& entry : b.Records().All()) {
        if (IsSetting(entry.first.tag)) right.push_back(entry);
    }
    return left == right;
}

std::vector<std::int32_t> MeasureWidths(const Document& document) {
    std::vector<std::int32_t> widths;
    const auto count = static_cast<std::int16_t>(document.GetScore().Measures().size());
    for (std::int16_t number = 1; number <= count; ++number) {
        const std::optional<MeasureFields> fields = document.MeasureRecord(number);
        widths.push_back(fields ? fields->width : -1);
    }
    return widths;
}

std::string DescribeNumbers(const std::vector<std::int32_t>& numbers) {
    std::string out;
    for (const std::int32_t n : numbers) {
        if (!out.empty()) out.push_back(' ');
        out += std::to_string(n);
    }
    return out.empty() ? "none" : out;
}

class Runner {
public:
    Runner(const Script& script, ScenarioHost& host, RunOptions options)
        : script_(script),
          host_(host),
          documentReady_(options.documentGiven),
          documentGiven_(options.documentGiven),
          hostVersion_(options.hostVersion) {}

    RunResult Run() {
        RunResult result;
        for (const Step& step : script_.steps) {
            try {
                Perform(step);
            } catch (const StepFailure& failure) {
                result.failure = ScriptError{script_.name, step.line, failure.message}.Describe();
                return result;
            }
            ++result.stepsRun;
        }
        result.passed = true;
        return result;
    }

private:
    static void Require(bool condition, const std::string& message) {
        if (!condition) throw StepFailure{message};
    }

    // The document steps gather into one builder until the host first needs the document.
    void EnsureDocument() {
        if (documentReady_) return;
        documentReady_ = true;
        if (loaded_) {
            host_.SetDocument(std::move(*loaded_));
        } else {
            if (!hasStaff_) builder_.withStaff(1);
            host_.SetDocument(builder_.Build());
        }
    }

    Document& Doc() { return host_.Backend().GetDocument(); }

    void BeforeHostStarts(Verb verb) const {
        Require(!documentGiven_ || verb == Verb::HostVersion,
                "the document is already given; the script cannot make another");
        Require(!documentReady_, "the document is set before the host starts");
    }

    void LoadDocument(const std::string& path) {
        Require(!hasStaff_, "a document file and inline staves do not mix");
        ParsedDocument parsed = ReadDocumentFile(script_.folder + "/" + path);
        Require(parsed.document.has_value(), parsed.error.Describe());
        loaded_ = std::move(parsed.document);
    }

    // An inline document step; what the builder refuses fails the step.
    template <typename Add>
    void Build(Add add) {
        Require(!loaded_, "a document file and inline staves do not mix");
        try {
            add();
        } catch (const std::invalid_argument& error) {
            throw StepFailure{error.what()};
        }
    }

    static std::vector<AllotmentRow> AllotmentRows(const std::vector<std::string>& w) {
        std::vector<AllotmentRow> rows;
        for (const std::string& word : w) {
            const std::size_t colon = word.find(':');
            Require(colon != std::string::npos, "'" + word + "' is not <duration>:<width>");
            AllotmentRow row{};
            row.duration = Int(word.substr(0, colon));
            row.width = static_cast<std::int16_t>(Int(word.substr(colon + 1)));
            rows.push_back(row);
        }
        return rows;
    }

    void Select(const Step& step) {
        Document& document = Doc();
        if (step.words[0] == "none") {
            Require(step.words.size() == 1, "expected: select none");
            document.SetSelection(NXRegionRecord{});
            return;
        }
        Require(step.words.size() == 2, "expected: select <first> <last>");
        const Score& score = document.GetScore();
        Require(!score.Staves().empty(), "the document has no staff to select");
        const auto first = static_cast<std::int16_t>(Int(step.words[0]));
        const auto last = static_cast<std::int16_t>(Int(step.words[1]));
        const Staff& top = score.Staves().front();
        const Staff& bottom = score.Staves().back();
        const std::optional<MeasureFields> end = document.MeasureRecord(last);
        document.SetSelection(NXRegionRecord{top.key, static_cast<std::uint16_t>(top.slot), first,
                                             0, bottom.key, static_cast<std::uint16_t>(bottom.slot),
                                             last,
                                             static_cast<std::uint32_t>(end ? end->Length() : 0)});
    }

    std::int32_t RowOf(const std::string& text) {
        const std::vector<std::string> rows = host_.Rows();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i] == text) return static_cast<std::int32_t>(i);
        }
        throw StepFailure{"no row " + Quoted(text) + " in the list (" + Join(rows) + ")"};
    }

    const Mark& MarkNamed(const std::string& name) const {
        const auto found = marks_.find(name);
        Require(found != marks_.end(), "no mark named '" + name + "'");
        return found->second;
    }

    const Rect& MarkedWindow(const Mark& mark, const std::string& name) const {
        Require(mark.window.has_value(), "mark '" + name + "' was taken with no dialog open");
        return *mark.window;
    }

    void Act(bool done, const std::string& what) {
        Require(done,
                "the user could not " + what + (host_.Error().empty() ? "" : ": ") + host_.Error());
    }

    void Perform(const Step& step) {
        const auto& w = step.words;
        if (ShapeOf(step.verb).makesDocument) {
            BeforeHostStarts(step.verb);
        } else {
            EnsureDocument();
        }
        switch (step.verb) {
            case Verb::HostVersion:
                hostVersion_ = static_cast<std::uint32_t>(Number(w[0]));
                return;
            case Verb::Document:
                return LoadDocument(w[0]);
            case Verb::Staff:
                return Build([&] {
                    hasStaff_ = true;
                    builder_.withStaff(static_cast<std::int16_t>(Int(w[0])),
                                       std::vector<std::string>(w.begin() + 1, w.end()));
                });
            case Verb::Measures:
                return Build([&] { builder_.withMeasures(Int(w[0])); });
            case Verb::MeasureWidth:
                return Build(
                    [&] { builder_.withMeasureWidth(static_cast<std::int16_t>(Int(w[0]))); });
            case Verb::Scaling:
                return Build(
                    [&] { builder_.withScaling(Int(w[0]), static_cast<std::int16_t>(Int(w[1]))); });
            case Verb::Allotments:
                return Build([&] { builder_.withAllotments(AllotmentRows(w)); });
            case Verb::Select:
                return Select(step);
            case Verb::Invoke:
                Act(host_.Invoke(hostVersion_), "choose the menu item");
                // The first opening shows the dialog at its designed size.
                if (!designedHeight_ && host_.DialogOpen()) {
                    designedHeight_ = host_.WindowRect().Height();
                }
                return;
            case Verb::Terminate:
                return Act(host_.Terminate(), "terminate the extension");
            case Verb::Choose:
                return Act(host_.ChooseRow(RowOf(w[0])), "choose " + Quoted(w[0]));
            case Verb::DoubleClick:
                return Act(host_.DoubleClickRow(RowOf(w[0])), "double-click " + Quoted(w[0]));
            case Verb::ClearSelection:
                return Act(host_.ClearListSelection(), "clear the list");
            case Verb::Click:
                return Act(host_.Click(*ControlId(w[0])), "click " + w[0]);
            case Verb::CloseBox:
                return Act(host_.UseCloseBox(), "use the close box");
            case Verb::DragBottom: {
                Require(host_.DialogOpen(), "no dialog to drag");
                const Rect window = host_.WindowRect();
                return Act(host_.DragBottomTo(window.Height() + Int(w[0])), "drag the border");
            }
            case Verb::DragRight: {
                Require(host_.DialogOpen(), "no dialog to drag");
                const Rect window = host_.WindowRect();
                return Act(host_.DragRightTo(window.Width() + Int(w[0])), "drag the border");
            }
            case Verb::Move: {
                Require(host_.DialogOpen(), "no dialog to move");
                const Rect window = host_.WindowRect();
                return Act(host_.MoveTo(window.left + Int(w[0]), window.top + Int(w[1])),
                           "move the dialog");
            }
            case Verb::Minimise:
                return Act(host_.Minimise(), "minimise the dialog");
            case Verb::Restore:
                return Act(host_.Restore(), "restore the dialog");
            case Verb::HostWindow:
                Require(w[0] == "enable" || w[0] == "disable",
                        "expected: host-window enable|disable");
                host_.SetMainWindowEnabled(w[0] == "enable");
                return;
            case Verb::HostModal:
                return host_.RunHostModal();
            case Verb::Undo:
                return Require(Doc().Undo(), "there is nothing to undo");
            case Verb::Redo:
                return Require(Doc().Redo(), "there is nothing to redo");
            case Verb::Mark:
                return TakeMark(w[0]);
            case Verb::ExpectOpen:
            case Verb::ExpectClosed:
                return ExpectOpen(step.verb == Verb::ExpectOpen);
            case Verb::ExpectEnabled:
            case Verb::ExpectDisabled:
                return ExpectEnabled(step.verb == Verb::ExpectEnabled);
            case Verb::ExpectRows: {
                const std::vector<std::string> rows = host_.Rows();
                return Require(rows == w, "the list shows " + Join(rows));
            }
            case Verb::ExpectSelected:
                return ExpectSelected(w[0]);
            case Verb::ExpectDescription:
                return ExpectDescription(w);
            case Verb::ExpectChecked:
            case Verb::ExpectUnchecked: {
                const std::int32_t state = host_.CheckState(kFixedBarlinesBox);
                return Require((state != 0) == (step.verb == Verb::ExpectChecked),
                               "Fixed Barlines is " + std::string(state ? "ticked" : "clear"));
            }
            case Verb::ExpectBeeps:
                return ExpectCount("beeps", Int(w[0]),
                                   static_cast<std::int64_t>(host_.Beeps().size()));
            case Verb::ExpectEdits:
                return ExpectEdits(w);
            case Verb::ExpectOpenEdits:
                return ExpectCount("open edits", Int(w[0]),
                                   static_cast<std::int64_t>(Doc().History().Depth()));
            case Verb::ExpectRedraws:
                return ExpectCount("redraws", Int(w[0]), host_.Backend().RedrawCount());
            case Verb::ExpectRespaces:
                return ExpectCount("respaces", Int(w[0]), host_.Backend().RespaceCount());
            case Verb::ExpectDocument:
                return ExpectSameAs("document", w[0], w[1]);
            case Verb::ExpectSettings:
                return ExpectSameAs("settings", w[0], w[1]);
            case Verb::ExpectWidths:
                return ExpectWidths(w);
            case Verb::ExpectPositions:
                return ExpectPositions(w);
            case Verb::ExpectWindow:
                return ExpectWindow(w);
            case Verb::ExpectItem:
                return ExpectItem(w);
        }
    }

    void ExpectOpen(bool expected) {
        const bool open = host_.DialogOpen();
        Require(open == expected, std::string("the dialog is ") + (open ? "open" : "closed"));
    }

    void ExpectEnabled(bool expected) {
        Require(host_.DialogOpen(), "no dialog is open");
        const bool enabled = host_.DialogEnabled();
        Require(enabled == expected,
                std::string("the dialog is ") + (enabled ? "enabled" : "disabled"));
    }

    void TakeMark(const std::string& name) {
        Mark mark{Doc(), std::nullopt, {}};
        if (host_.DialogOpen()) {
            mark.window = host_.WindowRect();
            for (const std::int32_t id : kDialogItems) mark.items[id] = host_.ItemRect(id);
        }
        marks_.insert_or_assign(name, std::move(mark));
    }

    void ExpectCount(const std::string& what, std::int64_t expected, std::int64_t actual) {
        Require(expected == actual, "expected " + std::to_string(expected) + " " + what + ", got " +
                                        std::to_string(actual));
    }

    void ExpectSelected(const std::string& expected) {
        const std::int32_t row = host_.SelectedRow();
        const std::vector<std::string> rows = host_.Rows();
        const std::string actual = row >= 0 && row < static_cast<std::int32_t>(rows.size())
                                       ? Quoted(rows[static_cast<std::size_t>(row)])
                                       : "none";
        const std::string wanted = expected == "none" ? "none" : Quoted(expected);
        Require(actual == wanted, "the selected row is " + actual);
    }

    void ExpectDescription(const std::vector<std::string>& w) {
        const std::string text = host_.ItemText(kDescription);
        if (w.size() == 1 && w[0] == "empty") {
            return Require(text.empty(), "the description is " + Quoted(text));
        }
        if (w.size() == 2) {
            Require(w[0] == "starting", "expected: expect description starting \"<text>\"");
            return Require(text.starts_with(w[1]), "the description is " + Quoted(text));
        }
        Require(text == w[0], "the description is " + Quoted(text));
    }

    void ExpectEdits(const std::vector<std::string>& w) {
        std::vector<std::string> names;
        for (const EditStep& edit : Doc().History().UndoSteps())
            names.push_back(NarrowText(edit.name));
        const bool none = w.size() == 1 && w[0] == "none";
        Require(none ? names.empty() : names == w, "the edits are " + Join(names));
    }

    void ExpectSameAs(const std::string& what, const std::string& relation,
                      const std::string& name) {
        Require(relation == "same-as" || relation == "changed-from",
                "expected: same-as or changed-from");
        const Document& marked = MarkNamed(name).document;
        const bool same = what == "document"
                              ? Doc().SameContentAs(marked) && Doc().Records() == marked.Records()
                              : SameSettings(Doc(), marked);
        Require(same == (relation == "same-as"),
                "the " + what + (same ? " is unchanged from '" : " differs from '") + name + "'");
    }

    void ExpectWidths(const std::vector<std::string>& w) {
        const std::vector<std::int32_t> actual = MeasureWidths(Doc());
        std::vector<std::int32_t> expected;
        if (w[0] == "same-as") {
            Require(w.size() == 2, "expected: expect widths same-as <mark>");
            expected = MeasureWidths(MarkNamed(w[1]).document);
        } else {
            for (const std::string& word : w) expected.push_back(Int(word));
        }
        Require(actual == expected, "the measure widths are " + DescribeNumbers(actual) +
                                        ", expected " + DescribeNumbers(expected));
    }

    void ExpectPositions(const std::vector<std::string>& w) {
        const auto measure = static_cast<std::int16_t>(Int(w[0]));
        const auto slot = static_cast<std::int16_t>(Int(w[1]));
        std::vector<std::int32_t> actual;
        for (const std::int16_t p : NotePositions(Doc(), measure, slot)) actual.push_back(p);
        std::vector<std::int32_t> expected;
        for (std::size_t i = 2; i < w.size(); ++i) expected.push_back(Int(w[i]));
        Require(actual == expected, "the note positions are " + DescribeNumbers(actual));
    }

    void ExpectWindow(const std::vector<std::string>& w) {
        Require(host_.DialogOpen(), "no dialog is open");
        const Rect now = host_.WindowRect();
        if (w[0] == "same-as" && w.size() == 2) {
            const Rect& then = MarkedWindow(MarkNamed(w[1]), w[1]);
            return Require(now == then,
                           "the dialog is at " + Describe(now) + ", not at " + Describe(then));
        }
        if (w[0] == "size" && w.size() == 4) {
            const Rect& then = MarkedWindow(MarkNamed(w[1]), w[1]);
            const std::int32_t dw = now.Width() - then.Width();
            const std::int32_t dh = now.Height() - then.Height();
            return Require(dw == Int(w[2]) && dh == Int(w[3]),
                           "the dialog changed size by " + std::to_string(dw) + ", " +
                               std::to_string(dh) + " since '" + w[1] + "'");
        }
        if (w[0] == "height" && w.size() == 2 && w[1] == "cap") {
            const std::int32_t cap = host_.FullScreenHeight() * 8 / 10;
            const std::int32_t expected = std::max(cap, designedHeight_.value_or(0));
            return Require(now.Height() == expected,
                           "the dialog is " + std::to_string(now.Height()) + " high, expected " +
                               std::to_string(expected));
        }
        if (w[0] == "designed" && w.size() == 1) {
            Require(designedHeight_.has_value(), "no dialog was opened yet");
            return Require(now.Height() == *designedHeight_,
                           "the dialog is " + std::to_string(now.Height()) + " high, designed " +
                               std::to_string(*designedHeight_));
        }
        throw StepFailure{
            "expected: expect window same-as <mark> | size <mark> <dw> <dh> | height cap | "
            "designed"};
    }

    void ExpectItem(const std::vector<std::string>& w) {
        Require(host_.DialogOpen(), "no dialog is open");
        const std::int32_t id = *ControlId(w[0]);
        const std::string& how = w[1];
        const Mark& mark = MarkNamed(w[2]);
        const auto found = mark.items.find(id);
        Require(found != mark.items.end(), "mark '" + w[2] + "' was taken with no dialog open");
        std::int32_t dx = 0;
        std::int32_t dy = 0;
        if (how == "moved-with" || how == "grown-with") {
            // By as much as the whole dialog changed size since the mark.
            Require(w.size() == 3, "expected: expect item <control> " + how + " <mark>");
            const Rect now = host_.WindowRect();
            const Rect& then = MarkedWindow(mark, w[2]);
            dx = now.Width() - then.Width();
            dy = now.Height() - then.Height();
        } else {
            Require(w.size() == 5, "expected: expect item <control> " + how + " <mark> <dx> <dy>");
            dx = Int(w[3]);
            dy = Int(w[4]);
        }
        const Rect now = host_.ItemRect(id);
        const Rect& then = found->second;
        if (how == "moved" || how == "moved-with") {
            const bool ok = now.left - then.left == dx && now.top - then.top == dy &&
                            now.Width() == then.Width() && now.Height() == then.Height();
            return Require(ok, w[0] + " is at " + Describe(now) + ", was at " + Describe(then) +
                                   ", expected a move by " + std::to_string(dx) + ", " +
                                   std::to_string(dy));
        }
        Require(how == "grown" || how == "grown-with",
                "expected: moved, grown, moved-with or "
                "grown-with");
        const bool ok = now.left == then.left && now.top == then.top &&
                        now.Width() - then.Width() == dx && now.Height() - then.Height() == dy;
        Require(ok, w[0] + " is " + Describe(now) + ", was " + Describe(then) +
                        ", expected it to grow by " + std::to_string(dx) + ", " +
                        std::to_string(dy));
    }

    const Script& script_;
    ScenarioHost& host_;
    DocumentBuilder builder_;
    std::optional<Document> loaded_;
    bool hasStaff_ = false;
    bool documentReady_ = false;
    bool documentGiven_ = false;
    std::uint32_t hostVersion_;
    std::map<std::string, Mark> marks_;
    // The first opening's height, for `expect window height cap` and `designed`.
    std::optional<std::int32_t> designedHeight_;
};

}  // namespace

RunResult RunScript(const Script& script, ScenarioHost& host, RunOptions options) {
    return Runner(script, host, options).Run();
}

}  // namespace simhost::scenario
