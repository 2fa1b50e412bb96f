#include "simhost/headless/resource_script.h"

#include <gtest/gtest.h>

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
    const auto* dialog = script.FindDialog(20128);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->style, 0x90CC0048u);
    EXPECT_EQ(dialog->caption, u"Quor Note Spacing");
    EXPECT_EQ(dialog->fontFace, u"MS Sans Serif");
    EXPECT_EQ(dialog->cx, 250);
    ASSERT_EQ(dialog->controls.size(), 7u);
    EXPECT_EQ(dialog->controls[0].text, u"&Tasks:");
    EXPECT_EQ(dialog->controls[1].className, "LISTBOX");
    EXPECT_EQ(dialog->controls[2].style, 0x50030003u);
    EXPECT_EQ(DialogBaseUnits(*dialog).x, 6);
    EXPECT_EQ(DialogBaseUnits(*dialog).y, 13);
}

TEST(ResourceScriptTest, DefaultsCommentsAndEscapesFollowTheResourceCompiler) {
    const ResourceScript script = ResourceScript::Parse(
        "#include \"ids.h\"\n"
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

TEST(ResourceScriptTest, MulDivRoundsHalvesAwayFromZero) {
    struct Case {
        std::int32_t a, b, c, result;
    };
    const Case cases[] = {{140, 13, 8, 228}, {90, 13, 8, 146}, {85, 6, 4, 128},
                          {-85, 6, 4, -128}, {7, 1, 0, -1},    {3, 1, 2, 2}};
    for (const Case& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.result) << c.a << "*" << c.b;
}

}  // namespace
