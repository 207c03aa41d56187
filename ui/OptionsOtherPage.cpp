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
        QRect(kGroupLeft, 4, kGroupWidth, 86));
    SetHelpContext(GroupBox12, 100150);
    form.ediVolumeControl = makeEdit(GroupBox12, "ediVolumeControl");
    form.btnVolumeControlSelected = makeBrowseButton(GroupBox12, "btnVolumeControlSelected");
    makeText(GroupBox12, "Label5",
             QStringLiteral("This command will be executed, when you select \"Actions\" - "
                            "\"Volume\". If you want the default volume-control: leave it blank."),
             QRect(kInnerLeft, 46, kInnerWidth, 34));

    QGroupBox* GroupBox11 = DialogParts::makeGroup(page, "GroupBox11",
                                                   QStringLiteral("Fadeout-Time"),
                                                   QRect(kGroupLeft, 94, kGroupWidth, 72));
    SetHelpContext(GroupBox11, 100050);
    form.sldFadeout = makeSlider(GroupBox11, "sldFadeout", OptionsTable::kFadeout);
    form.staFadeout = makeValueLabel(GroupBox11, "staFadeout");

    // The desktop's side, below the groups: a page of their own left too many tabs to read.
    form.chkNotify = makeCheckBox(page, "chkNotify", QStringLiteral("Show a notification when a module starts"), 170);
    form.chkResume = makeCheckBox(page, "chkResume", QStringLiteral("At start, open the last disc and module"), 192);
}
