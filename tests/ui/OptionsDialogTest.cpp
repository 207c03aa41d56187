// The options dialog on a real options store in a fresh registry directory, with a recording
// target standing in for the banner, the player and the status bar.
#include "platform/Registry.h"
#include "settings/ClassOptions.h"
#include "ui/OptionsTarget.h"
#include "ui/THelpWindow.h"
#include "ui/TOptions.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

// Readable failures.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

/// Records every call as "Name(argument)", in order.
class RecordingTarget : public OptionsTarget {
public:
    void ApplyScrollSpeed(int speed) override { record("ApplyScrollSpeed", speed); }
    void SetFadeOutSteps(int steps) override { record("SetFadeOutSteps", steps); }
    void SetOutputMode(int mode) override { record("SetOutputMode", mode); }
    void SetMixingRate(int index) override { record("SetMixingRate", index); }
    void SetBufferSize(int index) override { record("SetBufferSize", index); }
    void RestartAudio() override { calls.append(QStringLiteral("RestartAudio()")); }
    void SetRenderQuality(const RenderQuality& quality) override
    {
        calls.append(QStringLiteral("SetRenderQuality(%1 %2 %3 %4)")
                         .arg(quality.interpolationTaps)
                         .arg(quality.stereoSeparation)
                         .arg(quality.amigaResampler)
                         .arg(quality.volumeRamping));
    }
    void SetSongEnd(ClassOptions::SongEnd action) override { record("SetSongEnd", static_cast<int>(action)); }
    void SetShortestSubsong(int seconds) override { record("SetShortestSubsong", seconds); }
    void SetEvenLoudness(bool even, int targetLufs) override
    {
        calls.append(QStringLiteral("SetEvenLoudness(%1 %2)").arg(even).arg(targetLufs));
    }
    void SetStatusText(const QString& text) override
    {
        calls.append(QStringLiteral("SetStatusText(%1)").arg(text));
    }

    QStringList calls;

private:
    void record(const char* name, int value)
    {
        calls.append(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(value));
    }
};

template <typename T>
T* child(const QWidget& dialog, const QString& name)
{
    T* found = dialog.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

QSlider* slider(const QWidget& dialog, const char* name)
{
    return child<QSlider>(dialog, QLatin1String(name));
}

QString text(const QWidget& dialog, const char* labelName)
{
    return child<QLabel>(dialog, QLatin1String(labelName))->text();
}

}  // namespace

class OptionsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(registryDirectory.isValid());
        reopenStore();
    }

    // Writes the store to the registry and reads it back, as a restart of the program would.
    void reopenStore()
    {
        options.reset();
        options = std::make_unique<ClassOptions>(registry);
    }

    void storeUserActions()
    {
        for (int n = 1; n <= 3; ++n) {
            options->SetUserActionPath(n, actionPath(n));
            options->SetUserActionSleep(n, n == 2);
            options->SetUserActionCloseMod(n, n != 3);
        }
        options->SetVolumeExe(QStringLiteral("pavucontrol --tab=3"));
    }

    void storeSound(int mode, int frequency, int buffer, int speed, int fadeout)
    {
        options->SetPlaybackMode(mode);
        options->SetPlaybackFrequency(frequency);
        options->SetPlaybackBuffer(buffer);
        options->SetScrollSpeed(speed);
        options->SetFadeout(fadeout);
    }

    QStringList untouchedCalls(int speed, int fadeout) const
    {
        return {QStringLiteral("ApplyScrollSpeed(%1)").arg(speed),
                QStringLiteral("SetFadeOutSteps(%1)").arg(fadeout)};
    }

    static QString actionPath(int n) { return QStringLiteral("/usr/bin/tool%1").arg(n) + " %1"; }

    QTemporaryDir registryDirectory;
    Registry registry{registryDirectory.path()};
    std::unique_ptr<ClassOptions> options;
    RecordingTarget target;
};

// Opening ----------------------------------------------------------------------------------

