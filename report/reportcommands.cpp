#include "report/reportcommands.h"

#include "definitions/state.h"
#include "report/reportpages.h"

#include <QFileInfo>

namespace corvane {

namespace {

// Messages the report added to the program's own; a language file from before them still
// gets a clear text.
constexpr int ReportNotWritten = 14;
constexpr int NoMailProgram = 17;

void ShowFailure(State& s, int n, const QString& title, const QString& text, const QString& detail) {
    const QString t = s.messages[0][n].isEmpty() ? title : s.messages[0][n];
    const QString m = s.messages[1][n].isEmpty() ? text : s.messages[1][n];
    s.AskMessage(t, detail.isEmpty() ? m : m + QStringLiteral("\r\n\r\n") + detail, Box::Ok | Box::Stop);
}

void ReportFailed(State& s, const QString& why) {
    s.WriteLog(QStringLiteral("**** Printer Error :- ") + why);
    ShowFailure(s, ReportNotWritten, QStringLiteral("Report"),
                QStringLiteral("The report could not be written. Check that the folder exists and is not "
                               "write-protected."),
                why);
}

bool ConfirmReplace(State& s) {
    return s.AskMessage(s.messages[0][2], s.messages[1][2], Box::YesNo) == Box::AnswerYes;
}

} // namespace

void PrintReport(State& s) {
    s.WriteLog(QStringLiteral(">PrintReport()"));
    QString error;
    bool drawn = true;
    const bool chosen = s.platform.Print(s.baseTitle, [&](QPagedPaintDevice& printer) {
        BusyPointer busy(s.platform);
        drawn = DrawReport(s, printer, PrintTarget::Printer, &error);
        return drawn;
    });
    if (chosen && !drawn) ReportFailed(s, error);
}

void SavePageImages(State& s, const QString& chosen) {
    const QString base = PageImageBase(chosen);
    s.WriteLog(QStringLiteral(">SavePageImages(") + base + QLatin1Char(')'));
    if (QFileInfo::exists(PageImageName(base, 1)) || QFileInfo::exists(PageImageName(base, 2)))
        if (!ConfirmReplace(s)) return;
    QString error;
    bool written = false;
    {
        BusyPointer busy(s.platform);
        written = WritePageImages(s, base, s.platform.DefaultPaper(), &error);
    }
    if (!written) ReportFailed(s, error);
}

void SaveReportPdf(State& s, const QString& path) {
    s.WriteLog(QStringLiteral(">SaveReportPdf(") + path + QLatin1Char(')'));
    if (QFileInfo::exists(path) && !ConfirmReplace(s)) return;
    QString error;
    bool written = false;
    {
        BusyPointer busy(s.platform);
        written = WriteReportPdf(s, path, s.platform.DefaultPaper(), &error);
    }
    if (!written) ReportFailed(s, error);
}

QString MailBody(const State& s) {
    const QString rule = QString(41, QLatin1Char('-'));
    const QString end = QStringLiteral("\r\n");
    QString body = QStringLiteral(" ") + end + rule + end + QStringLiteral("Sent From :") + end;
    for (int n = 700; n <= 716; ++n) {
        const TextBox* box = s.textBoxes.Find(n);
        body += QLatin1Char('\t') + (box ? box->text : QString()) + end;
    }
    return body + rule + end;
}

void MailJob(State& s) {
    s.WriteLog(QStringLiteral(">MailJob()"));
    if (s.currentPage == 2) {
        s.pages[2].visible = false;
        s.MarkDirty(ControlKind::Page, 2);
        s.currentPage = 0;
    }
    if (s.flags.jobModified) {
        s.AskMessage(s.messages[0][20], s.messages[1][20], Box::Ok | Box::Information);
        return;
    }
    QString to = s.emailTo;
    // Cancel ends the command; an empty answer leaves the recipient to the composer.
    if (!s.platform.InputBox(s.baseTitle, s.strings[15], &to)) return;
    to = to.trimmed();
    if (to != s.emailTo) {
        s.settings.Save(s.settingsSection, QStringLiteral("EmailTo"), to);
        s.emailTo = to;
    }
    const QString attachment =
        !s.currentJobPath.isEmpty() && QFileInfo(s.currentJobPath).isFile() ? s.currentJobPath : QString();
    if (!s.platform.ComposeMail(to, QStringLiteral("Tundrel Mail."), MailBody(s), attachment)) {
        s.WriteLog(QStringLiteral("No mail composer could be started"));
        ShowFailure(s, NoMailProgram, QStringLiteral("E-mail"),
                    QStringLiteral("No e-mail program could be started. Attach the saved job to a message "
                                   "yourself:"),
                    attachment.isEmpty() ? QString() : attachment);
    }
}

} // namespace corvane
