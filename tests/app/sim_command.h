// The notavo-sim command as people run it: a process with arguments and a terminal, its exit
// status and what it prints, and the files it writes compared with golden files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace simtest {

// The source tree's top.
std::filesystem::path SourceDir();
std::string ReadFile(const std::filesystem::path& path);
// A file under samples/.
std::string Sample(const std::string& name);

// A golden file (a path from the source tree's top) is written anew with QUOR_UPDATE_GOLDEN=1
// after a change meant to alter it. A difference is shown by its first line, not as two whole
// files.
void ExpectGolden(const std::string& actual, const std::string& path);
bool UpdatingGolden();

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// A scratch folder of its own per test, gone afterwards.
class Command : public ::testing::Test {
protected:
    Command();
    ~Command() override;

    std::filesystem::path Scratch(const std::string& name) const { return scratch_ / name; }
    Outcome Run(const std::vector<std::string>& args, const std::string& input = "") const;

private:
    std::filesystem::path scratch_;
};

}  // namespace simtest
