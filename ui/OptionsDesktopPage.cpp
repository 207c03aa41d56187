#include "ui/OptionsPages.h"

#include "ui/OptionsForm.h"
#include "ui/OptionsPageParts.h"

#include <QTabWidget>

using namespace OptionsPageParts;

void OptionsPages::addDesktop(OptionsForm& form)
{
    QWidget* page = addPage(*form.PageControl1, "TabSheetDesktop", QStringLiteral("Desktop"));
    form.chkNotify = makeCheckBox(page, "chkNotify", QStringLiteral("Show a notification when a module starts"), 8);
    form.chkResume = makeCheckBox(page, "chkResume", QStringLiteral("At start, open the last disc and module"), 32);
}
