#pragma once

#include <QString>

/// The fresh directories a test program runs in. TestMain creates them before anything else
/// and points HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME and XDG_RUNTIME_DIR at
/// them, so no test ever touches the user's own files.
namespace TestEnvironment {

/// Creates the directories and sets the variables; called once by TestMain.
void setUp();

/// The temporary root that holds HOME and the XDG directories of this test program.
QString root();

/// $XDG_CONFIG_HOME/jukarium, where the registry files live.
QString configDirectory();

/// The jukebox program built alongside the tests.
QString jukariumBinary();

}  // namespace TestEnvironment
