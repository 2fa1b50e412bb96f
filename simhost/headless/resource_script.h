// The dialog templates of a module's resource script (.rc), read the way the resource compiler
// reads them, so that the substitute host builds the very dialogs the Windows DLL carries.
// Understood: `id DIALOG` / `id DIALOGEX` with x, y, cx, cy (in dialog units), the STYLE,
// EXSTYLE, CAPTION and FONT statements, and CONTROL lines between BEGIN/END or braces; line and
// block comments. Numbers may be joined with '|'. Of the preprocessor, `#define NAME number` and
// `#include "header"` (a header of such lines, found beside the script) are understood, so that
// the ids can be named once for the script and the code; a system header (`#include <...>`) is
// passed over and any other directive refused. A name no #define gave is refused, so styles
// must be numbers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace simhost::headless {

struct ControlTemplate {
    std::u16string text;
    std::int32_t id = 0;
    std::string className;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int32_t x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogTemplate {
    std::int32_t id = 0;
    bool extended = false;
    std::int32_t x = 0, y = 0, cx = 0, cy = 0;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::u16string caption;
    bool hasFont = false;
    std::int32_t fontPoints = 0;
    std::u16string fontFace;
    std::vector<ControlTemplate> controls;
};

// A script that cannot be read: the message names the source, the line and what is wrong.
class ResourceScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ResourceScript {
public:
    // Throws ResourceScriptError. `source` names the text in messages; `folder` is where its
    // #include names start.
    static ResourceScript Parse(std::string_view text, const std::string& source,
                                const std::filesystem::path& folder = {});
    static ResourceScript Load(const std::string& path);

    // Null when the script has no dialog with that id.
    const DialogTemplate* FindDialog(std::int32_t id) const;
    const std::vector<DialogTemplate>& Dialogs() const { return dialogs_; }

private:
    std::vector<DialogTemplate> dialogs_;
};

}  // namespace simhost::headless
