#include "platform/ProgramStarter.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <utility>

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
        } else if (!quoted && (c == u' ' || c == u'\t')) {
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

bool StartProgram(const QString& commandLine)
{
    QStringList arguments = SplitCommandLine(commandLine);
    if (arguments.isEmpty() || arguments.first().isEmpty())
        return false;
    const QString name = arguments.takeFirst();
    const QString program =
        name.contains(u'/') ? name : QStandardPaths::findExecutable(name);
    const QFileInfo file(program);
    if (program.isEmpty() || !file.isFile() || !file.isExecutable())
        return false;
    return QProcess::startDetached(file.absoluteFilePath(), arguments);
}
