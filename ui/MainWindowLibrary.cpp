// The library window, opened from the disc menu.
#include "ui/TMainWindow.h"

#include "ui/LibraryWindow.h"

#include <QAction>

void TMainWindow::connectLibrary()
{
    connect(m_form.mnuDisc_Library, &QAction::triggered, this, &TMainWindow::showLibrary);
}

void TMainWindow::showLibrary()
{
    if (!m_libraryWindow)
        m_libraryWindow = new LibraryWindow(*m_session, this);
    m_libraryWindow->show();
    m_libraryWindow->raise();
    m_libraryWindow->activateWindow();
}
