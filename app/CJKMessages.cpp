#include "app/CJKMessages.h"

#include "app/ScreenCursor.h"

#include <QHash>

namespace {

MessageBoxes* g_boxes = nullptr;

const QString kBreak = QStringLiteral("\r\n\r\n");

const QHash<int, QString>& catalogue()
{
    static const QHash<int, QString> texts = {
        {1000, "Can't initialize Soundoutput. Maybe there is another application running that "
               "uses the Soundcard or you just don't have a soundcard. You should exit Jukarium "
               "immediately!"},
        {1100, "Load Error! Can't read module \"%1\"." + kBreak +
                   "Either this is an unknown type, the module is corrupt or it doesn't exists."},
        {1300, "Can't change to \"%1\". Maybe this path doesn't exist any longer."},
        {1310, "Unable to access drive \"%1\". This drive seems to be empty."},
        {1400, "Unable to create directory \"%1\"! Please retry."},
        {1500, "Can't copy module to \"%1\". This module already exists!"},
        {1510, "Can't copy module to \"%1\"." + kBreak + "%2."},
        {1610, "Can't move module to \"%1\"." + kBreak + "%2."},
        {1700, "Can't delete \"%1\". Unexpected error."},
        {1800, "Can't save \"%1\" as an audio file." + kBreak + "%2."},
        {3000, "This file is not a Jukarium disc or the disc is corrupt: %1"},
        {3100, "Can't save disc \"%1\". Unknown error!"},
        {3200, "There is no selection for this command! Please select \"Actions\"-\"Options\"-"
               "\"User Action #%1\" within the menu and choose a file."},
        {3300, "Unable to execute \"%1\"! Either this is not an Windows/DOS application or the "
               "path is not correct."},
        {3400, "Unable to display Information about \"%1\". I can't list any instruments or "
               "find a MDZ/FILE_ID.DIZ file."},
        {3500, "No volume control was found. Jukarium looked for %1." + kBreak +
                   "Please install one of them, or choose a program under \"Actions\"-"
                   "\"Options\"."},
        {3600, "This disc hasen't been saved yet. Please save this disc and try again."},
        {3700, "There are modules with same names assigned to this disc (e.g. C:\\FLY.MOD and "
               "C:\\MODS\\FLY.MOD)." + kBreak +
                   "Jukarium can't move all modules to a directory when there are modules with "
                   "equal names."},
        {3800, "Sorry, but there isn't enough space left on \"%1\". Please select a diffrent "
               "directory and try again."},
        {3900, "General copy-error!" + kBreak +
                   "Maybe there is a module with the same name in \"%1\". Please select a other "
                   "directory and try again."},
        {4000, "No disc was assigned to this button." + kBreak +
                   "Either you assign a disc by clicking on this button with your right "
                   "mousebutton and select \"Browse Disc\" or you should see the help for details "
                   "about this button (\"Help\" - \"What do I see here?\")"},
        {20000, "You have to open a module first to use this function."},
        {20100, "This function is only available when several modules are selected." + kBreak +
                    "To open several modules, please select one module, hold the SHIFT-Key down "
                    "and select another module."},
        {20200, "No slot of this disc holds a module."},
        {21000, "All modules on this disc and the disc itself have been succesfully moved to %1."},
        {30000, "There have been changes to the current disc. Save?"},
        {30100, "Are you really sure to delete \"%1\"? Note: The module will NOT be found in the "
                "trashcan!"},
        {30200, "These files exist already:" + kBreak + "%1" + kBreak + "Replace them?"},
    };
    return texts;
}

// Shows one box with the arrow cursor and puts back the cursor it found.
MessageBoxRequest::Button present(const MessageBoxRequest& request)
{
    const CursorShape found = ScreenCursor::shape();
    ScreenCursor::set(CursorShape::Arrow);
    const auto answer = g_boxes ? g_boxes->present(request) : request.escapeButton;
    ScreenCursor::set(found);
    return answer;
}

// The box of code (an error below 20000, an information from there) showing text.
void showText(int code, const QString& text)
{
    using Button = MessageBoxRequest::Button;
    MessageBoxRequest request;
    const bool error = code < 20000;
    request.caption = error ? QStringLiteral("Error") : QStringLiteral("Information");
    request.icon = error ? MessageBoxRequest::Icon::Error : MessageBoxRequest::Icon::Information;
    request.text = text;
    request.buttons = MessageBoxRequest::Buttons::Ok;
    request.defaultButton = Button::Ok;
    request.escapeButton = Button::Ok;
    present(request);
}

}  // namespace

QString CJKMessages::InsertArgument(const QString& text, const QString& argument)
{
    const qsizetype at = text.indexOf(QLatin1String("%1"));
    if (at < 0)
        return text;
    QString result = text;
    return result.replace(at, 2, argument);
}

QString CJKMessages::InsertArguments(const QString& text, const QString& first,
                                     const QString& second)
{
    const qsizetype at = text.indexOf(QLatin1String("%2"));
    if (at < 0)
        return InsertArgument(text, first);
    // Each part is filled on its own, so neither argument is scanned for the other's mark.
    const QString before = text.left(at);
    const QString after = text.mid(at + 2);
    if (before.contains(QLatin1String("%1")))
        return InsertArgument(before, first) + second + after;
    return before + second + InsertArgument(after, first);
}

QString CJKMessages::MessageText(int code)
{
    const auto found = catalogue().constFind(code);
    if (found != catalogue().constEnd())
        return *found;
    return QStringLiteral("Unexpected error! (Code #%1 - [%2])").arg(code).arg(QStringLiteral("%1"));
}

void CJKMessages::Show(int code, const QString& argument)
{
    showText(code, InsertArgument(MessageText(code), argument));
}

void CJKMessages::Show(int code, const QString& argument, const QString& second)
{
    showText(code, InsertArguments(MessageText(code), argument, second));
}

int CJKMessages::Ask(int code, const QString& argument)
{
    using Button = MessageBoxRequest::Button;
    MessageBoxRequest request;
    request.caption = QStringLiteral("Confirm");
    request.icon = MessageBoxRequest::Icon::Question;
    request.text = InsertArgument(MessageText(code), argument);
    const bool yesNoCancel = code <= 30000;
    request.buttons = yesNoCancel ? MessageBoxRequest::Buttons::YesNoCancel
                                  : MessageBoxRequest::Buttons::OkCancel;
    request.defaultButton = yesNoCancel ? Button::Yes : Button::Ok;
    request.escapeButton = Button::Cancel;
    switch (present(request)) {
    case Button::Yes:
    case Button::Ok:
        return AnswerYes;
    case Button::No:
        return yesNoCancel ? AnswerNo : AnswerCancel;
    case Button::Cancel:
        break;
    }
    return AnswerCancel;
}

void CJKMessages::SetMessageBoxes(MessageBoxes* boxes) { g_boxes = boxes; }
