#pragma once

/// The shape of the program's mouse cursor while it works: the arrow, or the hourglass
/// during operations that take time. On screen it is the application's override cursor.
enum class CursorShape { Arrow, Hourglass };

namespace ScreenCursor {

/// The shape last set (Arrow at start).
CursorShape shape();

/// Sets the shape; shown at once when a GUI application object exists. GUI thread only.
void set(CursorShape shape);

/// Sets the hourglass for its lifetime and puts back the arrow, on every path out.
class HourglassScope {
public:
    HourglassScope() { set(CursorShape::Hourglass); }
    ~HourglassScope() { set(CursorShape::Arrow); }
    HourglassScope(const HourglassScope&) = delete;
    HourglassScope& operator=(const HourglassScope&) = delete;
};

}  // namespace ScreenCursor
