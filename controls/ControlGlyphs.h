#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

/// The pictures of the main window's control panel buttons.
enum class ControlGlyph {
    Open,         ///< open a module: an open folder with a note
    Close,        ///< close the module: a note sheet with a red cross
    HideToTray,   ///< a window going down into the panel
    OpenDisc,     ///< a disc coming out of an open folder
    CloseDisc,    ///< a disc with a red cross
    Information,  ///< "i" in a blue circle
    Play,
    Stop,
    Previous,     ///< previous module: bar and triangle pointing left
    Rewind,
    Forward,
    Next,         ///< next module: triangle and bar pointing right
    Copy,         ///< two sheets
    Move,         ///< a sheet with an arrow
    Delete,       ///< a waste bin
};

/// Glyph strips for TIEButton, drawn in code as antialiased vector shapes in one style (one
/// outline width and colour, one palette), so they stay crisp at any cell size; meant for
/// cells of about 20 x 20 (45 x 33 buttons) and 14 x 14 (22 x 29 buttons).
namespace ControlGlyphs {

/// The colour of every pixel that is not part of a glyph: set it as the button's
/// TransparentColor. No glyph pixel has exactly this colour.
QColor transparentColor();

/// A strip of two cells of size cell, side by side: cell 1 (hot) in full colour, cell 2
/// (normal) muted. Format ARGB32; background pixels are transparentColor() with alpha 0, so
/// the strip also composes correctly where alpha is honoured. Drawn for devicePixelRatio
/// (cell x ratio image pixels per cell, that ratio set on the image), for a crisp glyph on
/// screens that show several pixels per unit. Null for an empty cell.
QImage strip(ControlGlyph which, QSize cell, qreal devicePixelRatio = 1.0);

}  // namespace ControlGlyphs
