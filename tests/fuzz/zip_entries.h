// The entries of an archive as the archive target's mutator unpacks them: through its directory,
// stored or deflated. Independent of the reader under test, so that the mutator keeps working
// whatever reads archives for notavo-sim.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "tests/app/zip_builder.h"

namespace quorfuzz {

// Nothing when the bytes are not an archive this can unpack.
std::optional<std::vector<apptest::ZipEntry>> UnpackZip(std::string_view bytes);

}  // namespace quorfuzz
