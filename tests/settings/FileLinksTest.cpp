#include "platform/Registry.h"
#include "platform/ShortPath.h"
#include "settings/CLassFileLinks.h"
#include "settings/ClassOptions.h"
#include "settings/MimeAppsList.h"
#include "platform/audio/ModuleTypes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr auto kClasses = RegistryRoot::ClassesRoot;

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QStringList lines(const QString& path)
{
    return QString::fromUtf8(readBytes(path)).split(u'\n', Qt::SkipEmptyParts);
}

/// The base class with its constructor opened up; the program only uses it through
/// CLassFileLinks.
class PathWriter : public CRegistryStatus {
public:
    PathWriter(Registry& registry, QStringList& shown)
        : CRegistryStatus(registry, [&shown](const QString& text) { shown.append(text); })
    {
    }
};

// ---- registry paths ---------------------------------------------------------------------

struct PathCase {
    const char* path;
    RegistryRoot root;
    const char* keyPath;
    const char* valueName;
};

class RegistryPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(RegistryPathTest, SplitsIntoRootKeyAndValueName)
{
    QTemporaryDir dir;
    Registry registry(dir.path());
    QStringList shown;
    PathWriter writer(registry, shown);
    const PathCase& c = GetParam();

    EXPECT_EQ(writer.GetKeyStart(c.path), c.root);
    EXPECT_EQ(CRegistryStatus::GetKeyPath(c.path), c.keyPath);
    EXPECT_EQ(CRegistryStatus::GetValueName(c.path), c.valueName);
    EXPECT_TRUE(shown.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Paths, RegistryPathTest,
    ::testing::Values(
        PathCase{"HKCR\\.MOD\\", RegistryRoot::ClassesRoot, ".MOD", ""},
        PathCase{"HKCR\\Jukarium.Module\\Shell\\Open\\Command\\", RegistryRoot::ClassesRoot,
                 "Jukarium.Module\\Shell\\Open\\Command", ""},
        PathCase{"HKCU\\Software\\Test\\Level", RegistryRoot::CurrentUser, "Software\\Test",
                 "Level"},
        // Values directly below a root cannot be named: this is the root's default value.
        PathCase{"HKCU\\Name", RegistryRoot::CurrentUser, "", ""},
        PathCase{"HKLM\\Key\\\\", RegistryRoot::LocalMachine, "Key\\", ""},
        PathCase{"HKUS/.DEFAULT\\Value", RegistryRoot::Users, ".DEFAULT", "Value"},
        PathCase{"HKCR", RegistryRoot::ClassesRoot, "", ""}));

class RegistryStatusTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Registry registry{dir.path() + "/registry"};
    QStringList shown;
    PathWriter writer{registry, shown};
};

TEST_F(RegistryStatusTest, WritesTheDefaultOrNamedValueOfTheKey)
{
    EXPECT_TRUE(writer.WriteString("HKCR\\.MOD\\", "Jukarium.Module"));
    EXPECT_TRUE(writer.WriteString("HKCU\\Software\\Test\\Level", "7"));
    EXPECT_TRUE(writer.WriteString("HKCU\\Name", "at the root"));

    const Registry reread(dir.path() + "/registry");
    EXPECT_EQ(reread.value(kClasses, ".MOD", ""), RegistryValue::fromString("Jukarium.Module"));
    EXPECT_EQ(reread.value(RegistryRoot::CurrentUser, "Software\\Test", "Level"),
              RegistryValue::fromString("7"));
    EXPECT_EQ(reread.value(RegistryRoot::CurrentUser, "", ""),
              RegistryValue::fromString("at the root"));
    EXPECT_FALSE(reread.value(RegistryRoot::CurrentUser, "", "Name"));
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(RegistryStatusTest, UnknownPrefixIsShownAndWritesNothing)
{
    EXPECT_FALSE(writer.WriteString("hkcu\\Software\\Test\\Level", "7"));
    EXPECT_FALSE(writer.WriteValue("HKXY\\Key\\", "data", 0, 4));

    EXPECT_EQ(shown, QStringList({"GetKeyStart says: BAD Argument of hkcu",
                                  "GetKeyStart says: BAD Argument of HKXY"}));
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "/registry"));
}

