#include <gtest/gtest.h>

#include "engine/key_value_file.h"

TEST(KeyValueFile, KeepsWhatItDoesNotKnowInOrderAndChangesOnlyWhatIsSet) {
    const std::string written = "# my settings, edited by hand\r\n"
                                "version = 1\r\n"
                                "\r\n"
                                "music_volume = 80\r\n"
                                "; from a later version\r\n"
                                "colour.blind-mode =  deuteranopia  \r\n"
                                "this line means nothing\r\n"
                                "music_volume = 70\r\n"
                                "fullscreen = On\r\n";
    TKeyValueFile file;
    ASSERT_EQ(file.read("\xEF\xBB\xBF" + written, 1).verdict, FileVerdict::Good);
    EXPECT_EQ(file.getInt("music_volume"), 70) << "the last line that sets a key counts";
    EXPECT_EQ(file.get("colour.blind-mode"), "deuteranopia");
    EXPECT_EQ(file.getBool("fullscreen"), true);
    EXPECT_EQ(file.getBool("music_volume"), std::nullopt);
    EXPECT_EQ(file.getInt("colour.blind-mode"), std::nullopt);
    EXPECT_EQ(file.get("missing"), std::nullopt);
    EXPECT_EQ(file.problems(), std::vector<std::string>{"line 7 is not key = value"});
    EXPECT_EQ(file.keys(), (std::vector<std::string>{"music_volume", "colour.blind-mode", "fullscreen"}));

    EXPECT_TRUE(file.setInt("music_volume", 55));
    EXPECT_TRUE(file.setBool("vsync", false, "wait for the display"));
    EXPECT_TRUE(file.set("name", "two\nlines"));
    EXPECT_FALSE(file.set("no spaces", "x"));
    EXPECT_FALSE(file.set("version", "9"));
    EXPECT_EQ(file.text(), "# my settings, edited by hand\n"
                           "version = 1\n"
                           "\n"
                           "music_volume = 80\n"
                           "; from a later version\n"
                           "colour.blind-mode =  deuteranopia  \n"
                           "this line means nothing\n"
                           "music_volume = 55\n"
                           "fullscreen = On\n"
                           "# wait for the display\n"
                           "vsync = no\n"
                           "name = two lines\n");
    TKeyValueFile again;
    ASSERT_EQ(again.read(file.text(), 1).verdict, FileVerdict::Good);
    EXPECT_EQ(again.text(), file.text());
}

TEST(KeyValueFile, GarbageOrANewerFileIsRefusedAndLeavesTheFileAsItWas) {
    struct Case {
        std::string text;
        FileVerdict verdict;
        std::string why;
    };
    const std::vector<Case> cases = {
        {"", FileVerdict::Damaged, "it has no version line"},
        {"# only a comment\n", FileVerdict::Damaged, "it has no version line"},
        {"music_volume = 3\nversion = 1\n", FileVerdict::Damaged, "line 1 is not its version line"},
        {"garbage\n", FileVerdict::Damaged, "line 1 is not its version line"},
        {"version = one\n", FileVerdict::Damaged, "its version is not a number"},
        {"version = 0\n", FileVerdict::Damaged, "its version is not a number"},
        {"version = 99999999999999\n", FileVerdict::Damaged, "its version is not a number"},
        {std::string("version = 1\nx = \0\n", 18), FileVerdict::Damaged, "it is not text"},
        {"version = 1\n" + std::string(TKeyValueFile::kMaxBytes, '#'), FileVerdict::Damaged, "it is far too large"},
        {"version = 2\nnew_thing = 1\n", FileVerdict::Newer, "it comes from a newer version of the game"},
    };
    for (const Case& c : cases) {
        TKeyValueFile file(1);
        file.setInt("kept", 5);
        const FileCheck check = file.read(c.text, 1);
        EXPECT_EQ(check.verdict, c.verdict) << c.text.substr(0, 40);
        EXPECT_EQ(check.why, c.why) << c.text.substr(0, 40);
        EXPECT_EQ(file.text(), "version = 1\nkept = 5\n");
    }
}
