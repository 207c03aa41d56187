#pragma once

#include "library/ModuleRecord.h"

/// Reads what the library keeps of the module file at path (bytes of any encoding): its size,
/// time and content hash, and what libopenmpt tells of it without rendering a single sample
/// (sample data is not even decoded). A file libopenmpt refuses, or that cannot be read,
/// gives a record of state Unreadable with its name, size and time. Any thread; no shared
/// state; never throws.
ModuleRecord readModuleRecord(const QByteArray& path);
