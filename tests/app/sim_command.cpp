#include "tests/app/sim_command.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace simtest {

namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& word) {
    std::string out = "'";
    for (const char c : word) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out.push_back(c);
        }
    }
    return out + "'";
}

}  // namespace

fs::path SourceDir() { return fs::path(__FILE__).parent_path().parent_path().parent_path(); }

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Sample(const std::string& name) { return (SourceDir() / "samples" / name).string(); }

bool UpdatingGolden() { return std::getenv("QUOR_UPDATE_GOLDEN") != nullptr; }

void ExpectGolden(const std::string& actual, const std::string& path) {
    const fs::path golden = SourceDir() / path;
    if (UpdatingGolden()) std::ofstream(golden, std::ios::binary) << actual;
    const std::string expected = ReadFile(golden);
    if (actual == expected) return;
    std::istringstream a(actual);
    std::istringstream e(expected);
    std::string got;
    std::string want;
    for (int line = 1;; ++line) {
        const bool more = static_cast<bool>(std::getline(a, got));
        const bool wanted = static_cast<bool>(std::getline(e, want));
        if (!more && !wanted) break;
        if (got != want || more != wanted) {
            ADD_FAILURE() << golden << ":" << line << " differs\n  expected: " << want
                          << "\n  actual:   " << got;
            return;
        }
    }
    ADD_FAILURE() << golden << " differs in its line ends";
}

Command::Command() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    scratch_ = fs::temp_directory_path() /
               (std::string("notavo-sim-") + info->name() + "-" + std::to_string(getpid()));
    fs::remove_all(scratch_);
    fs::create_directories(scratch_);
}

Command::~Command() { fs::remove_all(scratch_); }

Outcome Command::Run(const std::vector<std::string>& args, const std::string& input) const {
    const fs::path in = Scratch("stdin.txt");
    const fs::path out = Scratch("stdout.txt");
    const fs::path err = Scratch("stderr.txt");
    std::ofstream(in, std::ios::binary) << input;
    std::string line = Quoted(QUOR_NOTAVO_SIM);
    for (const std::string& arg : args) line += " " + Quoted(arg);
    line += " <" + Quoted(in.string()) + " >" + Quoted(out.string()) + " 2>" + Quoted(err.string());
    Outcome outcome;
    const int raw = std::system(line.c_str());
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.out = ReadFile(out);
    outcome.err = ReadFile(err);
    return outcome;
}

}  // namespace simtest
