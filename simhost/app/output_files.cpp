#include "simhost/app/output_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace simhost {
namespace {

// The mode an ordinary new file gets: mkstemp's 0600 would hide a picture from everyone else.
mode_t OrdinaryFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

std::string Why(int error) { return std::strerror(error); }

// Writes `content` to a new temporary file in the target's folder; answers its name, or an
// error in `error`.
std::string WriteTemporary(const std::string& path, const std::string& content,
                           std::string& error) {
    const std::filesystem::path target(path);
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::string name = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        error = path + ": cannot write the file (" + Why(errno) + ")";
        return {};
    }
    bool written = fchmod(fd, OrdinaryFileMode()) == 0;
    int failure = written ? 0 : errno;
    for (std::size_t done = 0; written && done < content.size();) {
        const ssize_t n = write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            written = false;
            failure = n < 0 ? errno : ENOSPC;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (written && fsync(fd) != 0) {
        written = false;
        failure = errno;
    }
    if (close(fd) != 0 && written) {
        written = false;
        failure = errno;
    }
    if (!written) {
        unlink(name.c_str());
        error = path + ": cannot write the file (" + Why(failure) + ")";
        return {};
    }
    return name;
}

}  // namespace

OutputFiles::~OutputFiles() { RemoveTemporaries(); }

void OutputFiles::Add(std::string path, std::string content) {
    outputs_.push_back(Output{std::move(path), std::move(content), {}});
}

void OutputFiles::RemoveTemporaries() {
    for (Output& output : outputs_) {
        if (!output.temporary.empty()) unlink(output.temporary.c_str());
        output.temporary.clear();
    }
}

std::string OutputFiles::Commit() {
    for (Output& output : outputs_) {
        std::string error;
        output.temporary = WriteTemporary(output.path, output.content, error);
        if (!error.empty()) {
            RemoveTemporaries();
            return error + "; nothing was written";
        }
    }
    // Renames within one folder need no space, so they fail only when the target cannot be
    // replaced (a folder of that name, say).
    std::vector<std::string> placed;
    for (std::size_t i = 0; i < outputs_.size(); ++i) {
        Output& output = outputs_[i];
        if (std::rename(output.temporary.c_str(), output.path.c_str()) != 0) {
            std::string error = output.path + ": cannot put the file in place (" + Why(errno) + ")";
            RemoveTemporaries();
            std::string missing;
            for (std::size_t j = i; j < outputs_.size(); ++j) {
                missing += (missing.empty() ? "" : ", ") + outputs_[j].path;
            }
            std::string done;
            for (const std::string& path : placed) done += (done.empty() ? "" : ", ") + path;
            return error + "; written: " + (done.empty() ? "none" : done) +
                   "; not written: " + missing;
        }
        output.temporary.clear();
        placed.push_back(output.path);
    }
    return {};
}

}  // namespace simhost
