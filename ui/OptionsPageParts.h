#pragma once

// Building blocks of the options dialog's pages: a page's geometry, the page itself and the
// controls of its group boxes, placed by fixed geometry (pixels of a 96 dpi design). GUI thread
// only. Every control gets its name as objectName.

#include "settings/OptionRows.h"

#include <QPoint>
#include <QRect>
#include <QString>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QWidget;
class TNewButton;

namespace OptionsPageParts {

// A page holds group boxes of the full width, one above the other.
constexpr int kGroupLeft = 4;
constexpr int kGroupWidth = 424;
constexpr int kInnerLeft = 8;
constexpr int kInnerWidth = kGroupWidth - 2 * kInnerLeft;

/// A new page at the end of pages, with caption on its tab.
QWidget* addPage(QTabWidget& pages, const char* name, const QString& caption);

/// A word-wrapped text, top left aligned.
QLabel* makeText(QWidget* parent, const char* name, const QString& text, const QRect& place);

/// A horizontal slider over the positions row offers (first to lastOffered), with one tick per
/// position, across the top of group.
QSlider* makeSlider(QGroupBox* group, const char* name, const NumberRow& row);

/// The label below a slider of makeSlider that shows its value.
QLabel* makeValueLabel(QGroupBox* group, const char* name);

/// An edit field across the top of group, leaving room for a browse button on its right.
QLineEdit* makeEdit(QGroupBox* group, const char* name);

/// "&Browse", right of an edit field of makeEdit.
TNewButton* makeBrowseButton(QGroupBox* group, const char* name);

/// A check box across parent at top.
QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& text, int top);

/// A drop-down list of items at place, the first chosen.
QComboBox* makeChoice(QWidget* parent, const char* name, const QStringList& items, const QRect& place);

/// A number field over the numbers row offers, its unit after each number, at place.
QSpinBox* makeNumber(QWidget* parent, const char* name, const NumberRow& row, const QString& unit,
                     const QRect& place);

/// A radio button half the width of a group's content, at.
QRadioButton* makeRadio(QWidget* parent, const char* name, const QString& text, const QPoint& at);

}  // namespace OptionsPageParts
