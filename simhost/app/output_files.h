// The files one notavo-sim run writes (pictures, the saved document), written all or none: each
// goes to a temporary file beside its target first, and only when every one of them is written
// whole are they renamed into place.
#pragma once

#include <string>
#include <vector>

namespace simhost {

class OutputFiles {
public:
    OutputFiles() = default;
    OutputFiles(const OutputFiles&) = delete;
    OutputFiles& operator=(const OutputFiles&) = delete;
    // Temporary files of a run that did not get as far as Commit are removed.
    ~OutputFiles();

    void Add(std::string path, std::string content);

    // Writes every file, then renames each into place. When a write fails, no target is
    // touched and no temporary file is left; when a rename fails all the same, the message
    // names the outputs in place and those that are not. Answers the error, or an empty text.
    std::string Commit();

private:
    struct Output {
        std::string path;
        std::string content;
        std::string temporary;
    };
    void RemoveTemporaries();

    std::vector<Output> outputs_;
};

}  // namespace simhost
