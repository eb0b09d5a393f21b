#pragma once

#include <QJsonObject>
#include <QString>
#include <cstdio>

namespace corvane {

class State;

// Writes text to a standard stream as UTF-8, at once.
void Print(FILE* stream, const QString& text);
void PrintBytes(FILE* stream, const QByteArray& bytes);
// Reports a failure on standard error and returns its exit status.
int Fail(int status, const QString& why);

// The whole state as JSON: fields, option buttons, grids, lists and the input problems.
QJsonObject StateJson(const State& s);
// The same as indented JSON text (what QJsonDocument writes of StateJson), written directly.
QByteArray StateJsonText(const State& s);
// The short summary: the loads, the equipment, the balance and the input problems.
QString Summary(const State& s);

} // namespace corvane