TEST_F(OptionsDialogTest, OpensWithTheStoredValuesAndNoChange)
{
    storeUserActions();
    storeSound(1, 0, 19, 0, 0);
    reopenStore();
    TOptions dialog(*options, target);

    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(child<QLineEdit>(dialog, QStringLiteral("ediAction%1").arg(n))->text(),
                  actionPath(n));
        EXPECT_EQ(child<QCheckBox>(dialog, QStringLiteral("chkSleep%1").arg(n))->isChecked(), n == 2);
        EXPECT_EQ(child<QCheckBox>(dialog, QStringLiteral("chkClose%1").arg(n))->isChecked(), n != 3);
    }
    EXPECT_EQ(child<QLineEdit>(dialog, "ediVolumeControl")->text(), "pavucontrol --tab=3");
    EXPECT_TRUE(child<QRadioButton>(dialog, "chk8bit_Stereo")->isChecked());
    EXPECT_EQ(text(dialog, "staSampFText"), "Very bad (only noise)");
    // 18 to 20 are valid but beyond the slider: they show at its end.
    EXPECT_EQ(slider(dialog, "sldBufferSize")->value(), 17);
    EXPECT_EQ(text(dialog, "staBufferSize"), "Selected buffer size: 2000 ms");
    EXPECT_EQ(text(dialog, "staScrollerSpeed"), "Slow (smooth)");
    EXPECT_EQ(text(dialog, "staFadeout"), "Fadeout: 0 ms");
    EXPECT_FALSE(dialog.optionsChanged());
    EXPECT_EQ(child<QTabWidget>(dialog, "PageControl1")->currentWidget()->objectName(),
              "TabSheet1");
}

TEST_F(OptionsDialogTest, StoredValuesOutOfRangeOpenAtTheirFallbacks)
{
    storeSound(7, 9, 25, 3, -1);
    TOptions dialog(*options, target);

    EXPECT_EQ(slider(dialog, "sldSamplingFreq")->value(), 4);
    EXPECT_EQ(text(dialog, "staSampFText"), "Very high (CD-quality)");
    EXPECT_EQ(slider(dialog, "sldBufferSize")->value(), 13);
    EXPECT_EQ(text(dialog, "staBufferSize"), "Selected buffer size: 1600 ms");
    EXPECT_EQ(slider(dialog, "sldFadeout")->value(), 10);
    EXPECT_EQ(text(dialog, "staFadeout"), "Fadeout: 1000 ms");
    EXPECT_EQ(text(dialog, "staScrollerSpeed"), "Enterprise");
    EXPECT_TRUE(child<QRadioButton>(dialog, "chk16bit_Stereo")->isChecked());
    EXPECT_FALSE(dialog.optionsChanged());
    // Corrections reach the program only through OK.
    EXPECT_EQ(options->Fadeout(), -1);
    EXPECT_TRUE(target.calls.isEmpty());
}

TEST_F(OptionsDialogTest, SliderLabelsFollowThePosition)
{
    TOptions dialog(*options, target);
    QSlider* buffer = slider(dialog, "sldBufferSize");
    buffer->setValue(0);
    EXPECT_EQ(text(dialog, "staBufferSize"), "Selected buffer size: 300 ms");
    buffer->setValue(7);
    EXPECT_EQ(text(dialog, "staBufferSize"), "Selected buffer size: 1000 ms");
    buffer->setValue(17);
    EXPECT_EQ(text(dialog, "staBufferSize"), "Selected buffer size: 2000 ms");

    const QStringList frequencies = {"Very bad (only noise)", "Bad", "Normal", "High",
                                     "Very high (CD-quality)"};
    for (int position = 0; position < frequencies.size(); ++position) {
        slider(dialog, "sldSamplingFreq")->setValue(position);
        EXPECT_EQ(text(dialog, "staSampFText"), frequencies[position]);
    }
    const QStringList speeds = {"Slow (smooth)", "Normal", "Fast", "Enterprise"};
    for (int position = 0; position < speeds.size(); ++position) {
        slider(dialog, "sldScrollSpeed")->setValue(position);
        EXPECT_EQ(text(dialog, "staScrollerSpeed"), speeds[position]);
    }
    slider(dialog, "sldFadeout")->setValue(30);
    EXPECT_EQ(text(dialog, "staFadeout"), "Fadeout: 3000 ms");
}

