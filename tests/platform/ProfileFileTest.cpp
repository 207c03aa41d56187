#include "platform/ProfileFile.h"

#include "TestFiles.h"
#include "TmpfsMount.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    void TearDown() override { m_mount.reset(); }

    QString path() const { return m_temp.path() + "/disc.jkdc"; }

    /// The profile of a file that holds bytes.
    ProfileFile loaded(const QByteArray& bytes)
    {
        EXPECT_TRUE(writeBytes(path(), bytes));
        ProfileFile profile(path());
        EXPECT_TRUE(profile.load());
        return profile;
    }

    QTemporaryDir m_temp;
    std::unique_ptr<TmpfsMount> m_mount;
};

TEST_F(ProfileFileTest, NewFileHasItsSectionsInOrderWithCrLf)
{
    ProfileFile profile(path());
    EXPECT_FALSE(profile.load());
    profile.writeString("GeNeRaL", "App", "Vorn Jukarium");
    profile.writeString("FiLeS", "1.File", " ");
    profile.writeString("general", "Ver", "1.0");
    profile.writeString("FiLeS", "1.Desc", "two\r\nlines");
    ASSERT_TRUE(profile.save());

    EXPECT_EQ(readBytes(path()), "[GeNeRaL]\r\nApp=Vorn Jukarium\r\nVer=1.0\r\n\r\n"
                                 "[FiLeS]\r\n1.File= \r\n1.Desc=two  lines\r\n");
    EXPECT_EQ(loaded(readBytes(path())).readString("files", "1.FILE", "fallback"), "");
}

TEST_F(ProfileFileTest, RewriteKeepsForeignLinesAndPlacesNewKeysInTheirSection)
{
    ProfileFile profile = loaded("; comment\r\n[GeNeRaL]\r\nApp = \"old\"\r\nForeign=\xe9t\xe9 \t\r\n\r\n"
                                 "[Other]\r\nx=\0y\r\n[FiLeS]\n1.File=old\r\n"_ba);
    profile.writeString("general", "app", "Vorn Jukarium");
    profile.writeString("GENERAL", "Desc", "Jukarium Disc file");
    profile.writeString("files", "1.File", "new");
    profile.writeString("DiSCS", "First", "(no disc selected)");
    ASSERT_TRUE(profile.save());

    EXPECT_EQ(readBytes(path()), "; comment\r\n[GeNeRaL]\r\napp=Vorn Jukarium\r\nForeign=\xe9t\xe9 \t\r\n"
                                 "Desc=Jukarium Disc file\r\n\r\n[Other]\r\nx=\0y\r\n[FiLeS]\r\n"
                                 "1.File=new\r\n\r\n[DiSCS]\r\nFirst=(no disc selected)\r\n"_ba);
}

TEST_F(ProfileFileTest, FirstMatchWinsAndMissingGivesFallback)
{
    const ProfileFile profile = loaded("key=outside\r\n[A]\r\nnoEquals\r\nkey=first\r\nKEY=second\r\n"
                                       "[a]\r\nkey=third\r\n");
    EXPECT_EQ(profile.readString(" a ", "Key"), "first");
    EXPECT_EQ(profile.readString("A", "noEquals", "fallback"), "fallback");
    EXPECT_EQ(profile.readString("A", "missing", "fallback"), "fallback");
    EXPECT_EQ(profile.readString("B", "key", "fallback"), "fallback");
}

struct ValueCase {
    QByteArray line;
    QString value;
};

void PrintTo(const ValueCase& c, std::ostream* out) { *out << c.line.toStdString(); }

class ProfileValueTest : public ProfileFileTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(ProfileValueTest, IsReadWithBlanksAndOnePairOfQuotesRemoved)
{
    const ProfileFile profile = loaded("[Section]\r\n" + GetParam().line + "\r\n");
    EXPECT_EQ(profile.readString("SECTION", "key", "fallback"), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ProfileValueTest,
    ::testing::Values(ValueCase{"Key=value", "value"}, ValueCase{" \tKEY \t=  spaced out \t", "spaced out"},
                      ValueCase{"key=\"double\"", "double"}, ValueCase{"key='single'", "single"},
                      ValueCase{"key=\" kept \"", " kept "}, ValueCase{"key=\"\"twice\"\"", "\"twice\""},
                      ValueCase{"key=\"mixed'", "\"mixed'"}, ValueCase{"key=\"", "\""},
                      ValueCase{"key=''", ""}, ValueCase{"key=", ""}, ValueCase{"key=a=b", "a=b"},
                      ValueCase{"key=caf\xc3\xa9", u"caf\u00e9"_s}, ValueCase{"key=caf\xe9", u"caf\u00e9"_s},
                      ValueCase{"key=" + QByteArray(1023, 'x'), QString(1023, u'x')},
                      ValueCase{"key=" + QByteArray(1024, 'x'), QString(1023, u'x')},
                      ValueCase{"key=\"" + QByteArray(1023, 'x') + "\"", QString(1023, u'x')}));

TEST_F(ProfileFileTest, LoadFailureLeavesAnEmptyProfile)
{
    ProfileFile profile = loaded("[S]\r\nkey=old\r\n");
    ASSERT_TRUE(QFile::remove(path()));
    EXPECT_FALSE(profile.load());
    EXPECT_EQ(profile.readString("S", "key", "fallback"), "fallback");
    profile.writeString("S", "new", "1");
    ASSERT_TRUE(profile.save());
    EXPECT_EQ(readBytes(path()), "[S]\r\nnew=1\r\n");

    EXPECT_FALSE(ProfileFile(m_temp.path()).load()) << "a directory";
}

TEST_F(ProfileFileTest, RandomBytesAreLinesLikeAnyOther)
{
    const QByteArray bytes = randomBytes();
    ProfileFile profile = loaded(bytes);
    profile.writeString("Jukarium", "key", "value");
    ASSERT_TRUE(profile.save());
    EXPECT_EQ(loaded(readBytes(path())).readString("Jukarium", "key"), "value");
}

TEST_F(ProfileFileTest, SaveOnFullOrReadOnlyVolumeFailsAndKeepsTheOldFile)
{
    m_mount = std::make_unique<TmpfsMount>(m_temp.path(), "64k");
    if (!m_mount->isMounted())
        GTEST_SKIP() << "cannot mount a tmpfs here";
    ProfileFile profile = loaded("[S]\r\nkey=old\r\n");

    profile.writeString("S", "key", QString(1 << 20, u'x'));
    EXPECT_FALSE(profile.save()) << "full";
    EXPECT_EQ(readBytes(path()), "[S]\r\nkey=old\r\n");
    EXPECT_EQ(QDir(m_temp.path()).entryList(QDir::Files), QStringList{"disc.jkdc"});

    if (!m_mount->makeReadOnly())
        GTEST_SKIP() << "cannot remount the tmpfs read-only";
    profile.writeString("S", "key", "new");
    EXPECT_FALSE(profile.save()) << "read-only";
    EXPECT_EQ(readBytes(path()), "[S]\r\nkey=old\r\n");
    EXPECT_FALSE(ProfileFile(m_temp.path() + "/missing/disc.jkdc").save());
}

}  // namespace