TEST_F(RegistryStatusTest, KindOneIsAStringAnyOtherKindBinaryCutToLength)
{
    EXPECT_TRUE(writer.WriteValue("HKCU\\Kinds\\Text", "abcdef", CRegistryStatus::kStringKind, 3));
    EXPECT_TRUE(writer.WriteValue("HKCU\\Kinds\\Bytes", QByteArray("\0\xff\x01", 3), 3, 2));

    EXPECT_EQ(registry.value(RegistryRoot::CurrentUser, "Kinds", "Text"),
              RegistryValue::fromString("abc"));
    EXPECT_EQ(registry.value(RegistryRoot::CurrentUser, "Kinds", "Bytes"),
              RegistryValue::fromBinary(QByteArray("\0\xff", 2)));
}

TEST_F(RegistryStatusTest, RegistryThatCannotBeWrittenFailsWithoutAMessage)
{
    writeBytes(dir.path() + "/blocked", "a file where a directory should be");
    Registry blocked(dir.path() + "/blocked/registry");
    PathWriter blockedWriter(blocked, shown);

    EXPECT_FALSE(blockedWriter.WriteString("HKCR\\.MOD\\", "Jukarium.Module"));
    EXPECT_TRUE(shown.isEmpty());
}

// ---- file type associations -------------------------------------------------------------

struct Entry {
    QString key;
    QString value;
};

class FileLinksTest : public ::testing::Test {
protected:
    FileLinksTest()
    {
        desktop.dataHome = dir.path() + "/data";
        desktop.configHome = dir.path() + "/config";
        desktop.configDirs = {dir.path() + "/system-config"};
        desktop.dataDirs = {dir.path() + "/system"};
    }

    void link(const QString& programPath) { CLassFileLinks links(registry, programPath, desktop); }

    static QList<Entry> expectedEntries(const QString& program)
    {
        const QString command = program + " \"%1\"";
        return {{".MOD", "Jukarium.Module"},
                {".S3M", "Jukarium.Module"},
                {".XM", "Jukarium.Module"},
                {".JKDC", "Jukarium.Disc"},
                {"Jukarium.Module", "Jukarium Module"},
                {"Jukarium.Module\\Shell\\Open\\Command", command},
                {"Jukarium.Module\\DefaultIcon", program + ",0"},
                {"Jukarium.Disc", "Jukarium Disc"},
                {"Jukarium.Disc\\Shell\\Open\\Command", command},
                {"Jukarium.Disc\\DefaultIcon", program + ",0"}};
    }

    /// The defaults set for the module types of our own (those after the disc), each line
    /// ending in lineEnd.
    static QString ownTypeDefaults(const QString& lineEnd)
    {
        const QStringList& types = DesktopFileLinks::MimeTypes();
        QString defaults;
        for (qsizetype i = types.indexOf("application/x-jukarium-disc") + 1; i < types.size(); ++i)
            defaults += types[i] + "=jukarium.desktop;" + lineEnd;
        return defaults;
    }

    QString desktopEntry() const { return desktop.dataHome + "/applications/jukarium.desktop"; }
    QString mimePackage() const { return desktop.dataHome + "/mime/packages/jukarium.xml"; }
    QString mimeApps() const { return desktop.configHome + "/mimeapps.list"; }
    QString themedIcon() const
    {
        return desktop.dataHome + "/icons/hicolor/scalable/apps/jukarium.svg";
    }

    QTemporaryDir dir;
    Registry registry{dir.path() + "/registry"};
    DesktopLocations desktop;
    const QString program = "/opt/jukarium/bin/jukarium";
};