TEST_F(OptionsDialogTest, ArrowKeysMoveTheBufferSliderTwoPositions)
{
    options->SetPlaybackBuffer(4);
    TOptions dialog(*options, target);
    QSlider* buffer = slider(dialog, "sldBufferSize");
    QTest::keyClick(buffer, Qt::Key_Right);
    EXPECT_EQ(buffer->value(), 6);
    QTest::keyClick(buffer, Qt::Key_Left);
    QTest::keyClick(buffer, Qt::Key_Left);
    EXPECT_EQ(buffer->value(), 2);
    EXPECT_EQ(text(dialog, "staBufferSize"), "Selected buffer size: 500 ms");
}

// OK ---------------------------------------------------------------------------------------

TEST_F(OptionsDialogTest, OkUntouchedStoresActionsAndAppliesSpeedAndFadeoutOnly)
{
    storeSound(2, 3, 5, 3, 40);
    TOptions dialog(*options, target);
    child<QLineEdit>(dialog, "ediAction3")->setText("/opt/mixer/bin/edit %1");
    child<QCheckBox>(dialog, "chkSleep3")->setChecked(true);
    child<QCheckBox>(dialog, "chkClose1")->setChecked(false);
    child<QLineEdit>(dialog, "ediVolumeControl")->setText("alsamixer");
    dialog.btnOKClick();

    // The out-of-range fade-out goes to the player as the position it opened at.
    EXPECT_EQ(target.calls, untouchedCalls(3, 10));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    reopenStore();
    EXPECT_EQ(options->UserActionPath(3), "/opt/mixer/bin/edit %1");
    EXPECT_TRUE(options->UserActionSleep(3));
    EXPECT_FALSE(options->UserActionCloseMod(1));
    EXPECT_TRUE(options->UserActionCloseMod(2));
    EXPECT_EQ(options->VolumeExe(), "alsamixer");
    // The sound settings are the player's to store; the dialog leaves them alone.
    EXPECT_EQ(options->PlaybackFrequency(), 3);
}

TEST_F(OptionsDialogTest, ScrollSpeedAndFadeoutApplyAtOnceWithoutRestart)
{
    storeSound(3, 4, 2, 1, 10);
    TOptions dialog(*options, target);
    slider(dialog, "sldScrollSpeed")->setValue(2);
    slider(dialog, "sldFadeout")->setValue(25);
    EXPECT_FALSE(dialog.optionsChanged());
    dialog.btnOKClick();
    EXPECT_EQ(target.calls, untouchedCalls(2, 25));
}

TEST_F(OptionsDialogTest, FrequencyMovedAndBackStillRestartsTheAudio)
{
    storeSound(1, 2, 6, 0, 12);
    TOptions dialog(*options, target);
    QSlider* frequency = slider(dialog, "sldSamplingFreq");
    frequency->setValue(3);
    frequency->setValue(2);
    dialog.btnOKClick();

    const QStringList expected = {"ApplyScrollSpeed(0)", "SetFadeOutSteps(12)", "SetOutputMode(1)",
                                  "SetMixingRate(2)",    "SetBufferSize(6)",   "RestartAudio()",
                                  "SetStatusText(Options changed)"};
    EXPECT_EQ(target.calls, expected);
}

struct SoundChange {
    const char* name;
    std::function<void(TOptions&)> change;
    QStringList applied;  // the output mode, rate and buffer calls that follow
};

void PrintTo(const SoundChange& change, std::ostream* out)
{
    *out << change.name;
}

class SoundControlTest : public OptionsDialogTest,
                         public ::testing::WithParamInterface<SoundChange> {};

TEST_P(SoundControlTest, CountsAsChangeAndRestartsWithEveryControlsValue)
{
    storeSound(3, 4, 2, 1, 10);
    TOptions dialog(*options, target);
    GetParam().change(dialog);
    EXPECT_TRUE(dialog.optionsChanged());
    dialog.btnOKClick();

    QStringList expected = untouchedCalls(1, 10) + GetParam().applied;
    expected << "RestartAudio()" << "SetStatusText(Options changed)";
    EXPECT_EQ(target.calls, expected);
}

