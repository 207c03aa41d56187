#include "ui/HelpContexts.h"

#include <QHash>

namespace {

// Context number -> page and anchor. Pages are named after the window they explain; anchors
// after the control or setting.
const QHash<int, QString>& pages()
{
    static const QHash<int, QString> table{
        {1000, QStringLiteral("what-is.html")},
        {2000, QStringLiteral("main-window.html")},
        {90100, QStringLiteral("buttons.html#ok")},
        {90200, QStringLiteral("buttons.html#cancel")},
        {100050, QStringLiteral("options.html#fadeout")},
        {100100, QStringLiteral("options.html#buffer-size")},
        {100150, QStringLiteral("options.html#volume-control")},
        {100200, QStringLiteral("options.html#output-mode")},
        {100300, QStringLiteral("options.html#mixing-frequency")},
        {100400, QStringLiteral("options.html#scroller-speed")},
        {100500, QStringLiteral("options.html#user-action-line")},
        {100600, QStringLiteral("options.html#user-action-sleep")},
        {100700, QStringLiteral("options.html#user-action-close")},
        {100900, QStringLiteral("options.html#user-action-browse")},
        {101000, QStringLiteral("options.html#quality")},
        {101100, QStringLiteral("options.html#at-the-end")},
        {110100, QStringLiteral("directory-chooser.html#drive")},
        {110200, QStringLiteral("directory-chooser.html#directory")},
        {110300, QStringLiteral("directory-chooser.html#selected-path")},
        {110400, QStringLiteral("directory-chooser.html#previous-paths")},
        {110500, QStringLiteral("directory-chooser.html#create-folder")},
        {120100, QStringLiteral("new-directory.html#create-in")},
        {120200, QStringLiteral("new-directory.html#name")},
        {130100, QStringLiteral("rename.html#path")},
        {130200, QStringLiteral("rename.html#new-name")},
        {200100, QStringLiteral("open-module.html")},
        {200200, QStringLiteral("discs.html#open-disc")},
        {200300, QStringLiteral("discs.html#save-disc")},
    };
    return table;
}

}  // namespace

QString HelpPage(int context)
{
    return pages().value(context, HelpContexts::kContentsPage);
}
