// The print-form reader on any bytes, and a usable form drawn onto a small page image with the
// started program's job: problems are reported with their line, never a crash, hang or a
// coordinate outside the stated range.

#include "fuzz/fuzzprogram.h"
#include "report/printfile.h"
#include "report/printform.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>

namespace {

QGuiApplication* guiApplication = nullptr;

// Fonts and text layout need a GUI application; the harness never shows a window.
void NeedGuiApplication() {
    static int argc = 1;
    static char name[] = "fuzz_printform";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed (the program's exit tears down Qt's own statics first), but kept
    // reachable, so the leak check does not count it.
    guiApplication = new QGuiApplication(argc, argv);
}

bool InRange(int v) { return v >= -corvane::MaxFormCoordinate && v <= corvane::MaxFormCoordinate; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvane;
    NeedGuiApplication();
    const QByteArray bytes = fuzz::Input(data, size);
    const PrintForm form = ReadPrintForm(bytes, QStringLiteral("fuzz.frm"));
    // The reader's own promises: every step and problem names a line of the input, and the
    // page a usable form states keeps every scale finite.
    const int lines = static_cast<int>(bytes.count('\n') + bytes.count('\r')) + 1;
    for (const FormStep& step : form.steps)
        if (step.line < 1 || step.line > lines) std::abort();
    for (const FormProblem& problem : form.problems)
        if (problem.line < 0 || problem.line > lines) std::abort();
    if (!form.usable) return 0;
    if (form.width <= 0 || form.height <= 0 || !InRange(form.width) || !InRange(form.height)) std::abort();
    State& s = fuzz::FuzzProgram::Get().Started();
    QImage page(170, 220, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    DrawPrintForm(s, form, painter, PageInfo{1, 2, QDateTime(QDate(2026, 1, 2), QTime(3, 4))});
    return 0;
}
