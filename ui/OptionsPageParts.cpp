#include "ui/OptionsPageParts.h"

#include "ui/DialogParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>

namespace OptionsPageParts {

QWidget* addPage(QTabWidget& pages, const char* name, const QString& caption)
{
    auto* page = new QWidget;
    page->setObjectName(QLatin1String(name));
    pages.addTab(page, caption);
    return page;
}

QLabel* makeText(QWidget* parent, const char* name, const QString& text, const QRect& place)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(place);
    return label;
}

QSlider* makeSlider(QGroupBox* group, const char* name, const NumberRow& row)
{
    auto* slider = new QSlider(Qt::Horizontal, group);
    slider->setObjectName(QLatin1String(name));
    slider->setRange(row.first, row.lastOffered);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    slider->setPageStep(1);
    slider->setGeometry(kInnerLeft, 18, kInnerWidth, 28);
    return slider;
}

QLabel* makeValueLabel(QGroupBox* group, const char* name)
{
    return makeText(group, name, QString(), QRect(kInnerLeft, 48, kInnerWidth, 16));
}

QLineEdit* makeEdit(QGroupBox* group, const char* name)
{
    auto* edit = new QLineEdit(group);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(kInnerLeft, 20, kInnerWidth - DialogParts::kButtonWidth - 10, 22);
    return edit;
}

TNewButton* makeBrowseButton(QGroupBox* group, const char* name)
{
    return DialogParts::makeButton(group, name, QStringLiteral("&Browse"),
                                   QPoint(kInnerLeft + kInnerWidth - DialogParts::kButtonWidth, 19));
}

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& text, int top)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(kInnerLeft, top, kInnerWidth, 20);
    return box;
}

QComboBox* makeChoice(QWidget* parent, const char* name, const QStringList& items, const QRect& place)
{
    auto* choice = new QComboBox(parent);
    choice->setObjectName(QLatin1String(name));
    choice->addItems(items);
    choice->setGeometry(place);
    return choice;
}

QSpinBox* makeNumber(QWidget* parent, const char* name, const NumberRow& row, const QString& unit,
                     const QRect& place)
{
    auto* number = new QSpinBox(parent);
    number->setObjectName(QLatin1String(name));
    number->setRange(row.first, row.lastOffered);
    number->setSuffix(unit);
    number->setGeometry(place);
    return number;
}

QRadioButton* makeRadio(QWidget* parent, const char* name, const QString& text, const QPoint& at)
{
    auto* radio = new QRadioButton(text, parent);
    radio->setObjectName(QLatin1String(name));
    radio->setGeometry(QRect(at, QSize(kInnerWidth / 2, 20)));
    return radio;
}

}  // namespace OptionsPageParts