TEST_F(FileLinksTest, WritesTheTenClassEntriesInOrder)
{
    link(program);

    const QString file = QString::fromUtf8(readBytes(registry.filePath(kClasses)));
    const Registry reread(dir.path() + "/registry");
    qsizetype previous = -1;
    for (const Entry& entry : expectedEntries(program)) {
        SCOPED_TRACE(entry.key.toStdString());
        EXPECT_EQ(reread.value(kClasses, entry.key, ""), RegistryValue::fromString(entry.value));
        const qsizetype at = file.indexOf("[HKEY_CLASSES_ROOT\\" + entry.key + "]\n@=");
        EXPECT_GT(at, previous);
        previous = at;
    }
}

TEST_F(FileLinksTest, ProgramWithBlanksIsRegisteredByItsShortFormWhereItHasOne)
{
    const QString withBlank = dir.path() + "/My Programs/jukarium";
    writeBytes(withBlank, "#!/bin/sh\n");
    const QString shortForm = ShortPathName(withBlank);
    ASSERT_FALSE(shortForm.isEmpty());
    ASSERT_FALSE(shortForm.contains(u' '));

    link(withBlank);

    EXPECT_EQ(registry.value(kClasses, "Jukarium.Disc\\Shell\\Open\\Command", ""),
              RegistryValue::fromString(shortForm + " \"%1\""));
    // The desktop gets the real path: aliases do not outlive the session.
    EXPECT_TRUE(lines(desktopEntry()).contains("Exec=\"" + withBlank + "\" %f"));

    const QString missing = dir.path() + "/gone away/jukarium";  // no file, so no alias
    link(missing);
    EXPECT_EQ(registry.value(kClasses, "Jukarium.Module\\DefaultIcon", ""),
              RegistryValue::fromString(missing + ",0"));
}

TEST_F(FileLinksTest, EntriesChangedBySomeoneElseAreOverwrittenNextTime)
{
    link(program);
    registry.setValue(kClasses, ".XM", "", RegistryValue::fromString("Other.Player"));
    registry.setValue(kClasses, "Jukarium.Module\\Shell\\Open\\Command", "",
                      RegistryValue::fromString("other \"%1\""));
    writeBytes(desktopEntry(), "[Desktop Entry]\nExec=other %f\n");
    writeBytes(mimeApps(), "[Default Applications]\naudio/x-xm=other.desktop\n");

    link(program);

    EXPECT_EQ(registry.value(kClasses, ".XM", ""), RegistryValue::fromString("Jukarium.Module"));
    EXPECT_EQ(registry.value(kClasses, "Jukarium.Module\\Shell\\Open\\Command", ""),
              RegistryValue::fromString(program + " \"%1\""));
    EXPECT_TRUE(lines(desktopEntry()).contains("Exec=" + program + " %f"));
    // A default the user chose is no entry of ours: it stays.
    EXPECT_TRUE(lines(mimeApps()).contains("audio/x-xm=other.desktop"));
}

TEST_F(FileLinksTest, DefaultsChosenBeforeStayAndTheUsersListKeepsEveryByte)
{
    writeBytes(mimeApps(), "# my players\r\n"
                           "[Default Applications]\r\n"
                           "audio/x-mod = vlc.desktop;\r\n"
                           "\r\n"
                           "[Added Associations]\r\n"
                           "audio/x-xm=mpv.desktop;");
    writeBytes(desktop.configDirs.first() + "/mimeapps.list",
               "[Default Applications]\naudio/x-s3m=mpv.desktop;\n");
    desktop.desktops = {"xfce"};
    writeBytes(desktop.dataDirs.first() + "/applications/xfce-mimeapps.list",
               "[Default Applications]\napplication/x-jukarium-disc=other.desktop;\n");

    link(program);

    EXPECT_EQ(readBytes(mimeApps()), "# my players\r\n"
                                     "[Default Applications]\r\n"
                                     "audio/x-mod = vlc.desktop;\r\n"
                                     "audio/x-xm=jukarium.desktop;\r\n"
                                     "audio/x-it=jukarium.desktop;\r\n"
                                     "audio/x-stm=jukarium.desktop;\r\n"
                                     "audio/x-mo3=jukarium.desktop;\r\n"
                                     + ownTypeDefaults("\r\n") + "\r\n"
                                     "[Added Associations]\r\n"
                                     "audio/x-xm=mpv.desktop;");
}

