#include "controls/TNewButton.h"

TNewButton::TNewButton(QWidget* parent)
    : TNewButton(QString(), parent)
{
}

TNewButton::TNewButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent)
{
    resize(width(), 23);
}