INSTANTIATE_TEST_SUITE_P(
    OptionsDialog, SoundControlTest,
    ::testing::Values(
        SoundChange{"radio8bitMono",
                    [](TOptions& d) { child<QRadioButton>(d, "chk8bit_Mono")->click(); },
                    {"SetOutputMode(0)", "SetMixingRate(4)", "SetBufferSize(2)"}},
        SoundChange{"radio8bitStereo",
                    [](TOptions& d) { child<QRadioButton>(d, "chk8bit_Stereo")->click(); },
                    {"SetOutputMode(1)", "SetMixingRate(4)", "SetBufferSize(2)"}},
        SoundChange{"radio16bitMono",
                    [](TOptions& d) { child<QRadioButton>(d, "chk16bit_Mono")->click(); },
                    {"SetOutputMode(2)", "SetMixingRate(4)", "SetBufferSize(2)"}},
        // Clicking the radio button that is already selected still counts.
        SoundChange{"radio16bitStereoAgain",
                    [](TOptions& d) { child<QRadioButton>(d, "chk16bit_Stereo")->click(); },
                    {"SetOutputMode(3)", "SetMixingRate(4)", "SetBufferSize(2)"}},
        SoundChange{"frequency",
                    [](TOptions& d) { slider(d, "sldSamplingFreq")->setValue(1); },
                    {"SetOutputMode(3)", "SetMixingRate(1)", "SetBufferSize(2)"}},
        SoundChange{"buffer", [](TOptions& d) { slider(d, "sldBufferSize")->setValue(17); },
                    {"SetOutputMode(3)", "SetMixingRate(4)", "SetBufferSize(17)"}}),
    [](const ::testing::TestParamInfo<SoundChange>& info) { return std::string(info.param.name); });

// Browsing ---------------------------------------------------------------------------------

TEST_F(OptionsDialogTest, BrowsingFillsOnlyTheEditField)
{
    storeUserActions();
    TOptions dialog(*options, target);
    QStringList asked;
    QString answer = QStringLiteral("/opt/track player/bin/play");
    dialog.ChooseProgramFile = [&](const QString& dialogName) {
        asked.append(dialogName);
        return answer;
    };

    child<QPushButton>(dialog, "btnUserAction2")->click();
    EXPECT_EQ(child<QLineEdit>(dialog, "ediAction2")->text(), "\"/opt/track player/bin/play\" %1");
    EXPECT_EQ(child<QLineEdit>(dialog, "ediAction1")->text(), "/usr/bin/tool1 %1");
    EXPECT_EQ(child<QLineEdit>(dialog, "ediAction3")->text(), "/usr/bin/tool3 %1");

    child<QPushButton>(dialog, "btnVolumeControlSelected")->click();
    EXPECT_EQ(child<QLineEdit>(dialog, "ediVolumeControl")->text(), "/opt/track player/bin/play");

    answer.clear();  // the user cancels the file dialog
    dialog.btnUserAction3Click();
    EXPECT_EQ(child<QLineEdit>(dialog, "ediAction3")->text(), "/usr/bin/tool3 %1");

    EXPECT_EQ(asked, QStringList({"opdSelectApp", "opdVolumeControl", "opdSelectApp"}));
    EXPECT_EQ(options->UserActionPath(2), "/usr/bin/tool2 %1");
    EXPECT_EQ(options->VolumeExe(), "pavucontrol --tab=3");
    EXPECT_FALSE(dialog.optionsChanged());
}

// Modal runs -------------------------------------------------------------------------------

// Changes every control of a dialog that is up, as a user would.
void changeEverything(TOptions& dialog)
{
    for (int n = 1; n <= 3; ++n) {
        child<QLineEdit>(dialog, QStringLiteral("ediAction%1").arg(n))->setText("/bin/true");
        child<QCheckBox>(dialog, QStringLiteral("chkSleep%1").arg(n))->click();
        child<QCheckBox>(dialog, QStringLiteral("chkClose%1").arg(n))->click();
    }
    child<QLineEdit>(dialog, "ediVolumeControl")->setText("/bin/false");
    child<QRadioButton>(dialog, "chk8bit_Mono")->click();
    for (const char* name : {"sldSamplingFreq", "sldBufferSize", "sldScrollSpeed", "sldFadeout",
                             "sldStereoSeparation"})
        slider(dialog, name)->setValue(0);
    child<QComboBox>(dialog, "cmbInterpolation")->setCurrentIndex(0);
    child<QCheckBox>(dialog, "chkAmigaResampler")->click();
    child<QComboBox>(dialog, "cmbVolumeRamping")->setCurrentIndex(1);
    child<QComboBox>(dialog, "cmbAtTheEnd")->setCurrentIndex(2);
    child<QSpinBox>(dialog, "spnShortestSubsong")->setValue(0);
    child<QCheckBox>(dialog, "chkEvenLoudness")->click();
    child<QComboBox>(dialog, "cmbLoudnessTarget")->setCurrentIndex(2);
}

