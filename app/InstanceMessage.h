#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

/// The text a second start hands to the running instance, as it travels on the single
/// instance's socket: the text as UTF-8, then one NUL byte. Plain functions without state;
/// any thread.
namespace InstanceMessage {

/// Longest text taken, in bytes of UTF-8 before the NUL.
inline constexpr qsizetype kMaxBytes = 64 * 1024;

/// The bytes that carry text; empty when its UTF-8 is longer than kMaxBytes, which no
/// instance would take.
QByteArray write(const QString& text);

/// What the bytes received so far on one connection hold.
struct Reading {
    enum class State {
        Incomplete,  // no NUL yet, and it may still come within kMaxBytes
        Complete,    // text is the whole message
        Refused,     // more than kMaxBytes before the NUL, or without one: never a message
    };
    State state = State::Incomplete;
    /// When Complete: the bytes before the first NUL as UTF-8, a bad sequence read as U+FFFD.
    QString text;
};

/// Reads received, the bytes that came so far; bytes after the first NUL are ignored.
Reading read(QByteArrayView received);

}  // namespace InstanceMessage
