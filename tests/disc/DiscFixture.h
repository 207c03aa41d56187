#pragma once

#include "FakeDiscHost.h"
#include "disc/ClassDisc.h"
#include "platform/Registry.h"
#include "platform/TestFiles.h"
#include "settings/ClassOptions.h"
#include "support/ScriptedMessageBoxes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

/// Readable strings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

/// A fresh disc on a fake window, with its own temporary directory for discs and modules,
/// its own registry and scripted message boxes.
class DiscFixture : public ::testing::Test {
protected:
    using Button = MessageBoxRequest::Button;

    /// Full name of a file in the test's directory.
    QString path(const QString& relative) const { return m_temp.path() + "/" + relative; }

    /// A module file of size bytes (its content does not matter to the disc); its full name.
    QString module(const QString& relative, qsizetype size = 1000)
    {
        EXPECT_TRUE(writeBytes(path(relative), QByteArray(size, 'M')));
        return path(relative);
    }

    /// The current module titled title is assigned to slot n.
    void assign(int n, const QString& modulePath, const QString& title = "Some song")
    {
        host.currentTitle = title;
        disc.AssignSlot(n, modulePath);
    }

    /// The text of message code as shown with argument.
    static QString message(int code, const QString& argument = QString())
    {
        return CJKMessages::InsertArgument(CJKMessages::MessageText(code), argument);
    }

    /// The texts of every box shown so far.
    QStringList shownTexts() const
    {
        QStringList texts;
        for (const auto& shown : boxes.shown)
            texts << shown.request.text;
        return texts;
    }

    QTemporaryDir m_temp;
    Registry registry{m_temp.path() + "/registry"};
    ClassOptions options{registry};
    ScriptedMessageBoxes boxes;
    FakeDiscHost host;
    ClassDisc disc{host, options};
};
