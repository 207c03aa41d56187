#include "platform/ProgramStarter.h"

#include "TestFiles.h"
#include "support/ArgumentRecorder.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char* line;
    QStringList words;
};

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, SplitsAsWindowsDoes)
{
    EXPECT_EQ(SplitCommandLine(QString::fromUtf8(GetParam().line)), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitCommandLineTest,
    ::testing::Values(SplitCase{"", {}}, SplitCase{" \t ", {}},
                      SplitCase{"prog", {"prog"}},
                      SplitCase{"  prog  a\tb  ", {"prog", "a", "b"}},
                      SplitCase{"\"/My Apps/prog\" \"/My Mods/a b.xm\"",
                                {"/My Apps/prog", "/My Mods/a b.xm"}},
                      SplitCase{"a\"b c\"d", {"ab cd"}},
                      SplitCase{"prog \"\" x", {"prog", "", "x"}},
                      SplitCase{"prog \"a \"\"b\"\" c\"", {"prog", "a b c"}},
                      SplitCase{"prog \"open to the end", {"prog", "open to the end"}},
                      SplitCase{"C:\\Apps\\prog.exe a\\b", {"C:\\Apps\\prog.exe", "a\\b"}},
                      SplitCase{"prog ;|$(x)", {"prog", ";|$(x)"}}));

class StartProgramTest : public ::testing::Test {
protected:
    QTemporaryDir m_temp;
    ArgumentRecorder m_recorder{m_temp.path()};
};

TEST_F(StartProgramTest, StartsWithTheWordsAsArgumentsAndNoShell)
{
    ASSERT_TRUE(StartProgram(m_recorder.program() + " one \"two three\" $HOME ;touch x"));
    EXPECT_EQ(m_recorder.arguments(), QStringList({"one", "two three", "$HOME", ";touch", "x"}));
    EXPECT_FALSE(QFile::exists("x"));
}

// A program in a folder with a blank, and beside that folder an executable named by the
// path's first word (".../my"), which a reading that takes the first match would start.
struct BlankFolderCase {
    const char* line;  // "<program>" stands for the recorder's path
    QStringList arguments;
};

class ProgramInBlankFolderTest : public ::testing::TestWithParam<BlankFolderCase> {
protected:
    void SetUp() override
    {
        const QString shorter = m_temp.path() + "/my";
        ASSERT_TRUE(writeBytes(shorter, "#!/bin/sh\n"));
        ASSERT_TRUE(QFile::setPermissions(shorter, QFile::ReadOwner | QFile::ExeOwner));
    }

    static QString folder(const QString& path)
    {
        QDir().mkpath(path);
        return path;
    }

    QTemporaryDir m_temp;
    ArgumentRecorder m_recorder{folder(m_temp.path() + "/my tools")};
};

TEST_P(ProgramInBlankFolderTest, LongestLeadingWordsNamingAProgramAreTheProgram)
{
    QString line = QString::fromUtf8(GetParam().line);
    line.replace("<program>", m_recorder.program());
    ASSERT_TRUE(StartProgram(line));
    EXPECT_EQ(m_recorder.arguments(), GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ProgramInBlankFolderTest,
    ::testing::Values(BlankFolderCase{"<program> one \"two three\"", {"one", "two three"}},
                      BlankFolderCase{"  <program>\tone  two", {"one", "two"}},
                      BlankFolderCase{"\"<program>\" one", {"one"}},
                      // Without arguments the recorder writes one empty line.
                      BlankFolderCase{"<program>", {""}}));

TEST_F(StartProgramTest, ProgramFoundOnThePathStarts)
{
    EXPECT_TRUE(StartProgram("true"));
}

TEST_F(StartProgramTest, NothingToStartIsFailure)
{
    const QString plain = m_temp.path() + "/not-executable";
    ASSERT_TRUE(writeBytes(plain, "#!/bin/sh\n"));
    EXPECT_FALSE(StartProgram(""));
    EXPECT_FALSE(StartProgram("   "));
    EXPECT_FALSE(StartProgram("\"\" arg"));
    EXPECT_FALSE(StartProgram(m_temp.path() + "/missing arg"));
    EXPECT_FALSE(StartProgram("jukarium-no-such-program-anywhere"));
    EXPECT_FALSE(StartProgram(plain));
    EXPECT_FALSE(StartProgram(m_temp.path()));
}

}  // namespace
