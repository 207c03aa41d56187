#pragma once

#include <QString>

/// Splitting of POSIX paths as the disc needs it: the directory part is everything up to and
/// including the last "/", the file name the rest.
namespace DiscPaths {

/// "/a/b/" for "/a/b/c.mod"; empty for a bare name.
inline QString directoryPart(const QString& path)
{
    return path.left(path.lastIndexOf(u'/') + 1);
}

/// "c.mod" for "/a/b/c.mod"; a bare name itself.
inline QString fileNamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

/// The file name's part from its last "." on, in upper case (".JKDC"); empty without a dot.
inline QString upperExtension(const QString& path)
{
    const QString name = fileNamePart(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot).toUpper();
}

inline bool isDiscFile(const QString& path) { return upperExtension(path) == u".JKDC"; }

}  // namespace DiscPaths
