#pragma once

#include "settings/CRegistryStatus.h"
#include "settings/DesktopFileLinks.h"

class Registry;

/// Registers the program as the handler of module files (".MOD", ".S3M", ".XM") and disc
/// files (".JKDC"). Construction does the whole job, at every program exit:
///
/// 1. Ten default values in the classes root, in this order: ".MOD", ".S3M", ".XM" name
///    "Jukarium.Module", ".JKDC" names "Jukarium.Disc"; "Jukarium.Module" and "Jukarium.Disc"
///    carry "Jukarium Module" and "Jukarium Disc", each with "Shell\Open\Command" set to the
///    program, a blank and "%1" in double quotes, and "DefaultIcon" set to the program
///    followed by ",0". The program is the short form of programPath (ShortPathName), or
///    programPath itself where it has none.
/// 2. The desktop's own registration (WriteDesktopFileLinks) for programPath.
///
/// Existing entries are overwritten; nothing is ever removed. A write that fails is skipped
/// silently and the rest are still written. GUI thread only.
class CLassFileLinks : public CRegistryStatus {
public:
    /// registry: where the classes root lives. programPath: absolute path of the running
    /// program file. desktop: where the desktop's files go. showMessage: see CRegistryStatus.
    CLassFileLinks(Registry& registry, const QString& programPath,
                   const DesktopLocations& desktop = DesktopLocations::fromEnvironment(),
                   MessageSink showMessage = {});
};

/// Registers programPath as the handler of module and disc files in registry and in the
/// user's desktop locations from the environment; see CLassFileLinks.
void WriteFileLinks(Registry& registry, const QString& programPath);
