#pragma once

#include <QStringView>

namespace corvane {

// The one reading of a flag written as text, in every file the program reads: "True" in any
// case, with blanks around it, is true; everything else is false. (Job files write "True" and
// #TRUE#; language files "TRUE"; the settings store "True".)
inline bool IsTrueText(QStringView text) {
    return text.trimmed().compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0;
}
inline bool IsFalseText(QStringView text) {
    return text.trimmed().compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0;
}

} // namespace corvane
