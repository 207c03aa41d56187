#include "ui/TOptions.h"

#include "controls/TNewButton.h"
#include "platform/ProgramStarter.h"
#include "settings/ClassOptions.h"
#include "settings/OptionsTable.h"
#include "ui/F1Help.h"
#include "ui/FileDialogColumns.h"
#include "ui/OptionsTarget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>

#include <algorithm>

namespace {

using OptionsTable::kFadeout;
using OptionsTable::kPlaybackBuffer;
using OptionsTable::kPlaybackFrequency;
using OptionsTable::kPlaybackMode;
using OptionsTable::kScrollSpeed;
using OptionsTable::kVolumeRamping;

// The texts of the slider positions, from the first.
constexpr std::array kFrequencyTexts = {"Very bad (only noise)", "Bad", "Normal", "High",
                                        "Very high (CD-quality)"};
static_assert(kFrequencyTexts.size() == OfferedPositions(kPlaybackFrequency));
constexpr std::array kScrollSpeedTexts = {"Slow (smooth)", "Normal", "Fast", "Enterprise"};
static_assert(kScrollSpeedTexts.size() == OfferedPositions(kScrollSpeed));

// Where the sliders open when the stored buffer size or fade-out is none their rows accept.
constexpr int kBufferFallback = 13;
constexpr int kFadeoutFallback = 10;

}  // namespace

TOptions::TOptions(ClassOptions& options, OptionsTarget& target, QWidget* owner)
    : QDialog(owner), m_options(options), m_target(target), m_form(BuildOptionsForm(*this))
{
    InstallF1Help(this, 100100);
    ChooseProgramFile = [this](const QString& dialogName) {
        return defaultChooseProgramFile(dialogName);
    };
    connectControls();
    FormCreate();
}

void TOptions::connectControls()
{
    connect(m_form.sldBufferSize, &QSlider::valueChanged, this, &TOptions::sldBufferSizeChange);
    connect(m_form.chk8bit_Mono, &QRadioButton::clicked, this, &TOptions::chk8bit_MonoClick);
    connect(m_form.chk8bit_Stereo, &QRadioButton::clicked, this, &TOptions::chk8bit_StereoClick);
    connect(m_form.chk16bit_Mono, &QRadioButton::clicked, this, &TOptions::chk16bit_MonoClick);
    connect(m_form.chk16bit_Stereo, &QRadioButton::clicked, this, &TOptions::chk16bit_StereoClick);
    connect(m_form.sldSamplingFreq, &QSlider::valueChanged, this, &TOptions::sldSamplingFreqChange);
    connect(m_form.sldScrollSpeed, &QSlider::valueChanged, this, &TOptions::sldScrollSpeedChange);
    connect(m_form.btnVolumeControlSelected, &QPushButton::clicked, this,
            &TOptions::btnVolumeControlSelectedClick);
    connect(m_form.sldFadeout, &QSlider::valueChanged, this, &TOptions::sldFadeoutChange);
    connect(m_form.sldStereoSeparation, &QSlider::valueChanged, this,
            &TOptions::sldStereoSeparationChange);
    for (int n = 1; n <= 3; ++n) {
        connect(m_form.userActions[n - 1].browse, &QPushButton::clicked, this,
                [this, n] { browseUserAction(n); });
    }
    connect(m_form.btnOK, &QPushButton::clicked, this, &TOptions::btnOKClick);
    connect(m_form.btnCancel, &QPushButton::clicked, this, &TOptions::btnCancelClick);
}

