#include "platform/ShortPath.h"

#include "TestFiles.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

const QString kSpecials = QStringLiteral(" \t\n\"'`;$|&<>()*?!\\");

bool isClean(const QString& path)
{
    return std::none_of(path.cbegin(), path.cend(), [](QChar c) { return kSpecials.contains(c); });
}

class ShortPathTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        qputenv("XDG_RUNTIME_DIR", m_runtime);
        qunsetenv("TMPDIR");
    }

    /// A file of the test's directory, made with its directories.
    QString made(const QString& relative) const
    {
        const QString path = m_temp.path() + u'/' + relative;
        EXPECT_TRUE(writeBytes(path, "module"));
        return path;
    }

    static QString canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

    QTemporaryDir m_temp;
    const QByteArray m_runtime = qgetenv("XDG_RUNTIME_DIR");
};

TEST_F(ShortPathTest, CleanPathIsItsOwnShortFormAndMissingFileHasNone)
{
    const QString path = made("mods/song.xm");
    EXPECT_EQ(ShortPathName(path), path);
    EXPECT_EQ(ShortPathName(m_temp.path() + "/mods/gone.xm"), QString());
    EXPECT_EQ(ShortPathName(m_temp.path() + "/My Mods/gone one.xm"), QString());
    EXPECT_EQ(ShortPathName(QString()), QString());
}

TEST_F(ShortPathTest, BlankGivesAliasInPrivateRuntimeDirectoryKeepingTheExtension)
{
    const QString path = made("My Mods/Song One.xm");
    const QString alias = ShortPathName(path);
    const QString directory = QString::fromLocal8Bit(m_runtime) + "/jukarium-short";
    EXPECT_EQ(QFileInfo(alias).path(), directory);
    EXPECT_TRUE(alias.endsWith("-Song_One.xm")) << alias.toStdString();
    EXPECT_TRUE(isClean(alias));
    EXPECT_EQ(canonical(alias), canonical(path));
    EXPECT_EQ(QFileInfo(directory).permissions() & 0077, 0);

    // Stable for the path, distinct for another path with the same file name.
    EXPECT_EQ(ShortPathName(path), alias);
    const QString twin = made("Other Mods/Song One.xm");
    EXPECT_NE(ShortPathName(twin), alias);
    EXPECT_EQ(canonical(ShortPathName(twin)), canonical(twin));
}

TEST_F(ShortPathTest, StaleAliasIsReplaced)
{
    const QString path = made("My Mods/Song One.xm");
    const QString other = made("elsewhere.xm");
    const QString alias = ShortPathName(path);

    ASSERT_TRUE(QFile::remove(alias));
    ASSERT_TRUE(QFile::link(other, alias));
    EXPECT_EQ(ShortPathName(path), alias);
    EXPECT_EQ(canonical(alias), canonical(path));

    ASSERT_TRUE(QFile::remove(alias));
    ASSERT_TRUE(writeBytes(alias, "planted"));
    EXPECT_EQ(ShortPathName(path), alias);
    EXPECT_EQ(canonical(alias), canonical(path));
    EXPECT_EQ(readBytes(path), "module");
}

TEST_F(ShortPathTest, WithoutRuntimeDirectoryAliasGoesToOwnTemporaryDirectory)
{
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
    const QString path = made("My Mods/Song One.xm");
    const QString alias = ShortPathName(path);
    EXPECT_EQ(QFileInfo(alias).path(),
              m_temp.path() + "/jukarium-short-" + QString::number(::getuid()));
    EXPECT_EQ(canonical(alias), canonical(path));
}

class ShortPathSpecialTest : public ShortPathTest,
                             public ::testing::WithParamInterface<const char*> {};

TEST_P(ShortPathSpecialTest, SpecialCharacterGivesCleanAlias)
{
    const QString path = made(QString::fromUtf8(GetParam()));
    const QString alias = ShortPathName(path);
    EXPECT_TRUE(isClean(alias)) << alias.toStdString();
    EXPECT_EQ(canonical(alias), canonical(path));
}

INSTANTIATE_TEST_SUITE_P(Names, ShortPathSpecialTest,
                         ::testing::Values("a;touch x;.mod", "$(touch y).xm", "`id`.s3m",
                                           "it's \"quoted\".xm", "a|b&c<d>e.mod", "why?!*.xm",
                                           "back\\slash.xm", "new\nline.xm", "tab\there.xm",
                                           "dir with blank/plain.xm"));

}  // namespace
