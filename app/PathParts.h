#pragma once

#include "platform/audio/ModuleTypes.h"

#include <QString>

/// Splitting of the program's paths: the directory part is everything up to and including
/// the last "/", the file name the rest. Extensions are compared in upper case.
namespace PathParts {

/// "/a/b/" for "/a/b/c.mod"; empty for a bare name.
inline QString DirectoryPart(const QString& path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

/// "c.mod" for "/a/b/c.mod"; a bare name itself.
inline QString FileNamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

/// The file name's part from its last "." on, dot included, in upper case (".XM"); empty
/// when the name has no dot.
inline QString UpperExtension(const QString& path)
{
    const QString name = FileNamePart(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot).toUpper();
}

/// True, in any case, for ".MOD", ".S3M", ".XM" and every other type libopenmpt plays
/// (ModuleTypes::UpperExtensions()).
inline bool IsModulePath(const QString& path)
{
    return ModuleTypes::IsModuleExtension(UpperExtension(path));
}

/// True for ".JKDC" in any case.
inline bool IsDiscPath(const QString& path) { return UpperExtension(path) == QLatin1String(".JKDC"); }

}  // namespace PathParts
