#include "commands/commands.h"
#include "base/installation.h"

#include "definitions/datafiles.h"
#include "calc/driver.h"
#include "calc/loads.h"
#include "equipment/links.h"
#include "definitions/state.h"
#include "definitions/windowdefinition.h"
#include "input/grids.h"
#include "input/numericentry.h"
#include "input/units.h"
#include "jobs/filehistory.h"
#include "jobs/jobactions.h"
#include "jobs/jobfile.h"
#include "report/reportcommands.h"
#include "update/updatecheck.h"

#include <QDir>
#include <QFileInfo>

namespace corvane {

namespace {

bool ConfirmDiscard(State& s, int buttons) {
    if (!s.flags.jobModified) return true;
    const int answer = s.AskMessage(s.messages[0][13], s.messages[1][13], buttons);
    return answer == Box::AnswerYes || answer == Box::AnswerOk;
}

void OpenJob(State& s) {
    if (!ConfirmDiscard(s, Box::YesNo | Box::Stop)) return;
    HideAllPages(s);
    s.platform.ProcessEvents();
    FileDialogRequest request;
    request.filter = QStringLiteral("Job Files|*.") + s.jobExtension;
    request.folder = s.jobFolder;
    const FileDialogResult result = s.platform.OpenFileDialog(request);
    if (!result.accepted) return;
    s.platform.SetBusy(true);
    if (result.path.isEmpty()) {
        s.ShowMessage(18);
    } else if (!result.path.toLower().endsWith(QLatin1Char('.') + s.jobExtension)) {
        s.ShowMessage(19);
    } else {
        s.jobFolder = result.folder;
        s.settings.Save(s.settingsSection, QStringLiteral("JobFilepath"), result.folder);
        if (!JobFileLoad(s, result.path)) LoadTemplateJob(s);
        Calculate(s);
        s.flags.jobModified = false;
    }
    s.platform.SetBusy(false);
}

void SaveJob(State& s) {
    if (s.currentPage == 2) HideAllPages(s);
    FileDialogRequest request;
    request.filter =
        QStringLiteral("Job Files (*.%1)|*.%1|Bitmaps (*.bmp)|*.bmp|PDF (*.pdf)|*.pdf").arg(s.jobExtension);
    request.folder = s.jobFolder;
    if (!s.currentJobPath.isEmpty() && QFileInfo::exists(s.currentJobPath))
        request.fileName = QFileInfo(s.currentJobPath).fileName();
    const FileDialogResult result = s.platform.SaveFileDialog(request);
    if (!result.accepted || result.path.isEmpty()) return;
    const QString lower = result.path.toLower();
    if (lower.endsWith(QStringLiteral(".bmp"))) return SavePageImages(s, result.path);
    if (lower.endsWith(QStringLiteral(".pdf"))) return SaveReportPdf(s, result.path);
    if (!lower.endsWith(QLatin1Char('.') + s.jobExtension)) return;
    s.jobFolder = result.folder;
    s.settings.Save(s.settingsSection, QStringLiteral("JobFilepath"), result.folder);
    if (QFileInfo::exists(result.path) &&
        QFileInfo(result.path).absoluteFilePath() != QFileInfo(s.currentJobPath).absoluteFilePath()) {
        if (s.AskMessage(s.messages[0][2], s.messages[1][2], Box::YesNo) != Box::AnswerYes) return;
    }
    s.platform.SetBusy(true);
    if (JobFileSave(s, result.path)) HideAllPages(s);
    s.platform.SetBusy(false);
}

void NewJob(State& s) {
    if (!ConfirmDiscard(s, Box::OkCancel | Box::Stop)) return;
    s.platform.ProcessEvents();
    s.platform.SetBusy(true);
    LoadTemplateJob(s);
    s.frames[2].visible = false;
    s.MarkDirty(ControlKind::Frame, 2);
    s.currentJobPath.clear();
    s.windowCaption = s.baseTitle;
    Calculate(s);
    // The results of a fresh job are not a change the user made.
    s.flags.jobModified = false;
    s.platform.SetBusy(false);
}

void BoxWithoutWallGrid(State& s) {
    s.grids[200].visible = false;
    s.cellEditorVisible[0] = false;
    s.SetRadio(204, true);
    s.frames[200].visible = true;
    s.buttons[17].visible = false;
    s.shadows[17].visible = false;
    s.frames[4].visible = false;
    for (int n : {13, 14, 15}) {
        s.textBoxes[n].visible = true;
        s.labels[n].visible = true;
        s.unitLabels[n].visible = true;
    }
    for (int n : {14, 13, 15}) SetFieldValue(s, n, QStringLiteral("0"));
    // The transmission load follows the box as it now stands.
    Calculate(s);
    s.MarkAllDirty();
}

void AddProduct(State& s) {
    Grid& g = s.grids[300];
    s.gridPagerVisible = false;
    g.Resize(g.rows, g.cols + 1);
    const int c = g.cols - 1;
    WriteGridCell(s, 300, 0, c, QString::number(c - 1));
    StartProductColumn(s, c);
    CalculateProductLoad(s);
    s.cellEditorVisible[1] = false;
    s.optionLists[301].visible = false;
    s.optionLists[302].visible = false;
    s.optionLists[302].items.clear();
    g.row = 1;
    g.col = c;
    s.MarkDirty(ControlKind::Grid, 300);
}

void DeleteProduct(State& s) {
    s.frames[10].visible = false;
    s.MarkDirty(ControlKind::Frame, 10);
    Grid& g = s.grids[300];
    const int c = g.col;
    if (c < 2 || c >= g.cols) return;
    const int answer =
        s.AskMessage(s.messages[0][21], s.messages[1][21] + QString::number(c - 1), Box::YesNo);
    if (answer != Box::AnswerYes) return;
    for (int col = c; col + 1 < g.cols; ++col) {
        g.Cell(0, col).text = g.Text(0, col + 1);
        for (int r = 1; r < g.rows; ++r) WriteGridCell(s, 300, r, col, ReadGridCell(s, 300, r, col + 1));
    }
    g.Resize(g.rows, g.cols - 1);
    s.MarkDirty(ControlKind::Grid, 300);
    Calculate(s);
}

} // namespace

void RunCommand(State& s, int n) {
    if (IsPageButton(n)) {
        PressPageButton(s, n);
        return;
    }
    s.WriteLog(QStringLiteral(">BUTT_Click(") + QString::number(n) + QLatin1Char(')'));
    s.gridPagerVisible = false;
    FinishEdit(s);
    switch (n) {
    case 1:
        if (!ConfirmDiscard(s, Box::YesNo | Box::Stop)) return;
        s.platform.SetBusy(true);
        LoadFileHistory(s);
        for (auto& [i, b] : s.buttons) SetButtonColour(s, i, s.colours.normalButton);
        HideAllShadows(s);
        ShowPage(s, 2);
        SelectFocus(s, 2);
        s.platform.SetBusy(false);
        return;
    case 9:
        if (!s.flags.jobModified) throw ProgramEnd(0);
        if (s.AskMessage(s.messages[0][13], s.messages[1][13], Box::YesNo) == Box::AnswerYes) throw ProgramEnd(0);
        return;
    case 10: OpenJob(s); return;
    case 11: SaveJob(s); return;
    case 12:
        if (!s.helpFile.isEmpty()) StartHyperlink(s, s.helpFile);
        return;
    case 13: PrintReport(s); return;
    case 14: MailJob(s); return;
    case 17: BoxWithoutWallGrid(s); return;
    case 18: AddProduct(s); return;
    case 19: NewJob(s); return;
    case 20:
        HideAllPages(s);
        UpdateCheck(s);
        return;
    case 21: DeleteProduct(s); return;
    default: return;
    }
}

bool CloseRequest(State& s) {
    if (!s.flags.jobModified) return true;
    return s.AskMessage(s.messages[0][13], s.messages[1][13], Box::YesNo | Box::Stop) != Box::AnswerNo;
}

void ShowLog(State& s) {
    if (s.log.Dump()) s.platform.ShowTextFile(s.log.DumpPath());
}

void ControlKey(State& s, char key) {
    switch (key) {
    case 'A': s.log.SetFileOn(false); break;
    case 'D': s.log.SetFileOn(true); break;
    case 'L': ShowLog(s); break;
    default: break;
    }
}

} // namespace corvane
