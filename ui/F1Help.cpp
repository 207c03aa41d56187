#include "ui/F1Help.h"

#include "ui/THelpWindow.h"

#include <QShortcut>
#include <QVariant>
#include <QWidget>

namespace {

const char* const kHelpContextProperty = "helpContext";

}  // namespace

int HelpContextFor(const QWidget* focus, const QWidget* dialog)
{
    for (const QWidget* widget = focus; widget; widget = widget->parentWidget()) {
        const QVariant context = widget->property(kHelpContextProperty);
        if (context.isValid() && context.toInt() != 0)
            return context.toInt();
        if (widget == dialog)
            break;
    }
    return dialog ? dialog->property(kHelpContextProperty).toInt() : 0;
}

void SetHelpContext(QWidget* widget, int context)
{
    widget->setProperty(kHelpContextProperty, context);
}

QShortcut* InstallF1Help(QWidget* dialog, int context)
{
    SetHelpContext(dialog, context);
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1), dialog);
    QObject::connect(shortcut, &QShortcut::activated, dialog, [dialog] {
        THelpWindow::ShowHelp(HelpContextFor(dialog->focusWidget(), dialog), dialog);
    });
    return shortcut;
}
