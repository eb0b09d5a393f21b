#pragma once

#include "definitions/controls.h"
#include "base/readresult.h"

#include <QString>

namespace corvane {

class State;

// Reads the colour scheme named by the settings ("Colour_File", default "default.col").
// A line that cannot be used is logged and skipped; the problems met are returned.
ReadProblems ReadColourFile(State& s);

// Fill option list n with the colour (*.col) or language (*.lng) files of a folder, each
// listed without its three-letter extension ("default.").
void LoadColourList(State& s, const QString& folder, int n);
void LoadLanguageList(State& s, const QString& folder, int n);

// The contrast ratio of two colours, from 1 (the same) to 21 (black on white), by the relative
// luminance of the sRGB colours. Text is readable from 4.5 up.
double ContrastRatio(Colour a, Colour b);
inline constexpr double ReadableContrast = 4.5;
// The text colour to draw on back: preferred when it is readable there, else black or white,
// whichever stands out more (a failed field in a dark scheme keeps readable text).
Colour ReadableTextColour(Colour back, Colour preferred);

} // namespace corvane
