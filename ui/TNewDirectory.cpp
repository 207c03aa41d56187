#include "ui/TNewDirectory.h"

#include "app/CJKMessages.h"
#include "ui/DialogParts.h"
#include "ui/F1Help.h"

#include <QDir>
#include <QLineEdit>

namespace {
constexpr int kCodeCannotCreate = 1400;
}

TNewDirectory::TNewDirectory(QWidget* owner)
    : QDialog(owner)
{
    DialogParts::setUpDialog(*this, "NewDirectory", QSize(422, 133));
    InstallF1Help(this, 120100);
    setWindowTitle(QStringLiteral("Create new Directory"));
    const DialogParts::NameForm form = DialogParts::buildNameForm(
        *this, "Label1", QStringLiteral("Create Directory in"), "ediDirectory",
        QStringLiteral("Name of new Directory"), 72, 120100, 120200);
    Label1 = form.pathLabel;
    ediDirectory = form.nameEdit;
    btnOK = form.btnOK;
    btnCancel = form.btnCancel;
    connect(btnOK, &QPushButton::clicked, this, &TNewDirectory::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TNewDirectory::btnCancelClick);
}

QString TNewDirectory::CreateDirectoryDialog(const QString& parent)
{
    Created = false;
    ParentPath = parent;
    Label1->setText(parent);
    exec();
    return Created ? ParentPath : QString();
}

QString TNewDirectory::JoinPath(const QString& parent, const QString& name)
{
    return parent.endsWith(QLatin1Char('/')) ? parent + name : parent + QLatin1Char('/') + name;
}

void TNewDirectory::btnOKClick()
{
    ParentPath = JoinPath(ParentPath, ediDirectory->text());
    // The name is not examined: whatever the file system refuses is reported the same way.
    Created = QDir().mkdir(ParentPath);
    if (!Created)
        CJKMessages::Show(kCodeCannotCreate, ParentPath);
    // Closed either way: after a failure the user starts again from the chooser.
    done(Created ? Accepted : Rejected);
}

void TNewDirectory::btnCancelClick()
{
    Created = false;
    reject();
}

void TNewDirectory::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ediDirectory->setFocus();
}
