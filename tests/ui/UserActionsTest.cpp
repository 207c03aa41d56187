#include "ui/UserActions.h"

#include "platform/ProgramStarter.h"
#include "platform/ShortPath.h"
#include "support/ArgumentRecorder.h"
#include "support/ScriptedMessageBoxes.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// ---- expansion of the command line ----

struct ExpansionCase {
    const char* line;
    const char* expanded;
    bool asksShortForm;
    const char* longPath = "/My Mods/Song One.xm";
};

class ExpansionTest : public ::testing::TestWithParam<ExpansionCase> {};

TEST_P(ExpansionTest, FirstPlaceholderGetsShortOrQuotedLongPath)
{
    int asked = 0;
    const auto shortPath = [&](const QString& path) {
        ++asked;
        EXPECT_EQ(path, GetParam().longPath);
        return QStringLiteral("/short/song.xm");
    };
    EXPECT_EQ(ExpandUserActionCommand(GetParam().line, GetParam().longPath, shortPath),
              GetParam().expanded);
    EXPECT_EQ(asked, GetParam().asksShortForm ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ExpansionTest,
    ::testing::Values(
        ExpansionCase{"/bin/tracker %1", "/bin/tracker /short/song.xm", true},
        ExpansionCase{"/bin/tracker \"%1\"", "/bin/tracker \"/My Mods/Song One.xm\"", false},
        ExpansionCase{"/bin/tracker %1 \"%1\"", "/bin/tracker \"/My Mods/Song One.xm\" \"%1\"",
                      false},
        ExpansionCase{"/bin/tracker \"%1\"", "/bin/tracker \"/short/song.xm\"", true,
                      "/My Mods/x\" ; touch PWNED ; \".mod"},
        ExpansionCase{"/bin/tracker %1 -o %1", "/bin/tracker /short/song.xm -o %1", true},
        ExpansionCase{"/bin/tracker -x", "/bin/tracker -x", false}));

struct FallbackCase {
    const char* line;
    const char* longPath;
    std::optional<QString> expanded;
};

class ExpansionFallbackTest : public ::testing::TestWithParam<FallbackCase> {};

TEST_P(ExpansionFallbackTest, MissingShortFormGivesLongPathAsOneArgumentOrNothing)
{
    const auto noShortForm = [](const QString&) { return QString(); };
    EXPECT_EQ(ExpandUserActionCommand(GetParam().line, GetParam().longPath, noShortForm),
              GetParam().expanded);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ExpansionFallbackTest,
    ::testing::Values(FallbackCase{"prog %1", "/gone/a b.xm", "prog \"/gone/a b.xm\""},
                      FallbackCase{"prog \"-i %1\"", "/gone/a b.xm", "prog \"-i /gone/a b.xm\""},
                      FallbackCase{"prog %1", "/gone/a\" b.xm", std::nullopt},
                      FallbackCase{"prog %1", "", "prog "}));  // no module, no argument

// ---- the whole action against a recording host ----

class FakeHost : public UserActionHost {
public:
    QString CurrentModule() const override { return module; }
    void CloseModule(std::function<void()> then) override
    {
        events << "close";
        module.clear();
        then();
    }
    void SetStatusText(const QString& text) override { events << "status " + text; }
    void RepaintNow() override { events << "repaint"; }
    void After(int ms, std::function<void()> then) override
    {
        events << "sleep " + QString::number(ms);
        then();
    }
    bool StartProgram(const QString& commandLine) override
    {
        events << "start " + commandLine;
        cursorAtStart = ScreenCursor::shape();
        return realStart ? ::StartProgram(commandLine) : startResult;
    }

    QString module = "/mods/song.xm";
    bool realStart = false;
    bool startResult = true;
    CursorShape cursorAtStart = CursorShape::Arrow;
    QStringList events;
};

class RunUserActionTest : public ::testing::Test {
protected:
    QString shownText(int index) const { return m_boxes.shown.at(index).request.text; }

    FakeHost m_host;
    ScriptedMessageBoxes m_boxes;
};

TEST_F(RunUserActionTest, EmptyCommandLineOnlyAsksForOneWithTheActionNumber)
{
    RunUserAction(2, "", true, true, m_host);
    ASSERT_EQ(m_boxes.shown.size(), 1);
    EXPECT_EQ(shownText(0), CJKMessages::InsertArgument(CJKMessages::MessageText(3200), "2"));
    EXPECT_EQ(m_host.events, QStringList({"repaint"}));
    EXPECT_EQ(ScreenCursor::shape(), CursorShape::Arrow);
}

TEST_F(RunUserActionTest, ClosesThenSleepsThenStartsWithThePathTakenBeforeClosing)
{
    RunUserAction(1, "/bin/tracker %1", true, true, m_host);
    EXPECT_EQ(m_host.events,
              QStringList({"repaint", "close", "status Sleeping for 1 second...", "repaint",
                           "sleep 1000", "start /bin/tracker /mods/song.xm",
                           "status Executed \"/bin/tracker /mods/song.xm\""}));
    EXPECT_TRUE(m_boxes.shown.isEmpty());
    EXPECT_EQ(m_host.cursorAtStart, CursorShape::Hourglass);
    EXPECT_EQ(ScreenCursor::shape(), CursorShape::Arrow);
}

TEST_F(RunUserActionTest, WithoutSwitchesStartsAtOnce)
{
    RunUserAction(3, "/bin/tracker", false, false, m_host);
    EXPECT_EQ(m_host.events, QStringList({"repaint", "start /bin/tracker",
                                          "status Executed \"/bin/tracker\""}));
}

TEST_F(RunUserActionTest, FailedStartNamesTheExpandedLine)
{
    m_host.startResult = false;
    RunUserAction(1, "/bin/tracker \"%1\"", false, true, m_host);
    ASSERT_EQ(m_boxes.shown.size(), 1);
    EXPECT_EQ(shownText(0), CJKMessages::InsertArgument(CJKMessages::MessageText(3300),
                                                        "/bin/tracker \"/mods/song.xm\""));
    EXPECT_FALSE(m_host.events.last().startsWith("status"));
    EXPECT_TRUE(m_host.module.isEmpty());
    EXPECT_EQ(ScreenCursor::shape(), CursorShape::Arrow);
}

TEST_F(RunUserActionTest, ModuleThatCannotBeOneArgumentStartsNothing)
{
    // Gone, so it has no alias, and its double quotes cannot stand between quotes.
    m_host.module = "/gone/x\" ; touch PWNED ; \".mod";
    RunUserAction(1, "/bin/tracker \"%1\"", false, false, m_host);
    ASSERT_EQ(m_boxes.shown.size(), 1);
    EXPECT_EQ(shownText(0), CJKMessages::InsertArgument(CJKMessages::MessageText(3300),
                                                        "/bin/tracker \"" + m_host.module + "\""));
    EXPECT_EQ(m_host.events, QStringList({"repaint"}));
}

// ---- the volume control, looked for on a PATH of the test's ----

class VolumeControlTest : public RunUserActionTest {
protected:
    VolumeControlTest() : m_path(qgetenv("PATH")) { qputenv("PATH", m_bin.path().toUtf8()); }
    ~VolumeControlTest() override { qputenv("PATH", m_path); }

    void install(const QString& program)
    {
        QFile file(m_bin.path() + u'/' + program);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        file.setPermissions(file.permissions() | QFile::ExeOwner);
    }

    QTemporaryDir m_bin;
    QByteArray m_path;
};

TEST_F(VolumeControlTest, StoredCommandIsRunAsIsAndAFailedStartIsNamed)
{
    EXPECT_EQ(VolumeCommand("/usr/bin/mixer -s %1"), "/usr/bin/mixer -s %1");
    m_host.startResult = false;
    StartVolumeControl("/usr/bin/mixer -s", m_host);
    EXPECT_EQ(m_host.events, QStringList({"start /usr/bin/mixer -s"}));
    ASSERT_EQ(m_boxes.shown.size(), 1);
    EXPECT_EQ(shownText(0), CJKMessages::InsertArgument(CJKMessages::MessageText(3300),
                                                        "/usr/bin/mixer -s"));
}

TEST_F(VolumeControlTest, WithoutAnyMixerTheBoxNamesThoseLookedFor)
{
    EXPECT_EQ(VolumeCommand(""), "");
    StartVolumeControl("", m_host);
    EXPECT_TRUE(m_host.events.isEmpty());
    ASSERT_EQ(m_boxes.shown.size(), 1);
    EXPECT_EQ(shownText(0),
              "No volume control was found. Jukarium looked for pavucontrol, pavucontrol-qt, "
              "pwvucontrol, gnome-control-center, kmix.\r\n\r\nPlease install one of them, or "
              "choose a program under \"Actions\"-\"Options\".");
}

TEST_F(VolumeControlTest, TheFirstInstalledMixerOfTheListIsStarted)
{
    install("gnome-control-center");
    EXPECT_EQ(VolumeCommand(""), "gnome-control-center sound");
    install("pavucontrol-qt");
    StartVolumeControl("", m_host);
    EXPECT_EQ(m_host.events, QStringList({"start pavucontrol-qt"}));
    EXPECT_TRUE(m_boxes.shown.isEmpty());
}

// ---- real programs on real files ----

class RealUserActionTest : public RunUserActionTest,
                           public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        QDir().mkpath(modules());
        m_host.module = modules() + u'/' + QString::fromUtf8(GetParam());
        QFile file(m_host.module);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        m_host.realStart = true;
        m_previousDirectory = QDir::currentPath();
        QDir::setCurrent(m_temp.path());
    }
    void TearDown() override { QDir::setCurrent(m_previousDirectory); }

    QString modules() const { return m_temp.path() + "/My Mods"; }
    static QString canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }
    static QString folder(const QString& path)
    {
        QDir().mkpath(path);
        return path;
    }

    QTemporaryDir m_temp;
    // In a folder with a blank, named without quotes on the command lines.
    ArgumentRecorder m_recorder{folder(m_temp.path() + "/My Tools")};
    QString m_previousDirectory;
};

