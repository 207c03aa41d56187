#include "platform/Registry.h"
#include "platform/WholeFileWriter.h"

#include "TestFiles.h"
#include "TmpfsMount.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr auto kUser = RegistryRoot::CurrentUser;
const QString kKey = QStringLiteral("Software\\Vorn Inc.\\Jukarium\\1.0");

class RegistryTest : public ::testing::Test {
protected:
    void TearDown() override { m_mount.reset(); }

    QString directory() const { return m_temp.path() + "/jukarium"; }
    QString userFile() const { return m_registry.filePath(kUser); }

    /// Mounts a volume of size on directory(); false where this machine does not allow it.
    bool mountVolume(const QString& size)
    {
        m_mount = std::make_unique<TmpfsMount>(directory(), size);
        return m_mount->isMounted();
    }

    QTemporaryDir m_temp;
    Registry m_registry{directory()};
    std::unique_ptr<TmpfsMount> m_mount;
};

TEST_F(RegistryTest, WritesEveryKeyAsItsOwnBlockInExportFormat)
{
    const QString key = "Software\\Vorn";
    ASSERT_TRUE(m_registry.setValue(kUser, key, "Name", RegistryValue::fromString("Jukarium")));
    ASSERT_TRUE(m_registry.setValue(kUser, key, "", RegistryValue::fromString("default")));
    ASSERT_TRUE(m_registry.setValue(kUser, key, "Count", RegistryValue::fromDword(10)));
    ASSERT_TRUE(m_registry.setValue(kUser, key, "Bytes", RegistryValue::fromBinary("\x01\xff")));

    EXPECT_EQ(userFile(), directory() + "/HKEY_CURRENT_USER.reg");
    EXPECT_EQ(readBytes(userFile()),
              "REGEDIT4\n\n[HKEY_CURRENT_USER]\n\n[HKEY_CURRENT_USER\\Software]\n\n"
              "[HKEY_CURRENT_USER\\Software\\Vorn]\n\"Name\"=\"Jukarium\"\n@=\"default\"\n"
              "\"Count\"=dword:0000000a\n\"Bytes\"=hex:01,ff\n\n");
}

TEST_F(RegistryTest, ValuesSurviveAFreshStart)
{
    const QList<RegistryValue> values = {
        RegistryValue::fromString(""),         RegistryValue::fromString("Vorn Jukarium"),
        RegistryValue::fromDword(0xffffffec),  RegistryValue::fromDword(0),
        RegistryValue::fromBinary({}),         RegistryValue::fromBinary(QByteArray("\0\x7f\x80\xff", 4)),
    };
    for (int i = 0; i < values.size(); ++i)
        ASSERT_TRUE(m_registry.setValue(RegistryRoot::ClassesRoot, kKey, QString::number(i), values[i]));

    const Registry next(directory());
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(next.value(RegistryRoot::ClassesRoot, kKey, QString::number(i)), values[i]) << i;
    EXPECT_FALSE(next.keyExists(kUser, kKey)) << "each root is its own file";
}

TEST_F(RegistryTest, NamesMatchWithoutCaseAndKeepTheCaseOfCreation)
{
    ASSERT_TRUE(m_registry.createKey(kUser, "Software\\Vorn"));
    ASSERT_TRUE(m_registry.createKey(kUser, "SOFTWARE\\vorn\\Sub"));
    ASSERT_TRUE(m_registry.setValue(kUser, "software\\VORN", "Volume", RegistryValue::fromDword(1)));
    ASSERT_TRUE(m_registry.setValue(kUser, "Software\\Vorn", "VOLUME", RegistryValue::fromDword(2)));

    const Registry next(directory());
    EXPECT_TRUE(next.keyExists(kUser, "software\\VORN\\sUB"));
    EXPECT_EQ(next.value(kUser, "SOFTWARE\\VORN", "volume"), RegistryValue::fromDword(2));
    const QByteArray file = readBytes(userFile());
    EXPECT_TRUE(file.contains("[HKEY_CURRENT_USER\\Software\\Vorn\\Sub]\n")) << file.constData();
    EXPECT_TRUE(file.contains("\"Volume\"=dword:00000002\n")) << file.constData();
    EXPECT_EQ(file.count("Volume"), 1);
}

