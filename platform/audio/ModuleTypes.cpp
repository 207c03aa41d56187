#include "platform/audio/ModuleTypes.h"

#include <libopenmpt/libopenmpt.hpp>

namespace {

QStringList supportedExtensions()
{
    QStringList extensions = {QStringLiteral(".MOD"), QStringLiteral(".S3M"), QStringLiteral(".XM")};
    for (const std::string& name : openmpt::get_supported_extensions()) {
        const QString extension = QLatin1Char('.') + QString::fromStdString(name).toUpper();
        // Whatever a version of the library may claim, a disc file stays a disc.
        if (extension != QLatin1String(".JKDC") && !extensions.contains(extension))
            extensions.append(extension);
    }
    return extensions;
}

}  // namespace

namespace ModuleTypes {

const QStringList& UpperExtensions()
{
    static const QStringList extensions = supportedExtensions();
    return extensions;
}

bool IsModuleExtension(const QString& upperExtension)
{
    return UpperExtensions().contains(upperExtension);
}

QString NamePatterns()
{
    QStringList patterns;
    for (const QString& extension : UpperExtensions())
        patterns.append(QLatin1Char('*') + extension.toLower());
    return patterns.join(QLatin1Char(' '));
}

}  // namespace ModuleTypes