TEST_F(FileLinksTest, WritesDesktopEntryMimeDescriptionAndDefaults)
{
    link(program);

    const QStringList entry = lines(desktopEntry());
    EXPECT_EQ(entry.value(0), "[Desktop Entry]");
    for (const char* line : {"Type=Application", "Name=Jukarium", "Exec=/opt/jukarium/bin/jukarium %f",
                             "Icon=jukarium", "Categories=AudioVideo;Audio;Player;",
                             "Exec=/opt/jukarium/bin/jukarium --play-pause", "Exec=/opt/jukarium/bin/jukarium --next",
                             "Exec=/opt/jukarium/bin/jukarium --stop"})
        EXPECT_TRUE(entry.contains(line)) << line;

    const QByteArray mime = readBytes(mimePackage());
    EXPECT_EQ(mime, readBytes(":/jukarium/jukarium-mime.xml"));
    for (const char* part : {"<mime-type type=\"application/x-jukarium-disc\">",
                             "<glob pattern=\"*.jkdc\"/>", "<glob pattern=\"*.mod\"/>",
                             "<glob pattern=\"*.s3m\"/>", "<glob pattern=\"*.xm\"/>",
                             "<glob pattern=\"*.it\"/>"})
        EXPECT_TRUE(mime.contains(part)) << part;
    EXPECT_FALSE(mime.contains("case-sensitive")) << "globs must match in any case";

    EXPECT_EQ(lines(mimeApps()), QStringList({"[Default Applications]",
                                              "audio/x-mod=jukarium.desktop;",
                                              "audio/x-s3m=jukarium.desktop;",
                                              "audio/x-xm=jukarium.desktop;",
                                              "audio/x-it=jukarium.desktop;",
                                              "audio/x-stm=jukarium.desktop;",
                                              "audio/x-mo3=jukarium.desktop;",
                                              "application/x-jukarium-disc=jukarium.desktop;"})
                                     + ownTypeDefaults("\n").split('\n', Qt::SkipEmptyParts));

    if (QStandardPaths::findExecutable("update-mime-database").isEmpty())
        GTEST_SKIP() << "update-mime-database is not installed: the database is not checked";
    const QByteArray globs = readBytes(desktop.dataHome + "/mime/globs2");
    EXPECT_TRUE(globs.contains("application/x-jukarium-disc:*.jkdc")) << globs.constData();
}

TEST_F(FileLinksTest, UnchangedFilesAreNotRewritten)
{
    link(program);
    const QDateTime old = QDateTime::fromSecsSinceEpoch(1000000000);
    for (const QString& path : {themedIcon(), desktopEntry(), mimePackage(), mimeApps()}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    }

    link(program);
    for (const QString& path : {themedIcon(), desktopEntry(), mimePackage(), mimeApps()})
        EXPECT_EQ(QFileInfo(path).lastModified(), old) << path.toStdString();

    link("/usr/games/jukarium");
    EXPECT_NE(QFileInfo(desktopEntry()).lastModified(), old);
    EXPECT_EQ(QFileInfo(mimeApps()).lastModified(), old);
}

TEST_F(FileLinksTest, ExecQuotesAndEscapesReservedCharacters)
{
    link("/opt/a$b 100%/jukarium");
    // Quoted with "$" escaped, then "\" doubled as in every desktop entry string; "%" doubled.
    EXPECT_TRUE(lines(desktopEntry()).contains("Exec=\"/opt/a\\\\$b 100%%/jukarium\" %f"));
}