// Lookups are hashed: the hash must fold case exactly as the comparison does, beyond ASCII
// and for keys with many values too.
TEST_F(RegistryTest, NamesBeyondAsciiAndInLargeKeysMatchWithoutCase)
{
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(m_registry.setValue(kUser, u"Ärger\\Ωmega"_s, "Name " + QString::number(i),
                                        RegistryValue::fromDword(i)));
    ASSERT_TRUE(m_registry.setValue(kUser, u"ärger\\ωMEGA"_s, u"𐐀 NAME 7"_s, RegistryValue::fromDword(1)));

    const Registry next(directory());
    EXPECT_EQ(next.value(kUser, u"ÄRGER\\ΩMEGA"_s, "name 39"), RegistryValue::fromDword(39));
    EXPECT_EQ(next.value(kUser, u"ärger\\ωmega"_s, u"𐐨 name 7"_s), RegistryValue::fromDword(1));
    EXPECT_EQ(readBytes(userFile()).count("[HKEY_CURRENT_USER\\"), 2);
}

TEST_F(RegistryTest, MissingOrInvalidKeysGiveNothing)
{
    EXPECT_TRUE(m_registry.keyExists(kUser, "")) << "the root always exists";
    ASSERT_TRUE(m_registry.createKey(kUser, kKey));
    EXPECT_TRUE(m_registry.keyExists(kUser, "Software\\Vorn Inc.")) << "parents are created";
    EXPECT_EQ(m_registry.value(kUser, kKey, "Missing"), std::nullopt);
    EXPECT_EQ(m_registry.value(kUser, kKey + "\\Missing", ""), std::nullopt);

    for (const QString invalid : {"A\\\\B", "\\A", "A\\", "A\nB"}) {
        EXPECT_FALSE(m_registry.createKey(kUser, invalid)) << invalid.toStdString();
        EXPECT_FALSE(m_registry.setValue(kUser, invalid, "x", RegistryValue::fromDword(1)));
    }
    EXPECT_FALSE(m_registry.setValue(kUser, kKey, "x", RegistryValue::fromString(QString(QChar(0)))));
}

TEST_F(RegistryTest, HandWrittenFileWithCrLfCommentsAndRepeatedKeysIsRead)
{
    ASSERT_TRUE(writeBytes(userFile(), "REGEDIT4\r\n; by hand\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vorn]\r\n"
                                       "\"Count\"=dword:FFFFFFEC\r\n\"Bytes\"=hex:0A,Ff\r\n"
                                       "[hkey_current_user\\SOFTWARE\\vorn]\r\n@=\"merged\""));
    EXPECT_TRUE(m_registry.keyExists(kUser, "Software"));
    EXPECT_EQ(m_registry.value(kUser, "Software\\Vorn", "count"), RegistryValue::fromDword(0xffffffec));
    EXPECT_EQ(m_registry.value(kUser, "Software\\Vorn", "Bytes"), RegistryValue::fromBinary("\x0a\xff"));
    EXPECT_EQ(m_registry.value(kUser, "Software\\Vorn", ""), RegistryValue::fromString("merged"));
    EXPECT_TRUE(m_registry.setAsideFiles().isEmpty());
}

TEST_F(RegistryTest, AMegabyteValueRoundTrips)
{
    const auto big = RegistryValue::fromString(QString(1 << 20, u'x') + "\"\\\n");
    ASSERT_TRUE(m_registry.setValue(kUser, kKey, "Big", big));
    EXPECT_EQ(Registry(directory()).value(kUser, kKey, "Big"), big);
}

class RegistryEscapeTest : public RegistryTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(RegistryEscapeTest, NameAndTextRoundTrip)
{
    const QString text = QString::fromUtf8(GetParam());
    ASSERT_TRUE(m_registry.setValue(kUser, kKey, text, RegistryValue::fromString(text)));
    ASSERT_TRUE(m_registry.setValue(kUser, kKey, "after", RegistryValue::fromDword(7)));

    const Registry next(directory());
    EXPECT_EQ(next.value(kUser, kKey, text), RegistryValue::fromString(text));
    EXPECT_EQ(next.value(kUser, kKey, "after"), RegistryValue::fromDword(7)) << "lines stay apart";
    EXPECT_TRUE(next.setAsideFiles().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Texts, RegistryEscapeTest,
                         ::testing::Values("say \"hi\"", "C:\\Music\\", "\\\"", "two\nlines", "cr\r\nlf",
                                           "\"=\"", "[HKEY_USERS]", "Jukarium \u266a \u00e4\u00f6", "tab\t"));

struct BadFile {
    const char* name;
    QByteArray bytes;
};

void PrintTo(const BadFile& file, std::ostream* out) { *out << file.name; }

const QByteArray kHead = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n";

class RegistryBadFileTest : public RegistryTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(RegistryBadFileTest, IsSetAsideAndTheRootStartsEmpty)
{
    const QByteArray bytes = GetParam().bytes;
    ASSERT_TRUE(writeBytes(userFile(), bytes));

