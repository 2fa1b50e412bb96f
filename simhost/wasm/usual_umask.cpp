// emscripten starts a program with a umask of 0777, where a process inherits its parent's (0022
// as a rule), so every file the program made would be readable by no one: the page could not
// read back the picture it had just written, and under Node the files landed on disk with mode
// 0000. The wasm32 programs start with the usual one instead.
#include <sys/stat.h>

namespace {

[[maybe_unused]] const bool kUsualUmask = (umask(022), true);

}  // namespace
