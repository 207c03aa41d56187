#include "ui/OptionsForm.h"

#include "ui/DialogParts.h"
#include "ui/F1Help.h"
#include "ui/HelpContexts.h"
#include "ui/OptionsPages.h"

#include <QFrame>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

namespace {

constexpr int kTopPanelHeight = 6;
constexpr int kBottomPanelHeight = 29;
constexpr int kTabPadding = 6;  // on each side of a tab's caption, where the width allows
constexpr int kSmallestTabFontPixels = 8;

QFrame* makePanel(QWidget* parent, const char* name, const QRect& place)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setGeometry(place);
    return panel;
}

/// Keeps every tab of pages in sight. Six captions fit the form's width only with narrow tabs,
/// and how narrow depends on the font the desktop has: the tabs get the widest padding that
/// fits, and a smaller font only where even no padding does.
void fitTabs(QTabWidget& pages)
{
    QTabBar* tabs = pages.tabBar();
    tabs->ensurePolished();  // before that, its size does not follow the style sheet
    const auto fits = [&] { return tabs->sizeHint().width() <= pages.width(); };
    for (int padding = kTabPadding; padding >= 0; --padding) {
        tabs->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px %1px; }").arg(padding));
        if (fits())
            return;
    }
    QFont font = tabs->font();
    while (!fits() && font.pixelSize() > kSmallestTabFontPixels) {
        font.setPixelSize(font.pixelSize() - 1);
        tabs->setFont(font);
    }
}

void buildPages(OptionsForm& form, QDialog& dialog)
{
    constexpr QSize client = OptionsForm::kClientSize;
    form.Panel1 = makePanel(&dialog, "Panel1", QRect(0, 0, client.width(), kTopPanelHeight));
    form.PageControl1 = new QTabWidget(&dialog);
    form.PageControl1->setObjectName(QStringLiteral("PageControl1"));
    form.PageControl1->setGeometry(0, kTopPanelHeight, client.width(),
                                   client.height() - kTopPanelHeight - kBottomPanelHeight);
    form.PageControl1->setUsesScrollButtons(false);  // no arrows hiding pages
    OptionsPages::addGeneral(form);
    OptionsPages::addAdvanced(form);
    OptionsPages::addOther(form);
    OptionsPages::addQuality(form);
    OptionsPages::addUserActions(form);
    form.PageControl1->setCurrentIndex(0);
    fitTabs(*form.PageControl1);
}

void buildButtons(OptionsForm& form, QDialog& dialog)
{
    constexpr QSize client = OptionsForm::kClientSize;
    form.panButtom = makePanel(&dialog, "panButtom",
                               QRect(0, client.height() - kBottomPanelHeight, client.width(),
                                     kBottomPanelHeight));
    const int cancelLeft = client.width() - 8 - DialogParts::kButtonWidth;
    form.btnOK = DialogParts::makeButton(form.panButtom, "btnOK", QStringLiteral("OK"),
                                         QPoint(cancelLeft - 6 - DialogParts::kButtonWidth, 3));
    form.btnOK->setDefault(true);
    form.btnCancel = DialogParts::makeButton(form.panButtom, "btnCancel", QStringLiteral("Cancel"),
                                             QPoint(cancelLeft, 3));
    SetHelpContext(form.btnOK, HelpContexts::kOkButton);
    SetHelpContext(form.btnCancel, HelpContexts::kCancelButton);
}

}  // namespace

std::array<QRadioButton*, 4> OptionsForm::outputModes() const
{
    return {chk8bit_Mono, chk8bit_Stereo, chk16bit_Mono, chk16bit_Stereo};
}

OptionsForm BuildOptionsForm(QDialog& dialog)
{
    DialogParts::setUpDialog(dialog, "Options", OptionsForm::kClientSize);
    dialog.setWindowTitle(QStringLiteral("Options"));
    OptionsForm form;
    buildPages(form, dialog);
    buildButtons(form, dialog);
    return form;
}
