#pragma once

// Help context numbers and the help pages that explain them.

#include <QString>

namespace HelpContexts {

/// Context numbers of the dialogs' OK and Cancel buttons, the main window's help commands and
/// its file dialogs. The numbers of the other controls of the dialogs (100100 buffer size,
/// 110100 drive, ...) are listed with their pages in HelpContexts.cpp.
constexpr int kOkButton = 90100;
constexpr int kCancelButton = 90200;
constexpr int kWhatIsJukarium = 1000;
constexpr int kWhatDoISeeHere = 2000;
constexpr int kOpenModule = 200100;
constexpr int kOpenDisc = 200200;
constexpr int kSaveDiscAs = 200300;

/// The contents page ("&Contents") and the page on using the help window ("&Help on Help").
inline const QString kContentsPage = QStringLiteral("index.html");
inline const QString kHelpOnHelpPage = QStringLiteral("help-on-help.html");

}  // namespace HelpContexts

/// The help page for context, relative to the help folder: "page.html" or "page.html#anchor".
/// Every context number the program hands out has its page; any other number gives the
/// contents page, so F1 always shows something.
QString HelpPage(int context);
