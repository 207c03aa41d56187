#include "settings/CLassFileLinks.h"

#include "platform/ShortPath.h"

CLassFileLinks::CLassFileLinks(Registry& registry, const QString& programPath,
                               const DesktopLocations& desktop, MessageSink showMessage)
    : CRegistryStatus(registry, std::move(showMessage))
{
    QString program = ShortPathName(programPath);
    if (program.isEmpty())
        program = programPath;
    const QString command = program + QStringLiteral(" \"%1\"");
    const QString icon = program + QStringLiteral(",0");

    WriteString(QStringLiteral("HKCR\\.MOD\\"), QStringLiteral("Jukarium.Module"));
    WriteString(QStringLiteral("HKCR\\.S3M\\"), QStringLiteral("Jukarium.Module"));
    WriteString(QStringLiteral("HKCR\\.XM\\"), QStringLiteral("Jukarium.Module"));
    WriteString(QStringLiteral("HKCR\\.JKDC\\"), QStringLiteral("Jukarium.Disc"));
    WriteString(QStringLiteral("HKCR\\Jukarium.Module\\"), QStringLiteral("Jukarium Module"));
    WriteString(QStringLiteral("HKCR\\Jukarium.Module\\Shell\\Open\\Command\\"), command);
    WriteString(QStringLiteral("HKCR\\Jukarium.Module\\DefaultIcon\\"), icon);
    WriteString(QStringLiteral("HKCR\\Jukarium.Disc\\"), QStringLiteral("Jukarium Disc"));
    WriteString(QStringLiteral("HKCR\\Jukarium.Disc\\Shell\\Open\\Command\\"), command);
    WriteString(QStringLiteral("HKCR\\Jukarium.Disc\\DefaultIcon\\"), icon);

    // The desktop is given the full path: a short-form alias lives only until logout.
    WriteDesktopFileLinks(programPath, desktop);
}

void WriteFileLinks(Registry& registry, const QString& programPath)
{
    CLassFileLinks links(registry, programPath);
}
