#include "ui/TCRename.h"

#include "app/PathParts.h"
#include "ui/DialogParts.h"
#include "ui/F1Help.h"

#include <QFile>
#include <QLineEdit>

TCRename::TCRename(QWidget* owner)
    : QDialog(owner)
{
    DialogParts::setUpDialog(*this, "CRename", QSize(415, 99));
    InstallF1Help(this, 130100);
    setWindowTitle(QStringLiteral("Rename module"));
    const DialogParts::NameForm form = DialogParts::buildNameForm(
        *this, "ediPath", QStringLiteral("Path to module"), "ediName",
        QStringLiteral("New name of module"), 42, 130100, 130200);
    ediPath = form.pathLabel;
    ediName = form.nameEdit;
    btnOK = form.btnOK;
    btnCancel = form.btnCancel;
    connect(btnOK, &QPushButton::clicked, this, &TCRename::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TCRename::btnCancelClick);
    move(267, 233);
}

QString TCRename::RenameModuleDialog(const QString& path)
{
    OldPath = path;
    NewPath.clear();
    RenameOk = false;
    ediPath->setText(PathParts::DirectoryPart(path));
    ediName->setText(PathParts::FileNamePart(path));
    exec();
    return RenameOk ? NewPath : QString();
}

void TCRename::btnOKClick()
{
    const QString name = ediName->text();
    NewPath = PathParts::DirectoryPart(OldPath) + name;
    // A "/" in the name would move the file into another directory instead of renaming it
    // in place, so such a name fails like any other refused name. QFile::rename refuses an
    // existing target, so no file is ever replaced.
    RenameOk = !name.contains(QLatin1Char('/')) && QFile::rename(OldPath, NewPath);
    done(RenameOk ? Accepted : Rejected);
}

void TCRename::btnCancelClick()
{
    RenameOk = false;
    reject();
}
