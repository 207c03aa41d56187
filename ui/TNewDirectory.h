#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class TNewButton;

/// "Create new Directory": asks for a name and creates that one directory inside a parent
/// directory. Created by its caller with an owner around one CreateDirectoryDialog; GUI thread
/// only.
class TNewDirectory : public QDialog {
    Q_OBJECT

public:
    explicit TNewDirectory(QWidget* owner = nullptr);

    /// Shows the dialog modally for parent (an absolute directory, with or without a final
    /// "/"). Returns the full path of the directory created by OK, or an empty string when
    /// the user cancelled or the creation failed (the failure has then been reported with
    /// message 1400).
    QString CreateDirectoryDialog(const QString& parent);

    /// parent and name joined by one "/" (none added when parent already ends in "/").
    static QString JoinPath(const QString& parent, const QString& name);

    /// Creates the directory named by ediDirectory in ParentPath; one level only, so a missing
    /// intermediate directory, an existing one or an empty name end in message 1400 with the
    /// full path. Closes the dialog either way.
    void btnOKClick();
    void btnCancelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* Label1 = nullptr;
    QLineEdit* ediDirectory = nullptr;
    TNewButton* btnOK = nullptr;
    TNewButton* btnCancel = nullptr;

    QString ParentPath;  // the parent on entry; the created directory after success
    bool Created = false;
};