    EXPECT_FALSE(m_registry.keyExists(kUser, "Software"));
    EXPECT_EQ(m_registry.setAsideFiles(), QStringList{userFile() + ".bad"});
    EXPECT_EQ(readBytes(userFile() + ".bad"), bytes);
    EXPECT_FALSE(QFile::exists(userFile()));

    ASSERT_TRUE(m_registry.setValue(kUser, "Software", "a", RegistryValue::fromDword(1)));
    EXPECT_EQ(Registry(directory()).value(kUser, "Software", "a"), RegistryValue::fromDword(1));
    EXPECT_EQ(readBytes(userFile() + ".bad"), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RegistryBadFileTest,
    ::testing::Values(BadFile{"random", randomBytes()},
                      BadFile{"noHeader", "[HKEY_CURRENT_USER\\Software]\n"},
                      BadFile{"truncatedString", kHead + "\"a\"=\"Juka"},
                      BadFile{"truncatedKey", kHead + "[HKEY_CURRENT_USER\\Soft"},
                      BadFile{"megabyteUnterminated", kHead + "\"a\"=\"" + QByteArray(1 << 20, 'x')},
                      BadFile{"invalidHex", kHead + "\"a\"=hex:01,0g\n"},
                      BadFile{"shortDword", kHead + "\"a\"=dword:123\n"},
                      BadFile{"unknownType", kHead + "\"a\"=hex(2):00\n"},
                      BadFile{"unknownEscape", kHead + "\"a\"=\"\\t\"\n"},
                      BadFile{"invalidUtf8", kHead + "\"a\"=\"\xff\"\n"},
                      BadFile{"nulByte", kHead + QByteArray("\"a\"=\"x\0y\"\n", 11)},
                      BadFile{"valueBeforeKey", "REGEDIT4\n\"a\"=\"b\"\n[HKEY_CURRENT_USER\\Software]\n"},
                      BadFile{"otherRoot", "REGEDIT4\n[HKEY_USERS\\Software]\n"},
                      BadFile{"emptyKeyName", "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\]\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistryTest, ASecondBadFileNeverOverwritesTheFirst)
{
    ASSERT_TRUE(writeBytes(userFile(), "first"));
    EXPECT_FALSE(m_registry.keyExists(kUser, "Software"));
    ASSERT_TRUE(writeBytes(userFile(), "second, longer"));
    EXPECT_FALSE(m_registry.keyExists(kUser, "Software"));

    EXPECT_EQ(m_registry.setAsideFiles(), QStringList({userFile() + ".bad", userFile() + ".bad.1"}));
    EXPECT_EQ(readBytes(userFile() + ".bad"), "first");
    EXPECT_EQ(readBytes(userFile() + ".bad.1"), "second, longer");
}

TEST_F(RegistryTest, FileChangedBehindItsBackIsReadAgain)
{
    ASSERT_TRUE(m_registry.setValue(kUser, kKey, "mine", RegistryValue::fromDword(1)));
    Registry other(directory());
    ASSERT_TRUE(other.setValue(kUser, kKey, "theirs", RegistryValue::fromDword(2)));

    EXPECT_EQ(m_registry.value(kUser, kKey, "theirs"), RegistryValue::fromDword(2));
    ASSERT_TRUE(m_registry.setValue(kUser, kKey, "later", RegistryValue::fromDword(3)));
    EXPECT_EQ(other.value(kUser, kKey, "theirs"), RegistryValue::fromDword(2)) << "a write keeps theirs";
    EXPECT_EQ(other.value(kUser, kKey, "later"), RegistryValue::fromDword(3));

    ASSERT_TRUE(writeBytes(userFile(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Edited]\n"));
    EXPECT_TRUE(m_registry.keyExists(kUser, "edited"));
    EXPECT_FALSE(m_registry.keyExists(kUser, kKey));
    ASSERT_TRUE(QFile::remove(userFile()));
    EXPECT_FALSE(m_registry.keyExists(kUser, "edited"));
}

TEST_F(RegistryTest, WriteToReadOnlyVolumeFailsAndChangesNothing)
{
    if (!mountVolume("1m"))
        GTEST_SKIP() << "cannot mount a tmpfs here";
    ASSERT_TRUE(m_registry.setValue(kUser, kKey, "kept", RegistryValue::fromDword(1)));
    if (!m_mount->makeReadOnly())
        GTEST_SKIP() << "cannot remount the tmpfs read-only";
    const QByteArray before = readBytes(userFile());

    EXPECT_FALSE(m_registry.setValue(kUser, kKey, "kept", RegistryValue::fromDword(2)));
    EXPECT_FALSE(m_registry.createKey(kUser, "Other"));
    EXPECT_EQ(m_registry.value(kUser, kKey, "kept"), RegistryValue::fromDword(1));
    EXPECT_FALSE(m_registry.keyExists(kUser, "Other"));
    EXPECT_EQ(readBytes(userFile()), before);
}

TEST_F(RegistryTest, WriteToFullVolumeFailsAndLeavesNoHalfFile)
{
    if (!mountVolume("64k"))
        GTEST_SKIP() << "cannot mount a tmpfs here";
    ASSERT_TRUE(m_registry.setValue(kUser, kKey, "kept", RegistryValue::fromDword(1)));
    const QByteArray before = readBytes(userFile());

    EXPECT_FALSE(m_registry.setValue(kUser, kKey, "big", RegistryValue::fromString(QString(1 << 20, u'x'))));
    EXPECT_EQ(m_registry.value(kUser, kKey, "big"), std::nullopt);
    EXPECT_EQ(readBytes(userFile()), before);
    EXPECT_EQ(QDir(directory()).entryList(QDir::Files), QStringList{"HKEY_CURRENT_USER.reg"});
}


/// Temporary files in the settings folder, as listed there.
QStringList temporariesIn(const QString& folder)
{
    return QDir(folder).entryList({"*.tmp"}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// Users keep their settings in a repository of their own and link them into place.
TEST_F(RegistryTest, SettingsKeptAsALinkToTheUsersOwnFileAreWrittenThroughIt)
{
    const QString repository = m_temp.path() + "/dotfiles";
    const QString kept = repository + "/jukarium.reg";
    ASSERT_TRUE(writeBytes(kept, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Kept]\n"));
    ASSERT_TRUE(QFile::setPermissions(kept, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                | QFileDevice::ReadGroup));
    ASSERT_TRUE(QDir().mkpath(directory()));
    // Relative, as link managers make them, and through a second link.
    ASSERT_TRUE(makeLink("../dotfiles/jukarium.reg", directory() + "/current.reg"));
    ASSERT_TRUE(makeLink("current.reg", userFile()));
    const std::optional<FileOwnership> before = ownershipOf(kept);

    ASSERT_TRUE(m_registry.setValue(kUser, kKey, "Fadeout", RegistryValue::fromString("5")));
    EXPECT_TRUE(QFileInfo(userFile()).isSymLink());
    EXPECT_EQ(QFileInfo(userFile()).symLinkTarget(), directory() + "/current.reg");
    EXPECT_TRUE(readBytes(kept).contains("[HKEY_CURRENT_USER\\Kept]"));
    EXPECT_TRUE(readBytes(kept).contains("\"Fadeout\"=\"5\""));
    EXPECT_EQ(ownershipOf(kept), before);
    EXPECT_EQ(Registry(directory()).value(kUser, kKey, "Fadeout"), RegistryValue::fromString("5"));
    EXPECT_EQ(QDir(repository).entryList(QDir::Files | QDir::Hidden), QStringList{"jukarium.reg"});
    EXPECT_TRUE(temporariesIn(directory()).isEmpty());
}

enum class Owner { User, AnotherUser, Nobody };

/// The settings file's name is a link whose chain someone else had a hand in: the link, a link
/// further on or the file at the end is another user's, or there is no file at the end.
struct PlantedLink {
    const char* name;
    Owner link;     // at the settings file's name
    Owner between;  // a second link in the chain; Nobody: none
    Owner file;     // at the end; Nobody: the chain leads nowhere
};

void PrintTo(const PlantedLink& link, std::ostream* out) { *out << link.name; }

class RegistryPlantedLinkTest : public RegistryTest, public ::testing::WithParamInterface<PlantedLink> {
protected:
    QString elsewhere() const { return m_temp.path() + "/elsewhere"; }
    QString endFile() const { return elsewhere() + "/settings.reg"; }

    /// Makes what is at path another user's when owner says so; false where that needs a
    /// right this run has not.
    bool own(const QString& path, Owner owner) { return owner != Owner::AnotherUser || giveToAnotherUser(path); }
};

TEST_P(RegistryPlantedLinkTest, IsLeftAloneAndTheWriteFails)
{
    const PlantedLink planted = GetParam();
    ASSERT_TRUE(QDir().mkpath(elsewhere()));
    ASSERT_TRUE(QDir().mkpath(directory()));
    const QByteArray theirs = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Theirs]\n";
    if (planted.file != Owner::Nobody) {
        ASSERT_TRUE(writeBytes(endFile(), theirs));
        ASSERT_TRUE(QFile::setPermissions(endFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    }
    QString first = endFile();
    if (planted.between != Owner::Nobody) {
        first = elsewhere() + "/between.reg";
        ASSERT_TRUE(makeLink(endFile(), first));
    }
    ASSERT_TRUE(makeLink(first, userFile()));
    if (!own(endFile(), planted.file) || !own(first, planted.between) || !own(userFile(), planted.link))
        GTEST_SKIP() << "only root can give files to another user";
    const std::optional<FileOwnership> fileBefore = ownershipOf(endFile());
    const std::optional<FileOwnership> linkBefore = ownershipOf(userFile());

    EXPECT_FALSE(m_registry.setValue(kUser, kKey, "Fadeout", RegistryValue::fromString("5")));
    m_registry.deferWrites();
    EXPECT_TRUE(m_registry.setValue(kUser, kKey, "Fadeout", RegistryValue::fromString("7")));
    EXPECT_EQ(m_registry.commitWrites(), QStringList{userFile()});

    EXPECT_EQ(ownershipOf(userFile()), linkBefore);
    EXPECT_EQ(QFileInfo(userFile()).symLinkTarget(), first);
    EXPECT_EQ(ownershipOf(endFile()), fileBefore);
    EXPECT_EQ(readBytes(endFile()), planted.file == Owner::Nobody ? "(missing)" : theirs);
    EXPECT_TRUE(temporariesIn(directory()).isEmpty());
    EXPECT_TRUE(temporariesIn(elsewhere()).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Links, RegistryPlantedLinkTest,
    ::testing::Values(PlantedLink{"toAnotherUsersFile", Owner::User, Owner::Nobody, Owner::AnotherUser},
                      PlantedLink{"ofAnotherUser", Owner::AnotherUser, Owner::Nobody, Owner::User},
                      PlantedLink{"throughAnotherUsersLink", Owner::User, Owner::AnotherUser, Owner::User},
                      PlantedLink{"dangling", Owner::User, Owner::Nobody, Owner::Nobody}),
    [](const auto& info) { return std::string(info.param.name); });


// A save killed before its end leaves a temporary file as large as the settings.
TEST_F(RegistryTest, AbandonedTemporariesAreRemovedAndNothingElse)
{
    ASSERT_TRUE(QDir().mkpath(directory()));
    const QString prefix = directory() + "/.HKEY_CURRENT_USER.reg.";
    for (const QString& abandoned : {prefix + "0123abcd.tmp", directory() + "/.HKEY_USERS.reg.ffffffff.tmp"})
        ASSERT_TRUE(writeBytes(abandoned, QByteArray(100000, 'x')));
    QStringList kept = {".HKEY_CURRENT_USER.reg.0123ABCD.tmp", ".HKEY_CURRENT_USER.reg.0123abc.tmp",
                        ".HKEY_CURRENT_USER.reg.0123abcde.tmp", ".HKEY_CURRENT_USER.reg.0123abcd.tmp.bak",
                        "HKEY_CURRENT_USER.reg.0123abcd.tmp", ".notes.txt.0123abcd.tmp"};
    for (const QString& name : kept)
        ASSERT_TRUE(writeBytes(directory() + u'/' + name, "not ours to remove"));
    // Named like ours, but a link, and a file of another user.
    const QString elsewhere = m_temp.path() + "/elsewhere.reg";
    ASSERT_TRUE(writeBytes(elsewhere, "linked"));
    ASSERT_TRUE(makeLink(elsewhere, prefix + "00000000.tmp"));
    kept.append(".HKEY_CURRENT_USER.reg.00000000.tmp");
    ASSERT_TRUE(writeBytes(prefix + "22222222.tmp", "another user's"));
    if (giveToAnotherUser(prefix + "22222222.tmp"))
        kept.append(".HKEY_CURRENT_USER.reg.22222222.tmp");
    else
        ASSERT_TRUE(QFile::remove(prefix + "22222222.tmp"));
    // A save under way, here or in another instance, keeps its temporary file.
    WholeFileWriter saving(userFile());
    ASSERT_TRUE(saving.write("REGEDIT4\n\n"));

    EXPECT_EQ(m_registry.removeAbandonedTemporaries(), 2);
    EXPECT_TRUE(saving.commit());
    EXPECT_EQ(readBytes(userFile()), "REGEDIT4\n\n");
    kept.append("HKEY_CURRENT_USER.reg");
    QStringList listed = QDir(directory()).entryList(QDir::Files | QDir::Hidden);
    listed.sort();
    kept.sort();
    EXPECT_EQ(listed, kept);
    EXPECT_EQ(readBytes(elsewhere), "linked");
}
}  // namespace
