#pragma once

class QFileDialog;

/// Shows the files of one of our (non-native) file dialogs in detail columns that keep sizes,
/// types and dates whole, the name taking the rest, in a dialog wide enough for them.
/// Call before showing. GUI thread only.
void FitFileDialogColumns(QFileDialog& dialog);
