// The about window (credits rolling upward only while shown, bold title lines, the background
// double click) and the help (every context number's page and anchor, the help window, F1).
// Set JK_GRAB_DIR to a directory to keep pictures of the windows as a user sees them.
#include "controls/TBanner.h"
#include "ui/F1Help.h"
#include "ui/HelpContexts.h"
#include "ui/TAboutWindow.h"
#include "ui/THelpWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

void keepPicture(QWidget& widget, const char* name)
{
    const QString dir = qEnvironmentVariable("JK_GRAB_DIR");
    if (!dir.isEmpty())
        widget.grab().save(dir + '/' + QLatin1String(name));
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The anchors a page defines, through id= or name=.
QSet<QString> anchorsOf(const QString& pagePath)
{
    static const QRegularExpression anchor(QStringLiteral(R"re(\b(?:id|name)\s*=\s*"([^"]+)")re"));
    QSet<QString> found;
    for (const auto& match : anchor.globalMatch(QString::fromUtf8(readFile(pagePath))))
        found.insert(match.captured(1));
    return found;
}

// Whether "page.html#anchor" names an existing page and, if given, an anchor on it.
::testing::AssertionResult pageExists(const QString& page)
{
    const QString file = page.section('#', 0, 0);
    const QString anchor = page.section('#', 1);
    const QString path = THelpWindow::HelpDirectory() + '/' + file;
    if (!QFile::exists(path))
        return ::testing::AssertionFailure() << "no page " << file.toStdString();
    if (!anchor.isEmpty() && !anchorsOf(path).contains(anchor))
        return ::testing::AssertionFailure() << "no anchor " << page.toStdString();
    return ::testing::AssertionSuccess();
}

}  // namespace

// About window -----------------------------------------------------------------------------

class AboutWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        about.SetMessageBox([this](const QString& text) { messages.append(text); });
    }

    template <typename T>
    T* child(const char* name) const
    {
        T* found = about.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    TBanner& banner() const { return *child<TBanner>("Banner1"); }

    TAboutWindow about;
    QStringList messages;
};

TEST_F(AboutWindowTest, FormHoldsItsControlsAndCreditsSetToRollUpwardWithoutGap)
{
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.size(), QSize(320, 316));
    EXPECT_EQ(child<QLabel>("staCompany")->text(), "Vorn Jukarium 1.0");
    EXPECT_FALSE(child<QLabel>("staTagline")->text().isEmpty());
    EXPECT_EQ(child<QFrame>("panBanner")->geometry(), QRect(120, 84, 193, 121));
    EXPECT_EQ(banner().parentWidget(), child<QFrame>("panBanner"));
    EXPECT_FALSE(banner().Lines().isEmpty());
    EXPECT_EQ(banner().LinesAlign(), TAlignment::taLeftJustify);
    EXPECT_EQ(banner().ScrollDirection(), TScrollDirection::sdBottomToTop);
    EXPECT_TRUE(banner().NoGap());
    EXPECT_FALSE(banner().AutoEnable());
    EXPECT_EQ(banner().ScrollInterval(), 150);
    EXPECT_EQ(banner().ScrollPixels(), 3);
}

TEST_F(AboutWindowTest, CreditsRunAndTitlesAreBoldOnlyWhileShownAndCreditsMoveUpward)
{
    EXPECT_FALSE(banner().ScrollEnabled());
    EXPECT_FALSE(child<QLabel>("staCompany")->font().bold());
    about.show();
    ASSERT_TRUE(banner().ScrollEnabled());
    EXPECT_TRUE(child<QLabel>("staCompany")->font().bold());
    EXPECT_TRUE(child<QLabel>("staTagline")->font().bold());
    EXPECT_FALSE(child<QLabel>("staMadeWith")->font().bold());
    EXPECT_EQ(banner().ScrollPos(), 0);

    const QImage before = banner().grab().toImage();
    for (int i = 0; i < 4; ++i)
        banner().StepScroll();
    EXPECT_EQ(banner().ScrollPos(), 12);
    const QImage after = banner().grab().toImage();
    ASSERT_NE(before, after);
    // What was 12 pixels lower is now at the top: the credits rose, nothing else changed.
    for (int y = 0; y + 12 < before.height(); ++y)
        ASSERT_EQ(before.copy(0, y + 12, before.width(), 1), after.copy(0, y, after.width(), 1))
            << "row " << y;
    keepPicture(about, "about.png");

    about.hide();
    EXPECT_FALSE(banner().ScrollEnabled());
    EXPECT_EQ(banner().ScrollPos(), 12);
    about.show();
    EXPECT_TRUE(banner().ScrollEnabled());
}

TEST_F(AboutWindowTest, EachNewWindowStartsTheCreditsFromTheBeginning)
{
    about.show();
    const QImage first = banner().grab().toImage();
    for (int i = 0; i < 10; ++i)
        banner().StepScroll();
    about.close();

    TAboutWindow second;
    second.show();
    auto* again = second.findChild<TBanner*>("Banner1");
    EXPECT_EQ(again->ScrollPos(), 0);
    EXPECT_EQ(again->grab().toImage(), first);
}

TEST_F(AboutWindowTest, DoubleClickOnTheBackgroundOnlyShowsTheMessage)
{
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    for (const char* name : {"staCompany", "imgPicture", "panBanner", "Banner1", "staMadeWith",
                             "staDistribution", "ediContact"}) {
        QWidget* control = child<QWidget>(name);
        QTest::mouseDClick(control, Qt::LeftButton, {}, control->rect().center());
        EXPECT_TRUE(messages.isEmpty()) << name;
    }
    QTest::mouseDClick(&about, Qt::LeftButton, {}, QPoint(60, 150));
    EXPECT_EQ(messages, QStringList{"My BMW 328i rulez!"});
}

TEST(AboutWindowMessage, IsAPlainBoxWithOk)
{
    TAboutWindow about;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(QMessageBox::Ok)->click();
    });
    about.FormDblClick();
    EXPECT_EQ(text, "My BMW 328i rulez!");
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttons, QMessageBox::Ok);
}

