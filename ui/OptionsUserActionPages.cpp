#include "ui/OptionsPages.h"

#include "ui/DialogParts.h"
#include "ui/F1Help.h"
#include "ui/OptionsForm.h"
#include "ui/OptionsPageParts.h"

#include <QCheckBox>
#include <QTabWidget>

using namespace OptionsPageParts;

namespace {

const QString kUserActionHint = QStringLiteral(
    "You may specify the current Module by typing %1 anywhere. %1 will insert the current name "
    "and path in short Form (8+3), \"%1\" will do the same with long Filenames.");

/// The names of a user action page's own controls; those of its inputs are numbered instead.
struct PageNames {
    const char* sheet;
    const char* caption;
    const char* group;
    const char* hintGroup;
    const char* hintLabel;
};

constexpr PageNames kPages[] = {
    {"TabSheet2", "User Actions #1", "GroupBox4", "GroupBox5", "Label3"},
    {"TabSheet4", "User Action #2", "GroupBox8", "GroupBox6", "Label2"},
    {"TabSheet5", "User Action #3", "GroupBox9", "GroupBox7", "Label4"},
};

OptionsForm::UserAction addUserAction(QTabWidget& pages, int n, const PageNames& names)
{
    const auto numbered = [n](const char* stem) { return QByteArray(stem) + QByteArray::number(n); };
    QWidget* page = addPage(pages, names.sheet, QLatin1String(names.caption));
    // F10, F11 and F12 run user actions 1 to 3.
    QGroupBox* group = DialogParts::makeGroup(
        page, names.group, QStringLiteral("Execute this Line when selected (F%1)").arg(9 + n),
        QRect(kGroupLeft, 4, kGroupWidth, 100));
    OptionsForm::UserAction action;
    action.edit = makeEdit(group, numbered("ediAction").constData());
    action.browse = makeBrowseButton(group, numbered("btnUserAction").constData());
    action.sleep = makeCheckBox(group, numbered("chkSleep").constData(),
                                QStringLiteral("Sleep for 1 second before execute"), 50);
    action.close = makeCheckBox(group, numbered("chkClose").constData(),
                                QStringLiteral("Close module before execute"), 72);
    SetHelpContext(action.edit, 100500);
    SetHelpContext(action.browse, 100900);
    SetHelpContext(action.sleep, 100600);
    SetHelpContext(action.close, 100700);

    QGroupBox* hint = DialogParts::makeGroup(page, names.hintGroup, QStringLiteral("Hint"),
                                             QRect(kGroupLeft, 110, kGroupWidth, 76));
    makeText(hint, names.hintLabel, kUserActionHint, QRect(kInnerLeft, 18, kInnerWidth, 52));
    return action;
}

}  // namespace

void OptionsPages::addUserActions(OptionsForm& form)
{
    for (int n = 1; n <= 3; ++n)
        form.userActions[n - 1] = addUserAction(*form.PageControl1, n, kPages[n - 1]);
}
