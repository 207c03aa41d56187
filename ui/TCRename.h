#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class TNewButton;

/// "Rename module": asks for a new file name for a module and renames the file within its
/// directory. Created by its caller with an owner around one RenameModuleDialog; GUI thread
/// only.
class TCRename : public QDialog {
    Q_OBJECT

public:
    explicit TCRename(QWidget* owner = nullptr);

    /// Shows the dialog modally for the module at path (absolute). Returns the new full path
    /// after a successful rename; an empty string when the user cancelled or the rename failed
    /// (no message: the module keeps its name). An existing file is never replaced.
    QString RenameModuleDialog(const QString& path);

    /// Renames OldPath to its directory followed by the text of ediName, unchanged, and
    /// closes the dialog.
    void btnOKClick();
    void btnCancelClick();

private:
    QLabel* ediPath = nullptr;
    QLineEdit* ediName = nullptr;
    TNewButton* btnOK = nullptr;
    TNewButton* btnCancel = nullptr;

    QString OldPath;
    QString NewPath;
    bool RenameOk = false;
};