TEST_P(RealUserActionTest, ProgramGetsTheModuleAsOneArgumentAndNothingElseRuns)
{
    RunUserAction(1, m_recorder.program() + " %1", false, false, m_host);
    const QStringList arguments = m_recorder.arguments();
    ASSERT_EQ(arguments.size(), 1) << arguments.join(" | ").toStdString();
    EXPECT_EQ(canonical(arguments.first()), canonical(m_host.module));
    EXPECT_EQ(SplitCommandLine(arguments.first()).size(), 1);
    EXPECT_TRUE(m_boxes.shown.isEmpty());
    for (const char* planted : {"x", "y", "PWNED"}) {
        EXPECT_FALSE(QFile::exists(m_temp.path() + u'/' + planted));
        EXPECT_FALSE(QFile::exists(modules() + u'/' + planted));
    }
}

TEST_P(RealUserActionTest, QuotedPlaceholderGivesTheLongPathOrWithADoubleQuoteItsAlias)
{
    RunUserAction(1, m_recorder.program() + " \"%1\"", false, false, m_host);
    const QStringList arguments = m_recorder.arguments();
    ASSERT_EQ(arguments.size(), 1) << arguments.join(" | ").toStdString();
    EXPECT_EQ(canonical(arguments.first()), canonical(m_host.module));
    // A double quote in the long path would end the user's quotes.
    EXPECT_EQ(arguments.first(),
              m_host.module.contains(u'"') ? ShortPathName(m_host.module) : m_host.module);
    EXPECT_TRUE(m_boxes.shown.isEmpty());
}

TEST_P(RealUserActionTest, MissingProgramNamesTheExpandedLine)
{
    RunUserAction(1, m_temp.path() + "/missing %1", false, false, m_host);
    ASSERT_EQ(m_boxes.shown.size(), 1);
    EXPECT_EQ(shownText(0), CJKMessages::InsertArgument(
                                CJKMessages::MessageText(3300),
                                m_temp.path() + "/missing " + ShortPathName(m_host.module)));
}

INSTANTIATE_TEST_SUITE_P(Modules, RealUserActionTest,
                         ::testing::Values("Song One.xm", "a;touch x;.mod", "$(touch y).mod",
                                           "it's `touch x` & (so)!.s3m",
                                           "x\" ; touch PWNED ; \".mod", "\"quoted\".xm",
                                           "odd \"quote.it", "\"\"\t\"\".s3m"));

}  // namespace
