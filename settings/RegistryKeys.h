#pragma once

#include <QString>

/// Where the program keeps its settings below the current user's registry root.
namespace RegistryKeys {
inline const QString kOptions = QStringLiteral("Software\\Vorn Inc.\\Jukarium\\1.0");
inline const QString kMainWindow = kOptions + QStringLiteral("\\Main Window");
inline const QString kPatternView = kOptions + QStringLiteral("\\Pattern View");
inline const QString kLibrary = kOptions + QStringLiteral("\\Library");
}  // namespace RegistryKeys
