#include "ui/OptionsPages.h"

#include "ui/DialogParts.h"
#include "ui/F1Help.h"
#include "ui/OptionsForm.h"
#include "ui/OptionsPageParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSlider>
#include <QTabWidget>

using namespace OptionsPageParts;

namespace {

constexpr int kChoiceLeft = 140;  // where a choice starts right of its label

QStringList volumeRampingChoices()
{
    QStringList choices{QStringLiteral("Default"), QStringLiteral("Off")};
    for (int strength = 1; strength <= 10; ++strength)
        choices << QString::number(strength);
    return choices;
}

}  // namespace

void OptionsPages::addQuality(OptionsForm& form)
{
    QWidget* page = addPage(*form.PageControl1, "TabSheetQuality", QStringLiteral("Quality"));
    SetHelpContext(page, 101000);

    QGroupBox* interpolation = DialogParts::makeGroup(
        page, "GroupBoxInterpolation", QStringLiteral("Interpolation"), QRect(kGroupLeft, 4, kGroupWidth, 46));
    form.cmbInterpolation = makeChoice(
        interpolation, "cmbInterpolation",
        {QStringLiteral("None"), QStringLiteral("Linear"), QStringLiteral("Cubic"),
         QStringLiteral("Windowed sinc (8 taps)")},
        QRect(kInnerLeft, 18, 200, 20));

    QGroupBox* separation = DialogParts::makeGroup(page, "GroupBoxStereoSeparation",
                                                   QStringLiteral("Stereo separation"),
                                                   QRect(kGroupLeft, 54, kGroupWidth, 70));
    form.sldStereoSeparation = makeSlider(separation, "sldStereoSeparation",
                                          OptionsForm::kLastStereoSeparationPosition);
    form.sldStereoSeparation->setTickInterval(25);
    form.sldStereoSeparation->setSingleStep(5);
    form.sldStereoSeparation->setPageStep(25);
    form.staStereoSeparation = makeValueLabel(separation, "staStereoSeparation");

    form.chkAmigaResampler = makeCheckBox(page, "chkAmigaResampler",
                                          QStringLiteral("Amiga resampler emulation"), 128);
    makeText(page, "lblVolumeRamping", QStringLiteral("Volume ramping:"), QRect(kInnerLeft, 156, 120, 20));
    form.cmbVolumeRamping = makeChoice(page, "cmbVolumeRamping", volumeRampingChoices(),
                                       QRect(kChoiceLeft, 153, 90, 20));

    makeText(page, "lblAtTheEnd", QStringLiteral("When a module ends:"), QRect(kInnerLeft, 182, 120, 20));
    form.cmbAtTheEnd = makeChoice(page, "cmbAtTheEnd",
                                  {QStringLiteral("Repeat it"), QStringLiteral("Play the next slot of the disc"),
                                   QStringLiteral("Stop")},
                                  QRect(kChoiceLeft, 179, 200, 20));
    SetHelpContext(form.cmbAtTheEnd, 101100);
}
