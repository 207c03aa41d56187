#pragma once

// F1 on dialogs: each control may carry a help context, and F1 shows the page of the focused
// control's context in the help window (THelpWindow). GUI thread only.

class QShortcut;
class QWidget;

/// Gives widget, and the widgets inside it that have none of their own, the help context F1
/// shows while one of them has the focus (see InstallF1Help).
void SetHelpContext(QWidget* widget, int context);

/// Makes F1 on dialog show help: the "helpContext" property (an int) of the focused widget or,
/// when it has none, of its nearest parent up to dialog that has one; dialog itself gets
/// context. Works while dialog is the active window, also inside a modal run. The shortcut
/// belongs to dialog.
QShortcut* InstallF1Help(QWidget* dialog, int context);

/// The context F1 shows for focus inside dialog, as InstallF1Help finds it; 0 when neither
/// has one.
int HelpContextFor(const QWidget* focus, const QWidget* dialog);
