#pragma once

#include "report/fieldcodes.h"

#include <QString>

class QPainter;

namespace corvane {

class State;
struct PrintForm;

// Where a page goes; the printer is told apart because the log names it.
enum class PrintTarget { Printer, PageImage, Pdf };

// Draws one print form onto a painter that is active on its device (a printer page, a page
// image or a PDF page). The form's page, with a margin of 2.5 % of it on every side, is
// stretched over the whole device; font sizes are scaled by 6 × 1440 / W (a form 7.5 inches
// of 1440 wide prints them at 80 %) and are true point sizes on the device, so a page looks
// the same on paper, in a PDF and in an image of the paper's shape.
//
// Every failure ("**** Printer Error :-" in the log) skips its step only; the rest of the page
// is drawn. A form that cannot be opened or whose header is unusable draws nothing.
void PrintFile(State& s, const QString& formPath, QPainter& painter, PrintTarget target,
               const PageInfo& page);
// The same for a form already read.
void DrawPrintForm(State& s, const PrintForm& form, QPainter& painter, const PageInfo& page);

} // namespace corvane
