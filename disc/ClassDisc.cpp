// The disc's state and its display, and the operations on single slots.
#include "disc/ClassDisc.h"

#include "disc/DiscHost.h"
#include "app/PathParts.h"

ClassDisc::ClassDisc(DiscHost& host, ClassOptions& options)
    : m_host(host),
      m_options(options),
      m_slotPaths(kSlotCount, QStringLiteral(" ")),
      m_slotTitles(kSlotCount, QStringLiteral(" "))
{
    ClearAll();
}

ClassDisc::~ClassDisc()
{
    UnmarkCurrentSlot();
}

QString ClassDisc::SlotPath(int n) const
{
    return validSlot(n) ? m_slotPaths[n - 1] : QString();
}

QString ClassDisc::SlotTitle(int n) const
{
    return validSlot(n) ? m_slotTitles[n - 1] : QString();
}

QString ClassDisc::SlotHint(int n) const
{
    const int subsong = m_slotSubsongs[n - 1];
    return subsong > 0 ? m_slotTitles[n - 1] + QStringLiteral(" (subsong %1)").arg(subsong + 1) : m_slotTitles[n - 1];
}

void ClassDisc::ClearAll()
{
    for (int n = 1; n <= kSlotCount; ++n)
        ClearSlot(n);
    m_discFileName = kNoDiscLoaded;
    m_discButtonPaths[0] = kNoDiscSelected;
    m_discButtonPaths[1] = kNoDiscSelected;
    m_changed = false;
    RefreshDisplay();
}

void ClassDisc::ClearSlot(int n)
{
    m_slotPaths[n - 1] = QStringLiteral(" ");
    m_slotTitles[n - 1] = QStringLiteral(" ");
    m_slotSubsongs[n - 1] = 0;
    m_host.SetSlotHint(n, QString());
    m_host.SetSlotAssigned(n, false);
    if (n == m_currentSlot)
        UnmarkCurrentSlot();  // the number stays, so a later path change still finds the slot
    m_changed = true;
}

void ClassDisc::RefreshDisplay()
{
    m_host.SetDiscCaption(PathParts::FileNamePart(m_discFileName));
    m_host.SetDiscButtonCaption(1, PathParts::FileNamePart(m_discButtonPaths[0]));
    m_host.SetDiscButtonCaption(2, PathParts::FileNamePart(m_discButtonPaths[1]));
}

QString ClassDisc::ResolvePath(const QString& path) const
{
    if (!PathParts::DirectoryPart(path).isEmpty())
        return path;
    // Without a disc file ("(no disc loaded)" has no directory) the bare name stays bare.
    return PathParts::DirectoryPart(m_discFileName) + path;
}

void ClassDisc::MarkCurrentSlot()
{
    if (m_currentSlot > 0)
        m_host.SetSlotCurrent(m_currentSlot, true);
}

void ClassDisc::UnmarkCurrentSlot()
{
    if (m_currentSlot > 0)
        m_host.SetSlotCurrent(m_currentSlot, false);
}

QString ClassDisc::SlotModulePath(int n) const
{
    return validSlot(n) && assigned(n) ? ResolvePath(m_slotPaths[n - 1]) : QString();
}

void ClassDisc::SetCurrentSlot(int n)
{
    if (!validSlot(n))
        return;
    UnmarkCurrentSlot();
    m_currentSlot = n;
    MarkCurrentSlot();
}

int ClassDisc::NeighbourSlot(int from, int step) const
{
    // From the slot on, or from just outside the disc so that the first step lands on slot 1
    // (forward) or 20 (back).
    const int start = validSlot(from) ? from : (step > 0 ? 0 : kSlotCount + 1);
    for (int i = 1; i <= kSlotCount; ++i) {
        const int n = ((start - 1 + step * i) % kSlotCount + kSlotCount) % kSlotCount + 1;
        if (assigned(n))
            return n;
    }
    return 0;
}

void ClassDisc::ShowSlotMenu(int n, int x, int y)
{
    if (!validSlot(n))
        return;
    m_popupSlot = n;
    m_host.ShowSlotMenu(x, y, m_host.CurrentModuleTitle().size() > 1, assigned(n));
}

void ClassDisc::AssignSlot(int n, const QString& path)
{
    if (!validSlot(n))
        return;
    PutModule(n, path, m_host.CurrentModuleTitle(), m_host.CurrentSubsong());
    UnmarkCurrentSlot();
    m_currentSlot = n;
    MarkCurrentSlot();
}

void ClassDisc::PutModule(int n, const QString& path, const QString& title, int subsong)
{
    if (!validSlot(n))
        return;
    m_changed = true;
    m_slotPaths[n - 1] = path;
    m_slotTitles[n - 1] = title;
    m_slotSubsongs[n - 1] = subsong;
    m_host.SetSlotHint(n, SlotHint(n));
    m_host.SetSlotAssigned(n, true);
}

void ClassDisc::AssignPopupSlot(const QString& path)
{
    AssignSlot(m_popupSlot, path);
}

void ClassDisc::ClearPopupSlot()
{
    if (validSlot(m_popupSlot))
        ClearSlot(m_popupSlot);
}

void ClassDisc::ForgetCurrentSlot()
{
    UnmarkCurrentSlot();
    m_currentSlot = 0;
}

void ClassDisc::ModulePathChanged(const QString& path)
{
    m_host.SetModulePath(path);
    if (m_currentSlot <= 0)
        return;
    m_changed = true;
    if (!path.isEmpty())
        m_slotPaths[m_currentSlot - 1] = path;  // the title stays: it is the same module
    else
        ClearSlot(m_currentSlot);
}
