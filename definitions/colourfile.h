#pragma once

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

} // namespace corvane