TEST_F(FileLinksTest, IconIsInstalledInTheUsersThemeWithTheEntry)
{
    // As from a build tree: no icon theme holds our icon, nor is one installed beside us.
    link(dir.path() + "/build/jukarium");

    EXPECT_TRUE(lines(desktopEntry()).contains("Icon=jukarium"));
    const QByteArray icon = readBytes(themedIcon());
    EXPECT_TRUE(icon.contains("<svg")) << themedIcon().toStdString();
    EXPECT_EQ(icon, readBytes(":/jukarium/jukarium.svg"));
}

TEST_F(FileLinksTest, DesktopAsksForUsAsTheDefault)
{
    const QString xdgMime = QStandardPaths::findExecutable("xdg-mime");
    if (xdgMime.isEmpty())
        GTEST_SKIP() << "xdg-mime is not installed (package xdg-utils)";
    // xdg-mime accepts only a desktop entry whose program exists.
    link(QCoreApplication::applicationFilePath());

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", desktop.dataHome);
    environment.insert("XDG_CONFIG_HOME", desktop.configHome);
    environment.insert("XDG_DATA_DIRS", desktop.dataDirs.first());
    environment.insert("XDG_CONFIG_DIRS", desktop.configDirs.first());
    for (const char* variable : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                                 "GNOME_DESKTOP_SESSION_ID"})
        environment.remove(variable);
    QProcess query;
    query.setProcessEnvironment(environment);
    query.start(xdgMime, {"query", "default", "audio/x-xm"});
    ASSERT_TRUE(query.waitForFinished());
    EXPECT_EQ(query.readAllStandardOutput().trimmed(), "jukarium.desktop");
}

TEST(FileLinksAtExit, OptionsStoreRegistersTheRunningProgram)
{
    QTemporaryDir dir;
    Registry registry(dir.path());
    { ClassOptions options(registry); }

    const QString program = ShortPathName(QCoreApplication::applicationFilePath());
    EXPECT_EQ(registry.value(kClasses, "Jukarium.Module\\Shell\\Open\\Command", ""),
              RegistryValue::fromString(program + " \"%1\""));
    const QString entry =
        DesktopLocations::fromEnvironment().dataHome + "/applications/jukarium.desktop";
    EXPECT_TRUE(QString::fromUtf8(readBytes(entry)).contains(QCoreApplication::applicationFilePath()));
}

// ---- mimeapps.list ----------------------------------------------------------------------

const QStringList kTypes = {"audio/x-xm", "audio/x-mod"};

TEST(MimeAppsListTest, KeepsEveryOtherLineInPlace)
{
    const QByteArray list = "# mine\n"
                            "[Added Associations]\n"
                            "audio/x-xm=vlc.desktop;\n"
                            "\n"
                            "[Default Applications]\n"
                            "text/plain=gedit.desktop\n"
                            "audio/x-xm = vlc.desktop;jukarium.desktop;mpv.desktop\n"
                            "\n"
                            "[Other]\n"
                            "no equals sign here";
    EXPECT_EQ(WithDefaultApplication(list, kTypes, "jukarium.desktop"),
              "# mine\n"
              "[Added Associations]\n"
              "audio/x-xm=vlc.desktop;\n"
              "\n"
              "[Default Applications]\n"
              "text/plain=gedit.desktop\n"
              "audio/x-xm = vlc.desktop;jukarium.desktop;mpv.desktop\n"
              "audio/x-mod=jukarium.desktop;\n"
              "\n"
              "[Other]\n"
              "no equals sign here");
}

