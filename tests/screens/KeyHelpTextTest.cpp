// The shipped key help against the keys the battlefield reads: each line begins with
// the key that does what the line says.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/LanguageFile.h"
#include "core/TextTable.h"

namespace {

TEST(KeyHelpTextTest, EachLineNamesTheKeyThatDoesIt) {
    TextTable table(100);
    // The hand-written file itself, which the data set copies.
    const std::filesystem::path file = std::filesystem::path(__FILE__).parent_path() / "../../data/English.txt";
    ASSERT_TRUE(LoadLanguageTexts(String(file.string().c_str()), table)) << file;
    auto text = [&](const char* key) {
        const String* found = table.Find(key);
        return found != nullptr ? std::string(found->CStr()) : std::string();
    };
    // The follow keys are typed characters: brackets for friends, braces for enemies.
    const char* const follow[][2] = {{"HelpLeftParen", "[ "},
                                     {"HelpRightParen", "] "},
                                     {"HelpLeftBracket", "{ "},
                                     {"HelpRightBracket", "} "},
                                     {"HelpBackslash", "\\ "}};
    for (const auto& [key, start] : follow) EXPECT_EQ(text(key).rfind(start, 0), 0u) << key << ": " << text(key);
    // Ctrl+F switches the frame meter; Ctrl+X closes a window.
    EXPECT_NE(text("HelpCtrlF").find("frame rate"), std::string::npos) << text("HelpCtrlF");
    EXPECT_EQ(text("HelpCtrlX").find("frame rate"), std::string::npos) << text("HelpCtrlX");
}

}  // namespace
