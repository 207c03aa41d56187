#pragma once

#include <QString>
#include <QStringList>

/// The file types the program opens as modules: ".MOD", ".S3M" and ".XM", then every other
/// extension libopenmpt reports as one it plays. Worked out once, on first use; any thread.
namespace ModuleTypes {

/// Upper case with the dot, each once: ".MOD", ".S3M", ".XM", ".MPTM", ".IT", ... Never
/// ".JKDC", which is always a disc.
const QStringList& UpperExtensions();

/// True when upperExtension (upper case, with its dot) is one of UpperExtensions().
bool IsModuleExtension(const QString& upperExtension);

/// Glob patterns of every module type for a file dialog's filter, lower case and separated by
/// blanks: "*.mod *.s3m *.xm *.mptm *.it ...".
QString NamePatterns();

}  // namespace ModuleTypes
