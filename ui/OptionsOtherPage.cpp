#include "ui/OptionsPages.h"

#include "settings/OptionsTable.h"
#include "ui/DialogParts.h"
#include "ui/F1Help.h"
#include "ui/OptionsForm.h"
#include "ui/OptionsPageParts.h"

#include <QTabWidget>

using namespace OptionsPageParts;

void OptionsPages::addOther(OptionsForm& form)
{
    QWidget* page = addPage(*form.PageControl1, "TabSheet6", QStringLiteral("Other"));
    QGroupBox* GroupBox12 = DialogParts::makeGroup(
        page, "GroupBox12", QStringLiteral("Program for volume-control (\"Actions\"-\"Volume\")"),
        QRect(kGroupLeft, 4, kGroupWidth, 104));
    SetHelpContext(GroupBox12, 100150);
    form.ediVolumeControl = makeEdit(GroupBox12, "ediVolumeControl");
    form.btnVolumeControlSelected = makeBrowseButton(GroupBox12, "btnVolumeControlSelected");
    makeText(GroupBox12, "Label5",
             QStringLiteral("This command will be executed, when you select \"Actions\" - "
                            "\"Volume\". If you want the default volume-control: leave it blank."),
             QRect(kInnerLeft, 50, kInnerWidth, 44));

    QGroupBox* GroupBox11 = DialogParts::makeGroup(page, "GroupBox11",
                                                   QStringLiteral("Fadeout-Time"),
                                                   QRect(kGroupLeft, 114, kGroupWidth, 72));
    SetHelpContext(GroupBox11, 100050);
    form.sldFadeout = makeSlider(GroupBox11, "sldFadeout", OptionsTable::kFadeout);
    form.staFadeout = makeValueLabel(GroupBox11, "staFadeout");
}
