#pragma once

#include <QString>

/// Reads an integer stored as text: "0x" or "0X" followed by hexadecimal digits (only when
/// the text is longer than two characters), "$" followed by hexadecimal digits, or signed
/// decimal. Hexadecimal text names the 32 bits of the number, so "0xFFFFFFFF" is -1.
/// Text that is no valid 32-bit number gives fallback.
int ParseStoredInteger(const QString& text, int fallback);
