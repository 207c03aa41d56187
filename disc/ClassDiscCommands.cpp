// The disc commands of the menu and the disc buttons, with the save question before anything
// replaces a changed disc.
#include "disc/ClassDisc.h"

#include "app/CJKMessages.h"
#include "disc/DiscHost.h"
#include "app/PathParts.h"
#include "settings/ClassOptions.h"

#include <algorithm>

bool ClassDisc::QuerySave()
{
    if (!m_changed)
        return false;
    switch (CJKMessages::Ask(30000)) {
    case CJKMessages::AnswerYes:
        SaveDisc();  // the caller goes on even when saving failed or was cancelled
        return false;
    case CJKMessages::AnswerNo:
        return false;
    default:
        return true;
    }
}

void ClassDisc::NewDisc()
{
    if (QuerySave())
        return;
    ClearAll();
    m_host.SetStatusText(QStringLiteral("New (empty) disc created"));
}

bool ClassDisc::NewDiscWith(const QList<std::pair<QString, QString>>& modules)
{
    if (QuerySave())
        return false;
    ClearAll();
    const int count = std::min(int(modules.size()), kSlotCount);
    for (int n = 1; n <= count; ++n)
        PutModule(n, modules[n - 1].first, modules[n - 1].second);
    m_host.SetStatusText(QStringLiteral("New disc created with %1 modules").arg(count));
    return true;
}

void ClassDisc::CloseDisc()
{
    if (QuerySave())
        return;
    ClearAll();
    m_host.SetStatusText(QStringLiteral("Disc closed"));
}

QString ClassDisc::ChooseDiscFile()
{
    if (QuerySave())
        return QString();
    const QString name = m_host.ChooseDiscFile(m_options.OpenDiscPath());
    if (!name.isEmpty())
        m_options.SetOpenDiscPath(PathParts::DirectoryPart(name));
    return name;
}

void ClassDisc::OpenDisc()
{
    const QString name = ChooseDiscFile();
    if (!name.isEmpty())
        LoadFromFile(name);
}

void ClassDisc::SaveDisc()
{
    if (m_discFileName.size() > 1 && m_discFileName != kNoDiscLoaded)
        SaveToFile(m_discFileName);
    else
        SaveDiscAs();
}

void ClassDisc::SaveDiscAs()
{
    const QString name = m_host.ChooseSaveDiscFile();
    if (name.isEmpty())
        return;
    SaveToFile(name);
    m_options.SetOpenDiscPath(PathParts::DirectoryPart(name));
    RefreshDisplay();
}

void ClassDisc::OpenDiscButton(int b)
{
    if (QuerySave())
        return;
    const QString path = DiscButtonPath(b);
    if (path != kNoDiscSelected && path.size() > 2)
        LoadFromFile(path);
    else
        CJKMessages::Show(4000);
}

void ClassDisc::ShowDiscButtonMenu(int b, int x, int y)
{
    const QString& path = DiscButtonPath(b);
    m_popupDiscButton = b;
    m_host.ShowDiscButtonMenu(x, y, path.size() > 1 && path != kNoDiscSelected);
}

void ClassDisc::BrowseDiscButton()
{
    // The dialog asks to save first, as every open dialog for discs does, though nothing is
    // loaded here.
    const QString name = ChooseDiscFile();
    if (name.isEmpty())
        return;
    m_discButtonPaths[buttonIndex(m_popupDiscButton)] = name;
    RefreshDisplay();
    m_changed = true;
}

void ClassDisc::ClearDiscButton()
{
    m_discButtonPaths[buttonIndex(m_popupDiscButton)] = kNoDiscSelected;
    RefreshDisplay();
    m_changed = true;
}
