#pragma once

#include <QString>

#include <functional>

namespace corvane {

class State;

// Opening and saving jobs as the user sees them: the job file, the hint, the history, the
// window caption and the first page.

// Writes the job to path through a temporary file that replaces the old one only when every
// byte was written, so a failed save (message 3) leaves the old file as it was.
bool JobFileSave(State& s, const QString& path);
// Reads a job file or the template into the window; false (after message 16) when it cannot.
bool JobFileLoad(State& s, const QString& path);
// Loads the template job (start-up, New, after a failed load), then brings the units back to
// the user's switches: the template names no units, so the user's choice outlives each job.
// Ends the program when the template cannot be loaded.
void LoadTemplateJob(State& s);

// Runs change (another language read) with the job held as a job file would hold it, then
// puts the job back. List texts the job holds (section kinds, constructions, product groups
// and products, list fields) are carried over by their position in the lists, and the
// generic product keeps its place. The job's name, caption and modified mark stay as they were.
void KeepJobWhile(State& s, const std::function<void()>& change);

// A double click or Enter on entry i of the history list.
void OpenHistoryEntry(State& s, int i);

} // namespace corvane