// Help pages -------------------------------------------------------------------------------

struct ContextPage {
    int context;
    const char* page;
};

class HelpPageTest : public ::testing::TestWithParam<ContextPage> {};

TEST_P(HelpPageTest, ContextLeadsToAnExistingPageAndAnchor)
{
    EXPECT_EQ(HelpPage(GetParam().context), GetParam().page);
    EXPECT_TRUE(pageExists(HelpPage(GetParam().context)));
}

INSTANTIATE_TEST_SUITE_P(
    EveryContext, HelpPageTest,
    ::testing::Values(
        ContextPage{1000, "what-is.html"}, ContextPage{2000, "main-window.html"},
        ContextPage{90100, "buttons.html#ok"}, ContextPage{90200, "buttons.html#cancel"},
        ContextPage{100050, "options.html#fadeout"}, ContextPage{100100, "options.html#buffer-size"},
        ContextPage{100150, "options.html#volume-control"},
        ContextPage{100200, "options.html#output-mode"},
        ContextPage{100300, "options.html#mixing-frequency"},
        ContextPage{100400, "options.html#scroller-speed"},
        ContextPage{100500, "options.html#user-action-line"},
        ContextPage{100600, "options.html#user-action-sleep"},
        ContextPage{100700, "options.html#user-action-close"},
        ContextPage{100900, "options.html#user-action-browse"},
        ContextPage{110100, "directory-chooser.html#drive"},
        ContextPage{110200, "directory-chooser.html#directory"},
        ContextPage{110300, "directory-chooser.html#selected-path"},
        ContextPage{110400, "directory-chooser.html#previous-paths"},
        ContextPage{110500, "directory-chooser.html#create-folder"},
        ContextPage{120100, "new-directory.html#create-in"},
        ContextPage{120200, "new-directory.html#name"}, ContextPage{130100, "rename.html#path"},
        ContextPage{130200, "rename.html#new-name"}, ContextPage{200100, "open-module.html"},
        ContextPage{200200, "discs.html#open-disc"}, ContextPage{200300, "discs.html#save-disc"},
        // Numbers nobody hands out show the contents.
        ContextPage{0, "index.html"}, ContextPage{-1, "index.html"},
        ContextPage{100000, "index.html"}));

