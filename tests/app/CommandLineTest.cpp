#include "app/CommandLine.h"
#include "app/PathParts.h"

#include <gtest/gtest.h>

struct ForwardCase {
    const char* raw;
    const char* forwarded;
};

class ForwardedArgumentTest : public ::testing::TestWithParam<ForwardCase> {};

TEST_P(ForwardedArgumentTest, TakesTheFileFromTheRawCommandLine)
{
    EXPECT_EQ(CommandLine::ForwardedArgument(QString::fromUtf8(GetParam().raw)),
              QString::fromUtf8(GetParam().forwarded));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ForwardedArgumentTest,
    ::testing::Values(
        // quoted program, quoted module with a blank
        ForwardCase{R"("/usr/bin/jukarium" "/home/me/My Mods/song.xm")", "/home/me/My Mods/song.xm"},
        // the association's form: unquoted program, quoted file with blanks
        ForwardCase{R"(/usr/bin/jukarium "/home/me/My Mods/a b.mod")", "/home/me/My Mods/a b.mod"},
        // no argument at all
        ForwardCase{R"("/usr/bin/jukarium")", ""},
        ForwardCase{"/usr/bin/jukarium", ""},
        // an unquoted argument loses its first and last characters
        ForwardCase{"/usr/bin/jukarium song.mod", "ong.mo"},
        // several quoted arguments travel as one text, inner quotes included
        ForwardCase{R"("prog" "a.xm" "b.xm")", R"(a.xm" "b.xm)"},
        ForwardCase{R"("prog" "")", ""}));

TEST(RawCommandLine, ForwardsEveryPathUnchanged)
{
    const QStringList paths = {
        "/tmp/plain.mod",
        "/tmp/My Mods/with blank.xm",
        R"(/tmp/quote"inside.s3m)",
        "/tmp/Ünïcödé ♫/sóng.xm",
        "/tmp/shell;$(touch x)&|`rm`*.mod",
        "",
    };
    for (const QString& path : paths) {
        const QString raw = CommandLine::RawCommandLine({"/usr/bin/jukarium", path});
        EXPECT_EQ(CommandLine::ForwardedArgument(raw), path) << qPrintable(raw);
    }
}

TEST(RawCommandLine, KeepsOnlyTheFirstArgument)
{
    EXPECT_EQ(CommandLine::RawCommandLine({"prog", "a.xm", "b.xm"}), R"("prog" "a.xm")");
    EXPECT_EQ(CommandLine::RawCommandLine({"prog"}), R"("prog")");
}

TEST(Extensions, CompareInUpperCaseFromTheLastDotOfTheName)
{
    EXPECT_EQ(PathParts::UpperExtension("/m/song.xm"), ".XM");
    EXPECT_EQ(PathParts::UpperExtension("/m/a.b.Mod"), ".MOD");
    EXPECT_EQ(PathParts::UpperExtension("/m.d/song"), "");
    EXPECT_EQ(PathParts::UpperExtension("/m/song."), ".");
    EXPECT_TRUE(PathParts::IsModulePath("/m/x.S3m"));
    EXPECT_TRUE(PathParts::IsModulePath("/m/x.mod"));
    EXPECT_FALSE(PathParts::IsModulePath("/m/x.mod.txt"));
    EXPECT_TRUE(PathParts::IsDiscPath("/d/rock.jkdc"));
    EXPECT_FALSE(PathParts::IsDiscPath("/d.jkdc/rock"));
    EXPECT_EQ(PathParts::FileNamePart("/a/b/fly.mod"), "fly.mod");
    EXPECT_EQ(PathParts::FileNamePart("fly.mod"), "fly.mod");
}

TEST(FirstArgument, IsTheArgumentAfterTheProgram)
{
    EXPECT_EQ(CommandLine::FirstArgument({"prog"}), "");
    EXPECT_EQ(CommandLine::FirstArgument({"prog", "/a b/c.xm", "/d.xm"}), "/a b/c.xm");
}
