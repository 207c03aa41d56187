#include "platform/ProgramStarter.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// A program and its arguments; an empty program means there is nothing to start.
struct Command {
    QString program;
    QStringList arguments;
};

// The absolute path of the executable regular file that name stands for, or empty.
QString executableFile(const QString& name)
{
    if (name.isEmpty())
        return QString();
    const QString program =
        name.contains(u'/') ? name : QStandardPaths::findExecutable(name);
    const QFileInfo file(program);
    if (program.isEmpty() || !file.isFile() || !file.isExecutable())
        return QString();
    return file.absoluteFilePath();
}

// An absolute line read with the longest run of leading words, up to a blank or tab and
// before any double quote, that names a program.
Command longestLeadingProgram(const QString& commandLine)
{
    const auto start = std::find_if_not(commandLine.cbegin(), commandLine.cend(), isBlank);
    if (start == commandLine.cend() || *start != u'/')
        return {};
    const auto quote = std::find(start, commandLine.cend(), u'"');
    for (auto end = quote; end != start; --end) {
        const bool endsWord = (end == commandLine.cend() || isBlank(*end)) && !isBlank(end[-1]);
        if (!endsWord)
            continue;
        const QString program = executableFile(QString(start, end - start));
        if (!program.isEmpty())
            return {program, SplitCommandLine(QString(end, commandLine.cend() - end))};
    }
    return {};
}

// The line read as SplitCommandLine reads it: the first word is the program.
Command firstWordProgram(const QString& commandLine)
{
    QStringList words = SplitCommandLine(commandLine);
    if (words.isEmpty())
        return {};
    const QString program = executableFile(words.takeFirst());
    return {program, words};
}

}  // namespace

QStringList SplitCommandLine(const QString& commandLine)
{
    QStringList words;
    QString word;
    bool inWord = false;  // also true for a word that so far is only "" (an empty argument)
    bool quoted = false;
    for (const QChar c : commandLine) {
        if (c == u'"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && isBlank(c)) {
            if (inWord)
                words.append(std::exchange(word, QString()));
            inWord = false;
        } else {
            word.append(c);
            inWord = true;
        }
    }
    if (inWord)
        words.append(word);
    return words;
}

QString CommandLineWord(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), isBlank) ? u'"' + text + u'"' : text;
}

bool StartProgram(const QString& commandLine)
{
    Command command = longestLeadingProgram(commandLine);
    if (command.program.isEmpty())
        command = firstWordProgram(commandLine);
    return !command.program.isEmpty() &&
           QProcess::startDetached(command.program, command.arguments);
}