void TOptions::FormCreate()
{
    for (int n = 1; n <= 3; ++n) {
        const OptionsForm::UserAction& action = m_form.userActions[n - 1];
        action.edit->setText(m_options.UserActionPath(n));
        action.sleep->setChecked(m_options.UserActionSleep(n));
        action.close->setChecked(m_options.UserActionCloseMod(n));
    }
    // A value its row accepts opens as it is (one the slider does not offer at its end); any
    // other at a fallback position.
    const auto accepted = [](const NumberRow& row, int value, int fallback) {
        return row.accepts(value) ? value : fallback;
    };
    m_form.sldScrollSpeed->setValue(accepted(kScrollSpeed, m_options.ScrollSpeed(), kScrollSpeed.last));
    m_form.sldSamplingFreq->setValue(
        accepted(kPlaybackFrequency, m_options.PlaybackFrequency(), kPlaybackFrequency.last));
    m_form.sldBufferSize->setValue(
        accepted(kPlaybackBuffer, m_options.PlaybackBuffer(), kBufferFallback));
    m_form.sldFadeout->setValue(accepted(kFadeout, m_options.Fadeout(), kFadeoutFallback));
    const int mode = accepted(kPlaybackMode, m_options.PlaybackMode(), kPlaybackMode.last);
    m_form.outputModes()[mode]->setChecked(true);
    m_form.ediVolumeControl->setText(m_options.VolumeExe());
    const auto& taps = RenderQuality::kInterpolationTaps;
    const RenderQuality& quality = m_options.PlaybackQuality();
    // Taps the list does not offer (the store never gives them) show as the last, the default.
    m_form.cmbInterpolation->setCurrentIndex(
        static_cast<int>(std::find(taps.begin(), taps.end() - 1, quality.interpolationTaps) - taps.begin()));
    m_form.sldStereoSeparation->setValue(quality.stereoSeparation);
    m_form.chkAmigaResampler->setChecked(quality.amigaResampler);
    m_form.cmbVolumeRamping->setCurrentIndex(quality.volumeRamping - kVolumeRamping.first);
    m_form.cmbAtTheEnd->setCurrentIndex(static_cast<int>(m_options.AtTheEnd()));
    m_form.spnShortestSubsong->setValue(m_options.ShortestSubsong());
    m_form.chkEvenLoudness->setChecked(m_options.EvenLoudness());
    const auto& targets = OptionsTable::kLoudnessTargets;
    m_form.cmbLoudnessTarget->setCurrentIndex(static_cast<int>(
        std::find(targets.begin(), targets.end(), m_options.LoudnessTarget()) - targets.begin()));
    m_form.chkNotify->setChecked(m_options.Notify());
    m_form.chkResume->setChecked(m_options.Resume());

    // A slider already at its loaded position emits nothing, so the labels are filled here.
    sldSamplingFreqChange();
    sldBufferSizeChange();
    sldScrollSpeedChange();
    sldFadeoutChange();
    sldStereoSeparationChange();
    OptionsChanged = false;
}

void TOptions::btnOKClick()
{
    for (int n = 1; n <= 3; ++n) {
        const OptionsForm::UserAction& action = m_form.userActions[n - 1];
        m_options.SetUserActionPath(n, action.edit->text());
        m_options.SetUserActionSleep(n, action.sleep->isChecked());
        m_options.SetUserActionCloseMod(n, action.close->isChecked());
    }
    m_target.ApplyScrollSpeed(m_form.sldScrollSpeed->value());
    m_target.SetFadeOutSteps(m_form.sldFadeout->value());
    m_options.SetVolumeExe(m_form.ediVolumeControl->text());
    m_options.SetNotify(m_form.chkNotify->isChecked());
    m_options.SetResume(m_form.chkResume->isChecked());
    applyQualityAndSongEnd();
    if (m_form.spnShortestSubsong->value() != m_options.ShortestSubsong())
        m_target.SetShortestSubsong(m_form.spnShortestSubsong->value());
    if (OptionsChanged) {
        m_target.SetOutputMode(selectedOutputMode());
        m_target.SetMixingRate(m_form.sldSamplingFreq->value());
        m_target.SetBufferSize(m_form.sldBufferSize->value());
        m_target.RestartAudio();
        m_target.SetStatusText(QStringLiteral("Options changed"));
    }
    accept();
}

void TOptions::btnCancelClick()
{
    reject();
}

void TOptions::btnVolumeControlSelectedClick()
{
    const QString program = ChooseProgramFile(QStringLiteral("opdVolumeControl"));
    if (!program.isEmpty())
        m_form.ediVolumeControl->setText(program);
}

