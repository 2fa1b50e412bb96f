#include "simhost/headless/resource_script.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "resources/note_spacing_dialog_ids.h"
#include "simhost/headless/dialog_builder.h"
#include "simhost/headless/headless_dialogs.h"

namespace {

using simhost::headless::DialogBaseUnits;
using simhost::headless::HeadlessConfig;
using simhost::headless::MulDiv;
using simhost::headless::ResourceScript;
using simhost::headless::ResourceScriptError;

TEST(ResourceScriptTest, TheModulesTemplateReadsAsItsResourceCompilerWouldBuildIt) {
    const ResourceScript script = ResourceScript::Load(HeadlessConfig::DefaultResourceScript());
    const auto* dialog = script.FindDialog(IDD_NOTE_SPACING);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->style, 0x90CC0048u);
    EXPECT_EQ(dialog->caption, u"Quor Note Spacing");
    EXPECT_EQ(dialog->fontFace, u"MS Sans Serif");
    EXPECT_EQ(dialog->cx, 250);
    ASSERT_EQ(dialog->controls.size(), 7u);
    EXPECT_EQ(dialog->controls[0].text, u"&Tasks:");
    EXPECT_EQ(dialog->controls[1].className, "LISTBOX");
    EXPECT_EQ(dialog->controls[2].style, 0x50030003u);
    EXPECT_EQ(dialog->controls[2].id, IDC_SPACING_FIXED_BARLINES);
    EXPECT_EQ(dialog->controls[4].id, IDC_SPACING_APPLY);
    EXPECT_EQ(DialogBaseUnits(*dialog).x, 6);
    EXPECT_EQ(DialogBaseUnits(*dialog).y, 13);
}

TEST(ResourceScriptTest, DefaultsCommentsAndEscapesFollowTheResourceCompiler) {
    const ResourceScript script = ResourceScript::Parse(
        "#include <windows.h>\n"
        "/* a block\n comment */ 7 DIALOGEX DISCARDABLE 0, 0, 40, 20, 99\n"
        "CAPTION \"Say \"\"hi\"\"\"\n"
        "{ CONTROL \"a\\tb\", 3, BUTTON, 0x3 | 0x10000, 1, 2, 3, 4, 0x200 }\n",
        "inline");
    const auto* dialog = script.FindDialog(7);
    ASSERT_NE(dialog, nullptr);
    // No STYLE: a bordered pop-up with a system menu, and the caption adds WS_CAPTION.
    EXPECT_EQ(dialog->style, WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CAPTION);
    EXPECT_EQ(dialog->caption, u"Say \"hi\"");
    ASSERT_EQ(dialog->controls.size(), 1u);
    EXPECT_EQ(dialog->controls[0].text, u"a\tb");
    EXPECT_EQ(dialog->controls[0].style, 0x3u | WS_TABSTOP | WS_CHILD | WS_VISIBLE);
    EXPECT_EQ(dialog->controls[0].exStyle, 0x200u);
    EXPECT_EQ(DialogBaseUnits(*dialog).x, 8);  // no font: the system font
}

TEST(ResourceScriptTest, AMalformedScriptNamesTheLineAndTheFault) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"1 DIALOG 0, 0, 1, 1\nBEGIN\n  LTEXT \"x\", 1, 0, 0, 1, 1\nEND\n", "t.rc:3: only CONTROL"},
        {"1 DIALOG 0, 0, 1\n", "t.rc:2: expected ','"},
        {"1 MENU\n", "t.rc:1: only DIALOG and DIALOGEX"},
        {"1 DIALOG 0,0,1,1 CAPTION \"open\n", "t.rc:1: unterminated string"},
        {"/* never closed\n\n", "t.rc:1: unterminated comment"},
        {"IDD_NONE DIALOG 0, 0, 1, 1\n", "t.rc:1: unknown name 'IDD_NONE'"},
        {"#define A 1\nA DIALOG 0, 0, 1, 1\n{ CONTROL \"\", B, \"STATIC\", 0, 0, 0, 1, 1 }\n",
         "t.rc:3: unknown name 'B'"},
        {"#define A B\n", "t.rc:1: unknown name 'B'"},
        {"#define A\n", "t.rc:1: #define A does not give a number"},
        {"#define A 1 2\n", "t.rc:1: #define A gives more than one number"},
        {"\n#ifdef A\n", "t.rc:2: #ifdef is not understood"},
        {"#include \"no_such_header.h\"\n", "t.rc:1: cannot read the header"},
    };
    for (const Case& c : cases) {
        try {
            ResourceScript::Parse(c.text, "t.rc");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const ResourceScriptError& error) {
            EXPECT_EQ(std::string(error.what()).rfind(c.message, 0), 0u) << error.what();
        }
    }
}

// The ids are named once in a header that both the script and the code include.
TEST(ResourceScriptTest, NamesComeFromTheScriptsDefinesAndItsHeaders) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("quor_rc_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(folder / "sub");
    std::ofstream(folder / "sub" / "ids.h")
        << "#pragma once\n// ids\n#define IDD_X 7\n"
           "#define IDC_Y 0x10 /* hex */\n#define IDC_Z IDC_Y\n";
    std::ofstream(folder / "stray.h") << "#define IDC_W 1\nIDC_W\n";
    const ResourceScript script = ResourceScript::Parse(
        "#include \"sub/ids.h\"\n#define LOCAL 3\n"
        "IDD_X DIALOG 0, 0, LOCAL, 20\n"
        "{ CONTROL \"\", IDC_Y, BUTTON, 0, 0, 0, 1, 1\n  CONTROL \"\", IDC_Z, BUTTON, 0, 0, 0, 1, "
        "1 }\n",
        "t.rc", folder);
    try {
        ResourceScript::Parse("#include \"stray.h\"\n", "t.rc", folder);
        ADD_FAILURE() << "accepted a header with more than preprocessor lines";
    } catch (const ResourceScriptError& error) {
        EXPECT_EQ(std::string(error.what()),
                  (folder / "stray.h").string() + ":2: a header may hold only preprocessor lines");
    }
    std::filesystem::remove_all(folder);
    const auto* dialog = script.FindDialog(7);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->cx, 3);
    ASSERT_EQ(dialog->controls.size(), 2u);
    EXPECT_EQ(dialog->controls[0].id, 0x10);
    EXPECT_EQ(dialog->controls[1].id, 0x10);
}

TEST(ResourceScriptTest, MulDivRoundsHalvesAwayFromZero) {
    struct Case {
        std::int32_t a, b, c, result;
    };
    const Case cases[] = {{140, 13, 8, 228}, {90, 13, 8, 146}, {85, 6, 4, 128},
                          {-85, 6, 4, -128}, {7, 1, 0, -1},    {3, 1, 2, 2}};
    for (const Case& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.result) << c.a << "*" << c.b;
}

}  // namespace
