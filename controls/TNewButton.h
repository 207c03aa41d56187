#pragma once

#include <QPushButton>

/// The push button of the dialogs: a QPushButton 23 pixels high at first.
class TNewButton : public QPushButton {
    Q_OBJECT

public:
    explicit TNewButton(QWidget* parent = nullptr);
    explicit TNewButton(const QString& text, QWidget* parent = nullptr);
};