void TOptions::browseUserAction(int n)
{
    const QString program = ChooseProgramFile(QStringLiteral("opdSelectApp"));
    // The placeholder makes the action receive the module's path by default; the quotes keep
    // a program path with blanks one word.
    if (!program.isEmpty())
        m_form.userActions[n - 1].edit->setText(CommandLineWord(program) + QStringLiteral(" %1"));
}

void TOptions::sldSamplingFreqChange()
{
    OptionsChanged = true;
    m_form.staSampFText->setText(QLatin1String(kFrequencyTexts[m_form.sldSamplingFreq->value()]));
}

void TOptions::sldBufferSizeChange()
{
    OptionsChanged = true;
    m_form.staBufferSize->setText(QStringLiteral("Selected buffer size: %1 ms")
                                      .arg(OptionsTable::playbackBufferMs(m_form.sldBufferSize->value())));
}

void TOptions::sldScrollSpeedChange()
{
    m_form.staScrollerSpeed->setText(
        QLatin1String(kScrollSpeedTexts[m_form.sldScrollSpeed->value()]));
}

void TOptions::sldFadeoutChange()
{
    m_form.staFadeout->setText(
        QStringLiteral("Fadeout: %1 ms").arg(m_form.sldFadeout->value() * 100));
}

void TOptions::sldStereoSeparationChange()
{
    const int percent = m_form.sldStereoSeparation->value();
    m_form.staStereoSeparation->setText(QStringLiteral("Stereo separation: %1 %").arg(percent)
                                        + (percent == 0 ? QStringLiteral(" (mono)") : QString()));
}

RenderQuality TOptions::chosenRenderQuality() const
{
    RenderQuality quality;
    quality.interpolationTaps =
        RenderQuality::kInterpolationTaps.at(m_form.cmbInterpolation->currentIndex());
    quality.stereoSeparation = m_form.sldStereoSeparation->value();
    quality.amigaResampler = m_form.chkAmigaResampler->isChecked();
    quality.volumeRamping = m_form.cmbVolumeRamping->currentIndex() + kVolumeRamping.first;
    return quality;
}

void TOptions::applyQualityAndSongEnd()
{
    // Told only of a change, so that a module playing is not disturbed for nothing.
    const RenderQuality quality = chosenRenderQuality();
    if (quality != m_options.PlaybackQuality())
        m_target.SetRenderQuality(quality);
    const auto songEnd = static_cast<ClassOptions::SongEnd>(m_form.cmbAtTheEnd->currentIndex());
    if (songEnd != m_options.AtTheEnd())
        m_target.SetSongEnd(songEnd);
    const bool even = m_form.chkEvenLoudness->isChecked();
    const int target = OptionsTable::kLoudnessTargets.at(m_form.cmbLoudnessTarget->currentIndex());
    if (even != m_options.EvenLoudness() || target != m_options.LoudnessTarget())
        m_target.SetEvenLoudness(even, target);
}

int TOptions::selectedOutputMode() const
{
    // The last mode is the one left when no other is chosen.
    const std::array<QRadioButton*, 4> modes = m_form.outputModes();
    static_assert(std::tuple_size_v<decltype(modes)> == OfferedPositions(kPlaybackMode));
    for (int mode = kPlaybackMode.first; mode < kPlaybackMode.last; ++mode) {
        if (modes[mode]->isChecked())
            return mode;
    }
    return kPlaybackMode.last;
}

QString TOptions::defaultChooseProgramFile(const QString& dialogName)
{
    QFileDialog dialog(this);
    dialog.setObjectName(dialogName);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    FitFileDialogColumns(dialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Programs here carry no extension, so both filters show every file.
    dialog.setNameFilters({QStringLiteral("All Programs (*)"), QStringLiteral("All Files (*)")});
    dialog.setDirectory(QStringLiteral("/"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void TOptions::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The dialog opens in the middle of the screen, not over its owner.
    if (const QScreen* display = screen())
        move(display->availableGeometry().center() - rect().center());
}
