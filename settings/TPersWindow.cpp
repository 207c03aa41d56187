#include "settings/TPersWindow.h"

#include "platform/Registry.h"

namespace {

QString nameOr(const QString& name, const char* fallback)
{
    return name.isEmpty() ? QString::fromLatin1(fallback) : name;
}

}  // namespace

TPersWindow::TPersWindow(WindowBounds& owner, Registry& registry)
    : m_owner(owner), m_registry(registry) {}

TPersWindow::~TPersWindow()
{
    if (Enabled)
        Save();
}

void TPersWindow::Loaded()
{
    if (Enabled)
        Restore();
}

void TPersWindow::Save()
{
    if (RegPath.isEmpty())
        return;
    auto store = [this](bool wanted, const QString& name, int bound) {
        if (wanted)
            m_registry.setValue(RegistryRoot::CurrentUser, RegPath, name,
                                RegistryValue::fromDword(static_cast<quint32>(bound)));
    };
    store(SaveHeight, nameOr(RgNameHeight, "Height"), m_owner.height());
    store(SaveLeft, nameOr(RgNameLeft, "Left"), m_owner.left());
    store(SaveTop, nameOr(RgNameTop, "Top"), m_owner.top());
    store(SaveWidth, nameOr(RgNameWidth, "Width"), m_owner.width());
}

void TPersWindow::Restore()
{
    m_registry.createKey(RegistryRoot::CurrentUser, RegPath);
    auto stored = [this](const QString& name) -> int {
        const auto value = m_registry.value(RegistryRoot::CurrentUser, RegPath, name);
        // Only the four bytes of a number count; anything else reads as 0, "nothing stored".
        if (!value || value->type != RegistryValue::Type::Dword)
            return 0;
        return static_cast<int>(value->number);
    };
    // X11 keeps a window's place and size in 16 bits: a number beyond them is no place or size
    // a window ever had (the frame added to it would overflow), so it reads as nothing stored,
    // and the window's own bound is saved over it.
    constexpr int kFurthest = 32767;
    auto apply = [&](bool wanted, const QString& name, void (WindowBounds::*set)(int), int least) {
        if (!wanted)
            return;
        const int bound = stored(name);
        if (bound != 0 && bound >= least && bound <= kFurthest)
            (m_owner.*set)(bound);
    };
    apply(SetHeight, nameOr(RgNameHeight, "Height"), &WindowBounds::setHeight, 1);
    apply(SetLeft, nameOr(RgNameLeft, "Left"), &WindowBounds::setLeft, -kFurthest - 1);
    apply(SetTop, nameOr(RgNameTop, "Top"), &WindowBounds::setTop, -kFurthest - 1);
    apply(SetWidth, nameOr(RgNameWidth, "Width"), &WindowBounds::setWidth, 1);
}
