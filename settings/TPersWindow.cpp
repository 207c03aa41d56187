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
    auto apply = [&](bool wanted, const QString& name, void (WindowBounds::*set)(int)) {
        if (!wanted)
            return;
        if (const int bound = stored(name))
            (m_owner.*set)(bound);
    };
    apply(SetHeight, nameOr(RgNameHeight, "Height"), &WindowBounds::setHeight);
    apply(SetLeft, nameOr(RgNameLeft, "Left"), &WindowBounds::setLeft);
    apply(SetTop, nameOr(RgNameTop, "Top"), &WindowBounds::setTop);
    apply(SetWidth, nameOr(RgNameWidth, "Width"), &WindowBounds::setWidth);
}
