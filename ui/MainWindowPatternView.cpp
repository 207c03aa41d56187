// The pattern view, a window of its own over the module that plays.
#include "ui/TMainWindow.h"

#include "platform/Registry.h"
#include "settings/RegistryKeys.h"
#include "ui/PatternView.h"

#include <QAction>

namespace {

const QString kOpenValue = QStringLiteral("Open");

}  // namespace

void TMainWindow::connectPatternView()
{
    connect(m_form.mnuFile_PatternView, &QAction::toggled, this, [this](bool open) {
        if (open) {
            showPatternView(true);
        } else if (m_patternView) {
            // Its module and its memory go with it; later, as this may come from its own
            // close.
            m_patternView->hide();
            m_patternView.release()->deleteLater();
        }
    });
    const auto open = m_registry.value(RegistryRoot::CurrentUser, RegistryKeys::kPatternView, kOpenValue);
    if (open && open->type == RegistryValue::Type::Dword && open->number == 1)
        m_form.mnuFile_PatternView->setChecked(true);
}

void TMainWindow::showPatternView(bool shown)
{
    if (shown && !m_patternView) {
        m_patternView = std::make_unique<PatternView>(player(), m_registry, this);
        // The first time beside the main window, not over it.
        if (!m_registry.value(RegistryRoot::CurrentUser, RegistryKeys::kPatternView, QStringLiteral("Left")))
            m_patternView->move(frameGeometry().topRight() + QPoint(8, 0));
        // Closed by its own title bar, it is unticked in the menu. Closed as the program ends
        // (all windows close on a termination signal), it opens again at the next start.
        connect(m_patternView.get(), &PatternView::closed, this, [this] {
            if (!m_ending && isVisible())
                m_form.mnuFile_PatternView->setChecked(false);
        });
        // The key that opens it closes it, from either window.
        m_patternView->addAction(m_form.mnuFile_PatternView);
    }
    if (m_patternView)
        m_patternView->setVisible(shown);
}

void TMainWindow::closePatternView()
{
    const bool open = m_form.mnuFile_PatternView->isChecked();
    m_registry.setValue(RegistryRoot::CurrentUser, RegistryKeys::kPatternView, kOpenValue,
                        RegistryValue::fromDword(open ? 1 : 0));
    if (m_patternView)
        m_patternView->hide();  // stops watching while the player is there
    m_patternView.reset();
}