TEST(HelpPages, EveryLinkLeadsToAnExistingPageAndAnchorAndEveryPageHasATitle)
{
    const QDir dir(THelpWindow::HelpDirectory());
    ASSERT_TRUE(dir.exists(HelpContexts::kContentsPage));
    ASSERT_TRUE(dir.exists(HelpContexts::kHelpOnHelpPage));
    static const QRegularExpression link(QStringLiteral(R"re(href\s*=\s*"([^"]+)")re"));
    const QStringList pages = dir.entryList({"*.html"});
    EXPECT_GE(pages.size(), 11);
    for (const QString& page : pages) {
        const QString html = QString::fromUtf8(readFile(dir.filePath(page)));
        EXPECT_TRUE(html.contains(QRegularExpression("<title>[^<]+</title>"))) << page.toStdString();
        for (const auto& match : link.globalMatch(html)) {
            QString target = match.captured(1);
            if (target.startsWith('#'))
                target.prepend(page);
            EXPECT_TRUE(pageExists(target)) << "in " << page.toStdString();
        }
    }
}

TEST(HelpPages, FolderIsFoundInstalledThenBesideTheProgramThenInTheSources)
{
    const QString programDir = QCoreApplication::applicationDirPath();
    const QStringList candidates = THelpWindow::HelpDirectoryCandidates();
    ASSERT_EQ(candidates.size(), 3);
    EXPECT_EQ(candidates[0], QDir::cleanPath(programDir + "/../share/jukarium/help"));
    EXPECT_EQ(candidates[1], programDir + "/help");
    EXPECT_TRUE(QFile::exists(candidates[2] + "/index.html"));

    QTemporaryDir root;
    const QString installed = root.filePath("installed");
    const QString beside = root.filePath("beside");
    const QString empty = root.filePath("empty");
    for (const QString& dir : {installed, beside, empty})
        ASSERT_TRUE(QDir().mkpath(dir));
    const QStringList order{installed, beside};
    EXPECT_EQ(THelpWindow::FindHelpDirectory(order), "");
    QFile(beside + "/index.html").open(QIODevice::WriteOnly);
    EXPECT_EQ(THelpWindow::FindHelpDirectory({empty, installed, beside}), beside);
    QFile(installed + "/index.html").open(QIODevice::WriteOnly);
    EXPECT_EQ(THelpWindow::FindHelpDirectory(order), installed);
}

// Help window ------------------------------------------------------------------------------

class HelpWindowTest : public ::testing::Test {
protected:
    void TearDown() override { delete THelpWindow::Instance(); }

    static QTextBrowser& browser() { return *THelpWindow::Instance()->findChild<QTextBrowser*>(); }
};

TEST_F(HelpWindowTest, ShowsPagesOfContextsAndMovesBackAndForward)
{
    QWidget mainWindow;
    mainWindow.show();
    THelpWindow::ShowHelp(HelpContexts::kWhatDoISeeHere, &mainWindow);
    THelpWindow* help = THelpWindow::Instance();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->CurrentPage(), "main-window.html");
    EXPECT_TRUE(help->windowTitle().startsWith("What do I see here?"));
    EXPECT_TRUE(browser().toPlainText().contains("The slot buttons 1 to 20"));
    keepPicture(*help, "help.png");

    THelpWindow::ShowHelp(100050, &mainWindow);
    EXPECT_EQ(THelpWindow::Instance(), help);
    EXPECT_EQ(help->CurrentPage(), "options.html#fadeout");
    EXPECT_GT(browser().verticalScrollBar()->value(), 0);  // scrolled down to the anchor

    help->Back();
    EXPECT_EQ(help->CurrentPage(), "main-window.html");
    help->Forward();
    EXPECT_EQ(help->CurrentPage(), "options.html#fadeout");
    help->Contents();
    EXPECT_EQ(help->CurrentPage(), "index.html");
}

TEST_F(HelpWindowTest, MissingPagesAndFoldersGiveANote)
{
    QTemporaryDir dir;
    QFile(dir.filePath("index.html")).open(QIODevice::WriteOnly);
    THelpWindow help(dir.path());
    help.Open("options.html#fadeout");
    EXPECT_EQ(help.CurrentPage(), "");
    EXPECT_TRUE(help.findChild<QTextBrowser*>()->toPlainText().contains("\"options.html\" is missing"));

    THelpWindow nowhere{QString()};
    nowhere.Open("index.html");
    EXPECT_TRUE(nowhere.findChild<QTextBrowser*>()->toPlainText().contains("not installed"));
}

TEST_F(HelpWindowTest, F1ShowsTheFocusedControlsContextElseTheDialogsAndOutlivesTheDialog)
{
    QWidget mainWindow;
    mainWindow.show();
    QDialog dialog(&mainWindow);
    auto* group = new QWidget(&dialog);
    group->setProperty("helpContext", 130200);
    auto* name = new QLineEdit(group);
    auto* plain = new QLineEdit(&dialog);
    plain->move(0, 40);
    InstallF1Help(&dialog, 130100);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));

    name->setFocus();
    QTest::keyClick(&dialog, Qt::Key_F1);
    ASSERT_NE(THelpWindow::Instance(), nullptr);
    EXPECT_EQ(THelpWindow::Instance()->CurrentPage(), "rename.html#new-name");
    EXPECT_EQ(THelpWindow::Instance()->parentWidget(), &dialog);  // takes input beside a modal run

    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    plain->setFocus();
    QTest::keyClick(&dialog, Qt::Key_F1);
    EXPECT_EQ(THelpWindow::Instance()->CurrentPage(), "rename.html#path");

    dialog.hide();
    ASSERT_NE(THelpWindow::Instance(), nullptr);
    EXPECT_TRUE(THelpWindow::Instance()->isVisible());
    EXPECT_EQ(THelpWindow::Instance()->parentWidget(), &mainWindow);
}