class DialogCloseTest : public OptionsDialogTest,
                        public ::testing::WithParamInterface<const char*> {};

TEST_P(DialogCloseTest, ClosingWithoutOkLeavesStoreAndProgramAlone)
{
    storeUserActions();
    storeSound(2, 3, 8, 2, 15);
    reopenStore();
    const QString registryFile = registry.filePath(RegistryRoot::CurrentUser);
    const auto readRegistry = [&registryFile] {
        QFile file(registryFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray before = readRegistry();
    const QString how = QLatin1String(GetParam());

    TOptions dialog(*options, target);
    QTimer::singleShot(0, &dialog, [&dialog, how] {
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        changeEverything(dialog);
        if (how == "cancel")
            child<QPushButton>(dialog, "btnCancel")->click();
        else if (how == "escape")
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
        if (dialog.isVisible())  // never hang on a failure
            dialog.done(QDialog::Rejected);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);

    EXPECT_TRUE(target.calls.isEmpty()) << target.calls.join(", ").toStdString();
    reopenStore();
    EXPECT_EQ(readRegistry(), before);
    EXPECT_EQ(options->UserActionPath(1), "/usr/bin/tool1 %1");
    EXPECT_EQ(options->VolumeExe(), "pavucontrol --tab=3");
}

INSTANTIATE_TEST_SUITE_P(OptionsDialog, DialogCloseTest,
                         ::testing::Values("cancel", "escape", "closeBox"));

TEST_F(OptionsDialogTest, OkButtonOfTheShownDialogAppliesEverything)
{
    storeSound(3, 4, 2, 1, 10);
    TOptions dialog(*options, target);
    QTimer::singleShot(0, &dialog, [&dialog] {
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        changeEverything(dialog);
        child<QPushButton>(dialog, "btnOK")->click();
        if (dialog.isVisible())
            dialog.done(QDialog::Rejected);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);

    // Sound quality and the song's end as none, mono, Amiga, ramping off; stop.
    const QStringList expected = {"ApplyScrollSpeed(0)", "SetFadeOutSteps(0)",
                                  "SetRenderQuality(1 0 1 0)", "SetSongEnd(2)", "SetEvenLoudness(1 -23)",
                                  "SetShortestSubsong(0)",
                                  "SetOutputMode(0)", "SetMixingRate(0)", "SetBufferSize(0)",
                                  "RestartAudio()", "SetStatusText(Options changed)"};
    EXPECT_EQ(target.calls, expected);
    reopenStore();
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(options->UserActionPath(n), "/bin/true");
        EXPECT_TRUE(options->UserActionSleep(n));     // stored off by default
        EXPECT_FALSE(options->UserActionCloseMod(n)); // stored on by default
    }
    EXPECT_EQ(options->VolumeExe(), "/bin/false");
}

// Help -------------------------------------------------------------------------------------

TEST_F(OptionsDialogTest, F1ShowsTheTopicOfTheFocusedControlAndEscapeClosesIt)
{
    TOptions dialog(*options, target);
    dialog.show();
    auto* pages = child<QTabWidget>(dialog, "PageControl1");
    const struct {
        int page;
        const char* control;
        const char* topic;
    } cases[] = {
        {0, "sldBufferSize", "options.html#buffer-size"},
        {0, "chk8bit_Stereo", "options.html#output-mode"},
        {1, "sldSamplingFreq", "options.html#mixing-frequency"},
        {1, "sldScrollSpeed", "options.html#scroller-speed"},
        {2, "ediVolumeControl", "options.html#volume-control"},
        {2, "sldFadeout", "options.html#fadeout"},
        {3, "sldStereoSeparation", "options.html#quality"},
        {3, "cmbAtTheEnd", "options.html#at-the-end"},
        {4, "ediAction1", "options.html#user-action-line"},
        {5, "chkSleep2", "options.html#user-action-sleep"},
        {6, "chkClose3", "options.html#user-action-close"},
        {6, "btnUserAction3", "options.html#user-action-browse"},
        {6, "btnOK", "buttons.html#ok"},
        {6, "btnCancel", "buttons.html#cancel"},
    };
    for (const auto& [page, name, topic] : cases) {
        SCOPED_TRACE(name);
        // Back from the help window. (qWaitForWindowActive would count the dialog active while
        // its help window is.)
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&dialog] { return QApplication::activeWindow() == &dialog; }));
        pages->setCurrentIndex(page);
        child<QWidget>(dialog, name)->setFocus();
        QTest::keyClick(&dialog, Qt::Key_F1);
        ASSERT_NE(THelpWindow::Instance(), nullptr);
        EXPECT_EQ(THelpWindow::Instance()->CurrentPage(), topic);
    }

    THelpWindow* help = THelpWindow::Instance();
    ASSERT_TRUE(QTest::qWaitFor([help] { return QApplication::activeWindow() == help; }));
    QTest::keyClick(help, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
    EXPECT_TRUE(dialog.isVisible());
    delete help;
}

// Form -------------------------------------------------------------------------------------

TEST_F(OptionsDialogTest, PagesAndControlsAreNamedAndInPlace)
{
    TOptions dialog(*options, target);
    EXPECT_EQ(dialog.windowTitle(), "Options");
    EXPECT_EQ(dialog.size(), QSize(440, 268));

    auto* pages = child<QTabWidget>(dialog, "PageControl1");
    const QStringList captions = {" General ", " Advanced ", "Other", "Quality",
                                  "User Actions #1", "User Action #2", "User Action #3"};
    const QStringList names = {"TabSheet1", "TabSheet3", "TabSheet6", "TabSheetQuality",
                               "TabSheet2", "TabSheet4", "TabSheet5"};
    ASSERT_EQ(pages->count(), captions.size());
    for (int i = 0; i < pages->count(); ++i) {
        EXPECT_EQ(pages->tabText(i), captions[i]);
        EXPECT_EQ(pages->widget(i)->objectName(), names[i]);
    }
    EXPECT_EQ(child<QGroupBox>(dialog, "GroupBox9")->title(),
              "Execute this Line when selected (F12)");
    EXPECT_EQ(child<QLabel>(dialog, "Label2")->text(), child<QLabel>(dialog, "Label3")->text());
    EXPECT_TRUE(child<QLabel>(dialog, "Label4")->text().contains("\"%1\" will do the same"));
    EXPECT_TRUE(child<QPushButton>(dialog, "btnOK")->isDefault());
}

TEST_F(OptionsDialogTest, TextsFitTheirControlsAndControlsTheirGroups)
{
    TOptions dialog(*options, target);
    dialog.show();
    auto* pages = child<QTabWidget>(dialog, "PageControl1");
    // Every page's tab is in sight, with no scroll arrows.
    EXPECT_LE(pages->tabBar()->sizeHint().width(), pages->width());
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        QWidget* page = pages->widget(i);
        for (auto* label : page->findChildren<QLabel*>()) {
            SCOPED_TRACE(label->objectName().toStdString());
            EXPECT_LE(label->heightForWidth(label->width()), label->height());
        }
        for (auto* button : page->findChildren<QAbstractButton*>()) {
            SCOPED_TRACE(button->objectName().toStdString());
            // A push button's size hint has a style minimum beyond its text; its text must fit.
            const bool push = qobject_cast<QPushButton*>(button) != nullptr;
            const QString caption = QString(button->text()).remove('&');
            EXPECT_LE(push ? button->fontMetrics().horizontalAdvance(caption) + 16
                           : button->sizeHint().width(),
                      button->width());
        }
        for (auto* control : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            SCOPED_TRACE(control->objectName().toStdString());
            EXPECT_TRUE(page->rect().contains(control->geometry()));
        }
        for (auto* group : page->findChildren<QGroupBox*>()) {
            SCOPED_TRACE(group->objectName().toStdString());
            EXPECT_TRUE(page->rect().contains(group->geometry()));
            for (auto* control : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                EXPECT_TRUE(group->rect().contains(control->geometry()))
                    << control->objectName().toStdString();
        }
    }
}
