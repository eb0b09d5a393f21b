#pragma once

#include <QDateTime>
#include <QString>

namespace corvane {

class State;

// What a page of the report knows about itself: its number, the page count and the moment
// the report is made (one moment for every page, so both pages show the same time).
struct PageInfo {
    int page = 1;
    int count = 1;
    QDateTime made = QDateTime::currentDateTime();
};

// The text of a field code, or why it has none. A failed code skips its drawing step.
struct CodeText {
    QString text;
    QString error;
    bool Ok() const { return error.isEmpty(); }
};

// The text a print form shows for a field code. The first character picks the kind, the last
// three the field number:
//
//   ",mmmnnn"  text box m, ", ", text box n (a city and its state)
//   ":nnn"     caption of label n, a space, text box n
//   "*mmmnnn"  the product of the numbers in text boxes m and n
//   "Drrccnnn" cell (rr, cc) of grid n; empty beyond the grid's columns; "A" for a row-0
//              heading that is not a number (a product that is not one of the user's own)
//   "Fnnn"     caption of option frame n
//   "hnnn"     the number in text box n over the running time (text box 12), rounded down
//   "Lnnn"     caption of label n
//   "Rnnn"     caption of the first set option button from n upward
//   "Snnn"     entry n of the string table
//   "Tnnn"     text box n; text box 525 only while the condenser series works at a set
//              condensing temperature (the second character of text box 530 is "C")
//   "Mnnn"     text box n
//   "Nnnn"     "P2" for a rectangular box (option button 200), else the number in text box n
//   "Unnn"     the unit shown by unit label n
//   "PPAGE", "PDATE", "PTIME", "PPATH"   page n of m, today's date, the time, the job's path
//
// Codes shorter than four characters and unknown kinds give an empty text. A code that names
// a control the window does not have, a field number that is not a number or a division by a
// zero running time is an error.
CodeText FormatFieldCode(const State& s, const QString& code, const PageInfo& page);

} // namespace corvane
