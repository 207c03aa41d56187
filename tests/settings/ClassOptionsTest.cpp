#include "platform/Registry.h"
#include "settings/ClassOptions.h"
#include "settings/RegistryKeys.h"
#include "settings/StoredNumber.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

class ClassOptionsTest : public ::testing::Test {
protected:
    QString key(const char* subKey) const { return RegistryKeys::kOptions + "\\" + subKey; }

    void store(const char* subKey, const QString& name, const QString& text)
    {
        registry.setValue(RegistryRoot::CurrentUser, key(subKey), name, RegistryValue::fromString(text));
    }

    std::optional<QString> stored(const char* subKey, const QString& name) const
    {
        const auto value = registry.value(RegistryRoot::CurrentUser, key(subKey), name);
        return value ? std::optional<QString>(value->text) : std::nullopt;
    }

    QTemporaryDir dir;
    Registry registry{dir.path()};
};

TEST_F(ClassOptionsTest, FirstStartUsesDefaultsAndWritesThemAtExit)
{
    {
        ClassOptions options(registry);
        EXPECT_EQ(options.OpenModulePath(), "");
        EXPECT_EQ(options.OpenDiscPath(), "");
        for (int n = 1; n <= 3; ++n) {
            EXPECT_EQ(options.UserActionPath(n), "");
            EXPECT_FALSE(options.UserActionSleep(n));
            EXPECT_TRUE(options.UserActionCloseMod(n));
        }
        EXPECT_TRUE(options.RecentPaths().isEmpty());
        EXPECT_EQ(options.PlaybackMode(), 3);
        EXPECT_EQ(options.PlaybackFrequency(), 4);
        EXPECT_EQ(options.PlaybackBuffer(), 2);
        EXPECT_EQ(options.ScrollSpeed(), 1);
        EXPECT_EQ(options.Fadeout(), 10);
        EXPECT_EQ(options.VolumeExe(), "");
        // Nothing is written before exit.
        EXPECT_FALSE(stored("Sound Options", "Fadeout"));
    }
    EXPECT_EQ(stored("Paths", "OpenModule Path"), "");
    EXPECT_EQ(stored("User Actions", "User Action #1 - Sleep"), "0");
    EXPECT_EQ(stored("User Actions", "User Action #3 - Close Mod"), "1");
    EXPECT_EQ(stored("Sound Options", "Playback mode"), "3");
    EXPECT_EQ(stored("Sound Options", "Playback frequency"), "4");
    EXPECT_EQ(stored("Sound Options", "Playback buffer"), "2");
    EXPECT_EQ(stored("Sound Options", "Scrollspeed"), "1");
    EXPECT_EQ(stored("Sound Options", "Fadeout"), "10");
    EXPECT_EQ(stored("Sound Options", "VolumeExe"), "");
    EXPECT_FALSE(stored("Paths", "FileControl Paths 1"));
}

TEST_F(ClassOptionsTest, ChangesSurviveARestart)
{
    {
        ClassOptions options(registry);
        options.SetOpenModulePath("/home/me/My Mods/");
        options.SetUserActionPath(2, "/usr/bin/prog \"%1\"");
        options.SetUserActionSleep(2, true);
        options.SetUserActionCloseMod(3, false);
        options.SetUserActionPath(4, "ignored");
        options.SetPlaybackMode(-5);  // kept and written as given; read back as the default
        options.SetVolumeExe("pavucontrol");
        options.AddRecentPath("/mnt/a");
    }
    ClassOptions options(registry);
    EXPECT_EQ(options.OpenModulePath(), "/home/me/My Mods/");
    EXPECT_EQ(options.UserActionPath(2), "/usr/bin/prog \"%1\"");
    EXPECT_TRUE(options.UserActionSleep(2));
    EXPECT_FALSE(options.UserActionCloseMod(3));
    EXPECT_EQ(options.UserActionPath(4), "");
    EXPECT_EQ(options.PlaybackMode(), 3);
    EXPECT_EQ(options.VolumeExe(), "pavucontrol");
    EXPECT_EQ(options.RecentPaths(), QStringList({"/mnt/a"}));
}

TEST_F(ClassOptionsTest, StoredNumbersAndFlagsAreReadByTheTextRules)
{
    store("Sound Options", "Fadeout", "0x14");
    store("Sound Options", "Playback buffer", "abc");
    store("Sound Options", "Scrollspeed", "$3");
    store("User Actions", "User Action #2 - Close Mod", "0");
    store("User Actions", "User Action #1 - Sleep", "7");
    registry.setValue(RegistryRoot::CurrentUser, key("Sound Options"), "Playback mode",
                      RegistryValue::fromDword(2));
    ClassOptions options(registry);
    EXPECT_EQ(options.Fadeout(), 20);
    EXPECT_EQ(options.PlaybackBuffer(), 2);
    EXPECT_EQ(options.ScrollSpeed(), 3);
    EXPECT_FALSE(options.UserActionCloseMod(2));
    EXPECT_TRUE(options.UserActionSleep(1));
    EXPECT_EQ(options.PlaybackMode(), 2);
}

