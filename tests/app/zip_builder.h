// Writes zip archives in memory for the tests of compressed scores: entries stored as they
// are or deflated, and a way to damage one.
#pragma once

#include <string>
#include <vector>

namespace apptest {

struct ZipEntry {
    std::string name;
    std::string bytes;
    bool deflate = true;
};

std::string ZipBytes(const std::vector<ZipEntry>& entries);

}  // namespace apptest
