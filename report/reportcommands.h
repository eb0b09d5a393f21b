#pragma once

#include <QString>

namespace corvane {

class State;

// The ways the report leaves the program, as the command buttons run them.

// Print: the platform's print dialog, then both pages on the chosen printer. Cancelling the
// dialog draws nothing.
void PrintReport(State& s);

// Save with a ".bmp" name: two page images next to each other (Name.Page_1.bmp and
// Name.Page_2.bmp), after message 2 when either exists.
void SavePageImages(State& s, const QString& chosen);

// Save with a ".pdf" name: one two-page PDF, after message 2 when the file exists.
void SaveReportPdf(State& s, const QString& path);

// E-mail: the saved job to a recipient through the desktop's mail composer, with the sender's
// contact details in the message. A job with unsaved changes is not mailed (message 20).
void MailJob(State& s);

// The message text of the mail: the contact details of page 8 between two rules.
QString MailBody(const State& s);

} // namespace corvane