TEST_F(ClassOptionsTest, NumbersOutOfRangeReadAsTheDefaultsAndAreWrittenBackSo)
{
    const struct {
        const char* subKey;
        const char* name;
        const char* stored;
        const char* readBack;
    } cases[] = {
        {"Sound Options", "Fadeout", "2147483647", "10"},
        {"Sound Options", "Fadeout", "31", "10"},
        {"Sound Options", "Fadeout", "-1", "10"},
        {"Sound Options", "Playback mode", "4", "3"},
        {"Sound Options", "Playback frequency", "5", "4"},
        {"Sound Options", "Playback buffer", "21", "2"},
        {"Sound Options", "Scrollspeed", "0x80000000", "1"},
        {"Playing", "At the end", "4", "0"},
        {"Playing", "At the end", "3", "3"},
        {"Playback Quality", "Hide subsongs shorter than", "61", "2"},
        {"Playback Quality", "Interpolation", "3", "8"},
        {"Playback Quality", "Interpolation", "4", "4"},
        {"Playback Quality", "Stereo separation", "201", "100"},
        {"Playback Quality", "Stereo separation", "0", "0"},
        {"Playback Quality", "Amiga resampler", "2", "0"},
        {"Playback Quality", "Volume ramping", "-2", "-1"},
        {"Playback Quality", "Volume ramping", "10", "10"},
    };
    for (const auto& c : cases) {
        store(c.subKey, c.name, c.stored);
        { ClassOptions options(registry); }
        EXPECT_EQ(registry.value(RegistryRoot::CurrentUser, key(c.subKey), c.name),
                  RegistryValue::fromString(c.readBack))
            << c.name << " stored as " << c.stored;
    }
    store("Sound Options", "Fadeout", "30");
    store("Sound Options", "Playback buffer", "20");  // the dialog shows it at its end
    ClassOptions options(registry);
    EXPECT_EQ(options.Fadeout(), 30);
    EXPECT_EQ(options.PlaybackBuffer(), 20);
}

TEST_F(ClassOptionsTest, RecentPathsCloseGapsAndLeaveOldPositionsAlone)
{
    store("Paths", "FileControl Paths 1", "/a");
    store("Paths", "FileControl Paths 3", "/c");
    {
        ClassOptions options(registry);
        EXPECT_EQ(options.RecentPaths(), QStringList({"/a", "/c"}));
    }
    EXPECT_EQ(stored("Paths", "FileControl Paths 2"), "/c");
    EXPECT_EQ(stored("Paths", "FileControl Paths 3"), "/c");
    ClassOptions options(registry);
    EXPECT_EQ(options.RecentPaths(), QStringList({"/a", "/c", "/c"}));
}

TEST_F(ClassOptionsTest, AddRecentPathKeepsTenWithoutCaseDuplicates)
{
    ClassOptions options(registry);
    options.AddRecentPath("C:\\MODS");
    options.AddRecentPath("c:\\mods");
    EXPECT_EQ(options.RecentPaths(), QStringList({"C:\\MODS"}));
    for (char letter = 'B'; letter <= 'J'; ++letter)
        options.AddRecentPath(QString("/%1").arg(letter));
    ASSERT_EQ(options.RecentPaths().size(), 10);
    options.AddRecentPath("/K");
    EXPECT_EQ(options.RecentPaths(),
              QStringList({"C:\\MODS", "/C", "/D", "/E", "/F", "/G", "/H", "/I", "/J", "/K"}));
    options.AddRecentPath("/d");  // equal in upper case: nothing moves
    EXPECT_EQ(options.RecentPaths().at(2), "/D");
    EXPECT_EQ(options.RecentPaths().size(), 10);
}

struct NumberCase {
    const char* text;
    int expected;
};

class StoredNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(StoredNumberTest, ParsesOrFallsBack)
{
    EXPECT_EQ(ParseStoredInteger(GetParam().text, 99), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StoredNumberTest,
    ::testing::Values(NumberCase{"10", 10}, NumberCase{"-3", -3}, NumberCase{"0x14", 20},
                      NumberCase{"0X1f", 31}, NumberCase{"$ff", 255}, NumberCase{"0xFFFFFFFF", -1},
                      NumberCase{"0x", 99}, NumberCase{"0x-1", 99}, NumberCase{"$", 99},
                      NumberCase{"abc", 99}, NumberCase{"", 99}, NumberCase{"12abc", 99},
                      NumberCase{"2147483648", 99}, NumberCase{"0x100000000", 99},
                      NumberCase{"-2147483648", -2147483647 - 1}));
