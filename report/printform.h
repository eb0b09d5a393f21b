#pragma once

#include "base/readresult.h"

#include <QByteArrayView>
#include <QString>
#include <variant>
#include <vector>

namespace corvane {

// A print form describes one report page in the job file's item notation: quoted texts, bare
// numbers, #TRUE# and #FALSE#, items separated by commas or line ends (a command may span
// lines). The form starts with a header of three items (a name, the page width W and the page
// height H in the form's own units), then commands until the end of the file:
//
//   "SHAPE", kind, a, b, c, d, fill style, fill colour, line colour, line width
//            kind "RECTANGLE", "SQUARE", "OVAL", "CIRCLE" (box a, b, c wide, d high) or
//            "LINE" (from a, b to c, d); fill style 0 solid, 1 none, 2-7 hatches
//   "PICTURE", name, value, value, x, y, width, height
//            name "PRINTLOGO" or "GEOMETRY"; the two values are kept for older forms
//   "TEXT",  font, x, y, code, bold, italic, size, underline, colour
//   "RTEXT", the same, with x the right edge of the text (numbers in columns)
//   "MTEXT", font, x, y, width, height, code, bold, italic, size, underline, colour
//            word-wrapped into the box and cut at its bottom
//
// Colours are 0x00BBGGRR. Any other item where a command word is expected is passed over, so
// a quoted remark between commands ("-- load summary --") costs nothing.
//
// Reading never fails as a whole: a command with too few or unusable arguments is reported
// (file, line, what) and skipped, and reading goes on with the next command. Only a form
// whose header cannot be read, or a file that cannot be opened, gives no page.

// A problem of a form: file, line (0: the file as a whole) and what is wrong, written as
// every reader's problems are (FormatProblem).
using FormProblem = ReadProblem;

enum class ShapeKind { Rectangle, Square, Oval, Circle, Line };

struct ShapeStep {
    ShapeKind kind = ShapeKind::Rectangle;
    int a = 0, b = 0, c = 0, d = 0;
    int fillStyle = 1;
    int fillColour = 0;
    int lineColour = 0;
    int lineWidth = 1;
};

enum class PictureName { PrintLogo, Geometry };

struct PictureStep {
    PictureName name = PictureName::PrintLogo;
    int x = 0, y = 0, width = 0, height = 0;
};

enum class TextKind { Line, RightAligned, Wrapped };

struct TextStep {
    TextKind kind = TextKind::Line;
    QString font;
    int x = 0, y = 0;
    int width = 0, height = 0; // the box of a wrapped text
    QString code;
    bool bold = false, italic = false, underline = false;
    double size = 10;
    int colour = 0;
};

struct FormStep {
    int line = 0;
    std::variant<ShapeStep, PictureStep, TextStep> what;
};

struct PrintForm {
    QString file; // where it was read from, for the problems
    QString name;
    int width = 0;
    int height = 0;
    bool usable = false; // the header was read: the page can be drawn
    std::vector<FormStep> steps;
    std::vector<FormProblem> problems;
};

inline constexpr qint64 MaxPrintFormBytes = 1 << 20;
// Coordinates, sizes and the page size stay within this, so no scale can overflow.
inline constexpr int MaxFormCoordinate = 10'000'000;

// Reads the bytes of a form (Windows-1252). The work is linear in the input's size.
PrintForm ReadPrintForm(QByteArrayView bytes, const QString& fileName);
// Reads a form file; one that is missing, unreadable or larger than MaxPrintFormBytes gives an
// unusable form with the reason as its problem.
PrintForm ReadPrintFormFile(const QString& path);

} // namespace corvane
