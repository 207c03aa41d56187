#pragma once

// Building blocks shared by the small dialogs: their font, window decoration, buttons and
// group boxes, placed by fixed geometry (pixels of a 96 dpi design, client coordinates).
// Header only; GUI thread only. Every control gets its name as objectName.

#include "controls/TNewButton.h"
#include "ui/F1Help.h"
#include "ui/HelpContexts.h"

#include <QDialog>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRect>
#include <QString>

namespace DialogParts {

constexpr int kButtonWidth = 75;
constexpr int kHintDisplayMs = 3500;

/// Gives dialog the form font and a title bar with system menu and close box, and a fixed
/// client size.
inline void setUpDialog(QDialog& dialog, const char* name, const QSize& clientSize)
{
    dialog.setObjectName(QLatin1String(name));
    dialog.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint);
    QFont formFont(QStringLiteral("Liberation Sans"));
    formFont.setPixelSize(11);
    dialog.setFont(formFont);
    dialog.setFixedSize(clientSize);
}

/// A TNewButton of the standard width at topLeft; clicking it runs nothing until connected.
inline TNewButton* makeButton(QWidget* parent, const char* name, const QString& text,
                              const QPoint& topLeft)
{
    auto* button = new TNewButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(QRect(topLeft, QSize(kButtonWidth, button->height())));
    return button;
}

inline QGroupBox* makeGroup(QWidget* parent, const char* name, const QString& title,
                            const QRect& place)
{
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(QLatin1String(name));
    group->setGeometry(place);
    return group;
}

/// The content area of a group box of width groupWidth, from below its title.
inline QRect groupContent(int groupWidth, int height)
{
    return QRect(8, 16, groupWidth - 16, height);
}

/// The form of the dialogs that ask for one name: a group showing a path in a word-wrapped
/// label, a group with the name's edit field, OK (the default button) and Cancel on the right.
struct NameForm {
    QGroupBox* GroupBox1 = nullptr;
    QLabel* pathLabel = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLineEdit* nameEdit = nullptr;
    TNewButton* btnOK = nullptr;
    TNewButton* btnCancel = nullptr;
};

/// Lays out a NameForm on dialog, whose fixed client size must already be set: the path group
/// takes pathGroupHeight, the name group sits below it; the buttons are on the right. F1 shows
/// pathHelp in the path group, nameHelp in the name group and the buttons' own help on them.
inline NameForm buildNameForm(QDialog& dialog, const char* labelName, const QString& pathTitle,
                              const char* editName, const QString& nameTitle, int pathGroupHeight,
                              int pathHelp, int nameHelp)
{
    constexpr int kMargin = 4;
    constexpr int kEditGroupHeight = 45;
    const int groupWidth = dialog.width() - 3 * kMargin - kButtonWidth - 4;

    NameForm form;
    form.GroupBox1 = makeGroup(&dialog, "GroupBox1", pathTitle,
                               QRect(kMargin, kMargin, groupWidth, pathGroupHeight));
    form.pathLabel = new QLabel(form.GroupBox1);
    form.pathLabel->setObjectName(QLatin1String(labelName));
    form.pathLabel->setWordWrap(true);
    form.pathLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    form.pathLabel->setGeometry(groupContent(groupWidth, pathGroupHeight - 20));

    form.GroupBox2 = makeGroup(&dialog, "GroupBox2", nameTitle,
                               QRect(kMargin, 2 * kMargin + pathGroupHeight, groupWidth,
                                     kEditGroupHeight));
    form.nameEdit = new QLineEdit(form.GroupBox2);
    form.nameEdit->setObjectName(QLatin1String(editName));
    form.nameEdit->setGeometry(groupContent(groupWidth, 21));

    const int buttonLeft = dialog.width() - kMargin - kButtonWidth - 4;
    form.btnOK = makeButton(&dialog, "btnOK", QStringLiteral("&OK"), QPoint(buttonLeft, 10));
    form.btnOK->setDefault(true);
    form.btnCancel = makeButton(&dialog, "btnCancel", QStringLiteral("&Cancel"),
                                QPoint(buttonLeft, 38));

    SetHelpContext(form.GroupBox1, pathHelp);
    SetHelpContext(form.GroupBox2, nameHelp);
    SetHelpContext(form.btnOK, HelpContexts::kOkButton);
    SetHelpContext(form.btnCancel, HelpContexts::kCancelButton);
    return form;
}

}  // namespace DialogParts
