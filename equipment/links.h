#pragma once

#include <QString>

namespace corvane {

class State;

// Opens a document or an address in the user's own application (PDF viewer, browser) through
// the platform, with the log lines of the open; returns the platform's result code, which is
// only logged: a failure is the desktop's to show.
int StartHyperlink(State& s, const QString& target);

// "Data sheet" under the chosen condensing unit (0) or unit cooler (1): opens the chosen
// model's sheet, asking for the folder until the sheet is found or the user gives up, and
// remembers the folder that worked.
void SpecLinkClick(State& s, int n);

// The catalogue picture: the same, for the catalogue's full path.
void CatalogueClick(State& s);

// A web link of the options page: it takes the visited colour for the rest of the run.
void HyperlinkClick(State& s, int n);

// A folder or file named in the language file or typed by the user, relative to the program's
// folder unless it is absolute, so the shipped defaults work wherever the program is installed.
QString ResolveProgramPath(const State& s, const QString& path);

} // namespace corvane
