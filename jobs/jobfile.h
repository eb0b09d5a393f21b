#pragma once

#include "base/readresult.h"

#include <QByteArray>
#include <QHash>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringView>
#include <array>

namespace corvane {

class State;

// A job file is Windows-1252 text with CRLF line ends, one record of five comma-separated
// items per line:
//
//   "# ","Tundrel",0,1,92                       header (program version)
//   "* ","C:\Jobs\a.cvj",#2024-05-01#,#13:45:07#,""   origin (where and when written)
//   "C",103,"Number","Box temperature",""       caption of field 103 (not read back)
//   "T",103,"35","35",#FALSE#                   stored value, shown text, override flag
//   "T",625,"SELECTLIST",1,#FALSE#              selection field: index of the entry, -1 none
//   "U",103,"TEMPERATURE",1,""                  unit system: 0 none, 1 imperial, 2 metric
//   "R",200,"Rectangular",#TRUE#,"False"        option button, override flag of its frame
//   "G",300,14,32,""                            grid size (rows, columns)
//   300,4,2,"45","True"                         grid cell: grid, row, column, text, override
//   200,2,1,2,""                                unit cell of a row: its unit system
//
// Texts are quoted without escaping: a double quote inside a text is written as the
// character 0x8E ("Ž") and read back as a quote, so a real "Ž" comes back as a quote too.
// Characters outside the code page are written as '?', and line breaks inside a text as
// spaces. Numbers are written as the fields hold them; reading swaps a decimal separator of
// the other kind for the locale's when the whole text is a number, so a job written under a
// comma locale loads under a point locale and the other way round. Other texts ("12,5 Main
// St") are left as they are.
//
// Reading is forgiving, because a job file may come from anywhere: a line whose items do not
// come to five, or whose quote is never closed (a file cut off in the middle of a record), is
// skipped and logged, as are records of unknown kinds and records for controls this window
// does not have; grid sizes are bounded. A file that holds no usable record at all (empty,
// binary, another kind of file), a file larger than MaxJobFileBytes, or one that cannot be
// read fails the load with message 16.

inline constexpr qint64 MaxJobFileBytes = 16 * 1024 * 1024;
inline constexpr int MaxGridRows = 1000;
inline constexpr int MaxGridColumns = 1000;
inline constexpr int MaxGridCells = 100000;

enum class RecordSplit { Ok, Blank, TooFewItems, OpenQuote };

// Splits one line into its first five items. Quoted items keep commas and spaces; unquoted
// items are trimmed. Text after a closing quote up to the next comma is ignored, items after
// the fifth are ignored (a later version may add some).
RecordSplit SplitJobRecord(QStringView line, std::array<QString, 5>& items);

// True when the path ends in the job extension of the language file ("." + FEXT, any case).
bool IsJobFilePath(const State& s, const QString& path);

// The bytes of the job file that holds the state, as saved at path (the origin record names it).
QByteArray JobFileBytes(const State& s, const QString& path);

// What one read of job records found: where from, whether it is a job (not the template),
// how many records were used and how many lines were skipped.
struct JobReadContext {
    QString path;
    bool isJobFile = false;
    int used = 0;
    int skipped = 0;
    // Each grid takes the last valid size record of the file, once, at its first size record:
    // a file of size records alone costs no more than its length.
    QHash<int, QPair<int, int>> gridSizes;
    QSet<int> gridsSized;
    // The skipped lines, each with its line and why ("job.cvj:12: skipped: ...").
    ReadProblems problems;
};

// Reads a whole job file into memory (at most MaxJobFileBytes); false with the error code and
// description when it cannot.
bool ReadJobFileBytes(const QString& path, QByteArray* bytes, int* code, QString* error);
// Applies every usable record of the bytes to the state, skipping and logging damaged lines.
void ReadJobRecords(State& s, JobReadContext& ctx, const QByteArray& bytes);

} // namespace corvane
