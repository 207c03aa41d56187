#include "ui/OptionsPages.h"

#include "settings/OptionsTable.h"
#include "ui/DialogParts.h"
#include "ui/F1Help.h"
#include "ui/OptionsForm.h"
#include "ui/OptionsPageParts.h"

#include <QTabWidget>

using namespace OptionsPageParts;

void OptionsPages::addAdvanced(OptionsForm& form)
{
    QWidget* page = addPage(*form.PageControl1, "TabSheet3", QStringLiteral(" Advanced "));
    QGroupBox* GroupBox3 = DialogParts::makeGroup(page, "GroupBox3",
                                                  QStringLiteral("Mixing Frequency"),
                                                  QRect(kGroupLeft, 4, kGroupWidth, 104));
    SetHelpContext(GroupBox3, 100300);
    form.sldSamplingFreq = makeSlider(GroupBox3, "sldSamplingFreq", OptionsTable::kPlaybackFrequency);
    form.staSampFText = makeValueLabel(GroupBox3, "staSampFText");
    makeText(GroupBox3, "Label6",
             QStringLiteral("The higher the Mixing frequency the better, but the more CPU-time "
                            "is needed."),
             QRect(kInnerLeft, 70, kInnerWidth, 28));

    QGroupBox* GroupBox10 = DialogParts::makeGroup(page, "GroupBox10",
                                                   QStringLiteral("Scroller speed"),
                                                   QRect(kGroupLeft, 114, kGroupWidth, 72));
    SetHelpContext(GroupBox10, 100400);
    form.sldScrollSpeed = makeSlider(GroupBox10, "sldScrollSpeed", OptionsTable::kScrollSpeed);
    form.staScrollerSpeed = makeValueLabel(GroupBox10, "staScrollerSpeed");
}
