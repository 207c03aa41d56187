#pragma once

#include <QString>

/// What a message box shows and offers; see MessageBoxes.
struct MessageBoxRequest {
    enum class Icon { Error, Information, Question };
    enum class Button { Ok, Yes, No, Cancel };
    enum class Buttons { Ok, YesNoCancel, OkCancel };

    QString caption;
    QString text;  // paragraphs separated by CR LF CR LF
    Icon icon = Icon::Error;
    Buttons buttons = Buttons::Ok;
    Button defaultButton = Button::Ok;
    Button escapeButton = Button::Ok;  // also the answer when the box is closed otherwise
};

/// The seam through which the catalogue shows its boxes: the program fills it with modal Qt
/// message boxes, tests with scripted answers. GUI thread only.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    /// Shows the box modally and returns the button that closed it.
    virtual MessageBoxRequest::Button present(const MessageBoxRequest& request) = 0;
};

/// The catalogue of the program's error, information and confirmation boxes. It holds no
/// state: every operation is static and works before any instance exists. The code alone
/// decides the text and the kind of box: below 20000 an error, from 20000 an information;
/// questions up to 30000 offer Yes, No and Cancel, above 30000 OK and Cancel.
class CJKMessages {
public:
    static constexpr int AnswerYes = 0;     // Yes, or OK in an OK/Cancel question
    static constexpr int AnswerNo = 5;
    static constexpr int AnswerCancel = 10;  // Cancel, Escape or the box closed

    /// Replaces the first "%1" of text by argument; later ones stay, and the argument is not
    /// scanned again. Text without "%1" comes back unchanged.
    static QString InsertArgument(const QString& text, const QString& argument);

    /// Replaces the first "%1" of text by first and the first "%2" by second; neither
    /// argument is scanned for the other's mark.
    static QString InsertArguments(const QString& text, const QString& first,
                                   const QString& second);

    /// The text of code, or the fallback "Unexpected error! (Code #<code> - [%1])".
    static QString MessageText(int code);

    /// Shows the box of code with argument in place of "%1"; returns when it is closed.
    /// The box shows the arrow cursor; the cursor found is put back afterwards.
    static void Show(int code, const QString& argument = QString());
    /// The same for a text with two marks: second goes in place of "%2" (the reason of 1510
    /// and 1610, as the system words it).
    static void Show(int code, const QString& argument, const QString& second);

    /// Asks the question of code; returns AnswerYes, AnswerNo or AnswerCancel.
    static int Ask(int code, const QString& argument = QString());

    /// Installs the boxes' seam (not owned; nullptr removes it). Without a seam Show does
    /// nothing and Ask answers AnswerCancel.
    static void SetMessageBoxes(MessageBoxes* boxes);
};
