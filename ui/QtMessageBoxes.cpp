#include "ui/QtMessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

using Button = MessageBoxRequest::Button;

QMessageBox::Icon iconOf(MessageBoxRequest::Icon icon)
{
    switch (icon) {
    case MessageBoxRequest::Icon::Error:
        return QMessageBox::Critical;
    case MessageBoxRequest::Icon::Information:
        return QMessageBox::Information;
    case MessageBoxRequest::Icon::Question:
        break;
    }
    return QMessageBox::Question;
}

QList<Button> buttonsOf(MessageBoxRequest::Buttons buttons)
{
    switch (buttons) {
    case MessageBoxRequest::Buttons::Ok:
        return {Button::Ok};
    case MessageBoxRequest::Buttons::YesNoCancel:
        return {Button::Yes, Button::No, Button::Cancel};
    case MessageBoxRequest::Buttons::OkCancel:
        break;
    }
    return {Button::Ok, Button::Cancel};
}

QString captionOf(Button button)
{
    switch (button) {
    case Button::Ok:
        return QStringLiteral("OK");
    case Button::Yes:
        return QStringLiteral("&Yes");
    case Button::No:
        return QStringLiteral("&No");
    case Button::Cancel:
        break;
    }
    return QStringLiteral("Cancel");
}

QMessageBox::ButtonRole roleOf(Button button)
{
    switch (button) {
    case Button::Ok:
    case Button::Yes:
        return QMessageBox::AcceptRole;
    case Button::No:
        return QMessageBox::NoRole;
    case Button::Cancel:
        break;
    }
    return QMessageBox::RejectRole;
}

}  // namespace

MessageBoxRequest::Button QtMessageBoxes::present(const MessageBoxRequest& request)
{
    QMessageBox box;  // no parent: centred on the screen, like the catalogue's boxes
    box.setWindowTitle(request.caption);
    box.setIcon(iconOf(request.icon));
    box.setTextFormat(Qt::PlainText);
    box.setText(QString(request.text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    QHash<QAbstractButton*, Button> answers;
    for (Button button : buttonsOf(request.buttons)) {
        QPushButton* pushButton = box.addButton(captionOf(button), roleOf(button));
        answers.insert(pushButton, button);
        if (button == request.defaultButton)
            box.setDefaultButton(pushButton);
        if (button == request.escapeButton)
            box.setEscapeButton(pushButton);
    }
    box.exec();
    return answers.value(box.clickedButton(), request.escapeButton);
}
