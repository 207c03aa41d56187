#include "ui/OptionsPages.h"

#include "settings/OptionsTable.h"
#include "ui/DialogParts.h"
#include "ui/F1Help.h"
#include "ui/OptionsForm.h"
#include "ui/OptionsPageParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>

#include <array>

using namespace OptionsPageParts;

namespace {

constexpr int kChoiceLeft = 140;  // where a choice starts right of its label

constexpr std::array kInterpolationNames = {"None", "Linear", "Cubic", "Windowed sinc (8 taps)"};
static_assert(kInterpolationNames.size() == RenderQuality::kInterpolationTaps.size());

/// In the order of ClassOptions::SongEnd, from the first number its row offers.
constexpr std::array kSongEndNames = {"Repeat it", "Play the next slot of the disc", "Stop",
                                      "Play every subsong, then the next slot"};
static_assert(kSongEndNames.size() == OfferedPositions(OptionsTable::kAtTheEnd));

template <std::size_t count>
QStringList choices(const std::array<const char*, count>& names)
{
    QStringList texts;
    for (const char* name : names)
        texts << QLatin1String(name);
    return texts;
}

/// One choice per number the row offers, from its first: the library's choice, off, then the
/// strengths by their numbers.
QStringList volumeRampingChoices()
{
    static_assert(OptionsTable::kVolumeRamping.first == RenderQuality::kDefaultVolumeRamping);
    QStringList texts{QStringLiteral("Default"), QStringLiteral("Off")};
    for (int strength = 1; strength <= OptionsTable::kVolumeRamping.lastOffered; ++strength)
        texts << QString::number(strength);
    return texts;
}

QStringList loudnessTargetChoices()
{
    QStringList texts;
    for (int lufs : OptionsTable::kLoudnessTargets)
        texts << QStringLiteral("%1 LUFS").arg(lufs);
    return texts;
}

}  // namespace

void OptionsPages::addQuality(OptionsForm& form)
{
    QWidget* page = addPage(*form.PageControl1, "TabSheetQuality", QStringLiteral("Quality"));
    SetHelpContext(page, 101000);

    QGroupBox* interpolation = DialogParts::makeGroup(
        page, "GroupBoxInterpolation", QStringLiteral("Interpolation"), QRect(kGroupLeft, 4, kGroupWidth, 46));
    form.cmbInterpolation = makeChoice(interpolation, "cmbInterpolation", choices(kInterpolationNames),
                                       QRect(kInnerLeft, 18, 200, 20));

    // Beside the filter: the Amiga's resampler is another way of interpolating.
    form.chkAmigaResampler = makeCheckBox(interpolation, "chkAmigaResampler",
                                          QStringLiteral("Amiga resampler emulation"), 18);
    form.chkAmigaResampler->setGeometry(220, 18, kGroupWidth - 220 - kInnerLeft, 20);

    QGroupBox* separation = DialogParts::makeGroup(page, "GroupBoxStereoSeparation",
                                                   QStringLiteral("Stereo separation"),
                                                   QRect(kGroupLeft, 54, kGroupWidth, 70));
    form.sldStereoSeparation = makeSlider(separation, "sldStereoSeparation",
                                          OptionsTable::kStereoSeparation);
    form.sldStereoSeparation->setTickInterval(25);
    form.sldStereoSeparation->setSingleStep(5);
    form.sldStereoSeparation->setPageStep(25);
    form.staStereoSeparation = makeValueLabel(separation, "staStereoSeparation");

    makeText(page, "lblVolumeRamping", QStringLiteral("Volume ramping:"), QRect(kInnerLeft, 132, 120, 20));
    form.cmbVolumeRamping = makeChoice(page, "cmbVolumeRamping", volumeRampingChoices(),
                                       QRect(kChoiceLeft, 129, 90, 20));
    makeText(page, "lblShortestSubsong", QStringLiteral("Hide subsongs shorter than:"), QRect(238, 132, 152, 20));
    form.spnShortestSubsong = makeNumber(page, "spnShortestSubsong", OptionsTable::kShortestSubsong,
                                         QStringLiteral(" s"), QRect(390, 129, 44, 20));
    form.spnShortestSubsong->setAccessibleName(QStringLiteral("Hide subsongs shorter than"));

    makeText(page, "lblAtTheEnd", QStringLiteral("When a module ends:"), QRect(kInnerLeft, 158, 120, 20));
    form.cmbAtTheEnd = makeChoice(page, "cmbAtTheEnd", choices(kSongEndNames),
                                  QRect(kChoiceLeft, 155, 250, 20));
    SetHelpContext(form.cmbAtTheEnd, 101100);

    form.chkEvenLoudness = makeCheckBox(page, "chkEvenLoudness",
                                        QStringLiteral("Play every module at the same loudness"), 181);
    form.chkEvenLoudness->setGeometry(kInnerLeft, 181, 270, 20);
    makeText(page, "lblLoudnessTarget", QStringLiteral("Target:"), QRect(290, 184, 42, 20));
    form.cmbLoudnessTarget = makeChoice(page, "cmbLoudnessTarget", loudnessTargetChoices(), QRect(334, 181, 90, 20));
    form.cmbLoudnessTarget->setAccessibleName(QStringLiteral("Loudness target"));
}