TEST(MimeAppsListTest, MissingSectionIsAddedAfterABlankLineAndTheResultIsStable)
{
    const QByteArray list = "[Added Associations]\naudio/x-mod=vlc.desktop;\n";
    const QByteArray merged = WithDefaultApplication(list, kTypes, "jukarium.desktop");
    EXPECT_EQ(merged, list + "\n[Default Applications]\naudio/x-xm=jukarium.desktop;\n"
                             "audio/x-mod=jukarium.desktop;\n");
    EXPECT_EQ(WithDefaultApplication(merged, kTypes, "jukarium.desktop"), merged);
    EXPECT_EQ(WithDefaultApplication("", kTypes, "jukarium.desktop"),
              "[Default Applications]\naudio/x-xm=jukarium.desktop;\n"
              "audio/x-mod=jukarium.desktop;\n");
}

TEST(MimeAppsListTest, ListThatNamesEveryTypeIsReturnedAsItIs)
{
    // Blanks, CR LF, a byte that is no UTF-8, an empty choice and no line end at the end.
    const QByteArray list = "[Default Applications]\r\n"
                            "  audio/x-mod\t= vlc.desktop\r\n"
                            "# caf\xe9\r\n"
                            "audio/x-xm=\r\n"
                            "   ";
    EXPECT_EQ(WithDefaultApplication(list, kTypes, "jukarium.desktop"), list);
}

TEST_F(FileLinksTest, UsersMimeAppsListKeepsItsOtherLines)
{
    writeBytes(mimeApps(), "[Default Applications]\ntext/plain=gedit.desktop\n\n"
                           "[Added Associations]\nimage/png=gimp.desktop;\n");
    link(program);
    EXPECT_EQ(lines(mimeApps()), QStringList({"[Default Applications]",
                                              "text/plain=gedit.desktop",
                                              "audio/x-mod=jukarium.desktop;",
                                              "audio/x-s3m=jukarium.desktop;",
                                              "audio/x-xm=jukarium.desktop;",
                                              "audio/x-it=jukarium.desktop;",
                                              "audio/x-stm=jukarium.desktop;",
                                              "audio/x-mo3=jukarium.desktop;",
                                              "application/x-jukarium-disc=jukarium.desktop;"})
                                     + ownTypeDefaults("\n").split('\n', Qt::SkipEmptyParts)
                                     + QStringList({"[Added Associations]", "image/png=gimp.desktop;"}));
}

}  // namespace

namespace {

/// Every match of pattern's first group in the file of resources/ called name.
QStringList resourceMatches(const QString& name, const QString& pattern)
{
    QFile file(QStringLiteral(JK_RESOURCES_DIR "/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(name);
    const QString text = QString::fromUtf8(file.readAll());
    QStringList found;
    for (auto match = QRegularExpression(pattern).globalMatch(text); match.hasNext();)
        found << match.next().captured(1);
    return found;
}

TEST(DesktopFilesTest, EveryModuleTypeIsDescribedOfferedAndProvided)
{
    const QStringList offered = DesktopFileLinks::MimeTypes();
    QStringList described = resourceMatches("jukarium-mime.xml", R"re(<mime-type type="([^"]+)")re");
    QStringList provided = resourceMatches("com.vorn.jukarium.metainfo.xml", "<mediatype>([^<]+)</mediatype>");
    EXPECT_EQ(provided, offered);
    described.sort();
    QStringList sortedOffered = offered;
    sortedOffered.sort();
    EXPECT_EQ(described, sortedOffered);

    // A file manager offers the jukebox for every file it plays: ".ppm" (PowerPacker) alone is
    // left to the desktop's portable pixmap.
    const QStringList globs = resourceMatches("jukarium-mime.xml", R"re(<glob pattern="\*\.([^"]+)")re");
    for (const QString& extension : ModuleTypes::UpperExtensions()) {
        if (extension != ".PPM") {
            EXPECT_TRUE(globs.contains(extension.mid(1).toLower())) << qPrintable(extension);
        }
    }
}

}  // namespace
