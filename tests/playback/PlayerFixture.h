#pragma once

#include "FakePlayerHost.h"

#include "platform/Registry.h"
#include "playback/ClassModPlayer.h"
#include "settings/ClassOptions.h"
#include "support/RecordingAudioLibrary.h"
#include "support/ScriptedMessageBoxes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

/// A player on the recording library and a fake host, with a fresh directory, real options
/// and scripted message boxes; its fade-out does not wait.
class PlayerFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Registry registry{dir.path() + "/registry"};
    ClassOptions options{registry};
    RecordingAudioLibrary library;
    FakePlayerHost host;
    ScriptedMessageBoxes boxes;
    ClassModPlayer player{library, options, host, [](int, const std::function<void()>& step) { step(); }};
};
