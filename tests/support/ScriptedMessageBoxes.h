#pragma once

#include "app/CJKMessages.h"
#include "app/ScreenCursor.h"

#include <QList>

/// Message boxes for tests: records every request (and the cursor it was shown with) and
/// answers from a script; with the script empty it answers the box's escape button.
/// Installs itself for its lifetime.
class ScriptedMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        MessageBoxRequest request;
        CursorShape cursor;
    };

    ScriptedMessageBoxes() { CJKMessages::SetMessageBoxes(this); }
    ~ScriptedMessageBoxes() override { CJKMessages::SetMessageBoxes(nullptr); }

    MessageBoxRequest::Button present(const MessageBoxRequest& request) override
    {
        shown.append({request, ScreenCursor::shape()});
        return answers.isEmpty() ? request.escapeButton : answers.takeFirst();
    }

    QList<MessageBoxRequest::Button> answers;
    QList<Shown> shown;
};
