#include "report/printform.h"
#include "report/reportcommands.h"
#include "report/reportpages.h"

#include "commands/commands.h"
#include "definitions/languagefile.h"
#include "definitions/state.h"
#include "jobs/jobactions.h"
#include "tests/support/testprogram.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace corvane;

// The report's ways out of the program, driven through the command buttons with the scripted
// platform: page images, the PDF, the printer and the mail.
class ReportTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestProgram> m_program;
    State* m_s = nullptr;

    test::FakePlatform& Platform() { return m_program->platform; }
    QString Path(const QString& name) const {
        return m_program->Folder() + QStringLiteral("/JobFiles/") + name;
    }

    void SaveAs(const QString& path) {
        FileDialogResult chosen;
        chosen.accepted = true;
        chosen.path = path;
        chosen.folder = QFileInfo(path).absolutePath() + QLatin1Char('/');
        Platform().saveResults << chosen;
        RunCommand(*m_s, 11);
    }
    // The text of a PDF, pages separated by form feeds.
    static QString PdfText(const QString& path) {
        QProcess process;
        process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        if (!process.waitForFinished(60000) || process.exitCode() != 0) return QString();
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    static bool HavePdfToText() {
        return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
    }

  private Q_SLOTS:
    void init() {
        QLocale::setDefault(QLocale::c());
        m_program = std::make_unique<test::TestProgram>();
        m_s = &m_program->Start();
    }

    void pageImageBaseName_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("page1");
        QTest::newRow("plain name") << "/jobs/Smith.bmp"
                                    << "/jobs/Smith.Page_1.bmp";
        QTest::newRow("first page image") << "/jobs/Smith.Page_1.bmp"
                                          << "/jobs/Smith.Page_1.bmp";
        QTest::newRow("second page image, any case") << "/jobs/Smith.PAGE_2.BMP"
                                                     << "/jobs/Smith.Page_1.bmp";
        QTest::newRow("page image of a page image") << "/jobs/a.Page_1.Page_2.bmp"
                                                    << "/jobs/a.Page_1.Page_1.bmp";
        QTest::newRow("page word inside the name") << "/jobs/Page_1.bmp"
                                                   << "/jobs/Page_1.Page_1.bmp";
    }
    void pageImageBaseName() {
        QFETCH(QString, chosen);
        QTEST(PageImageName(PageImageBase(chosen), 1), "page1");
    }

    void pageImagesAskBeforeReplacing_data() {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<int>("answer"); // to message 2; 0: not asked
        QTest::addColumn<bool>("written");
        QTest::newRow("new names") << false << 0 << true;
        QTest::newRow("existing, replace") << true << Box::AnswerYes << true;
        QTest::newRow("existing, keep") << true << Box::AnswerNo << false;
    }
    void pageImagesAskBeforeReplacing() {
        QFETCH(bool, existing);
        QFETCH(int, answer);
        QFETCH(bool, written);
        const QString page1 = Path(QStringLiteral("Smith.Page_1.bmp")),
                      page2 = Path(QStringLiteral("Smith.Page_2.bmp"));
        if (existing) {
            QFile old(page2);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("older");
        }
        if (answer) Platform().answers << answer;
        SaveAs(page1);
        QCOMPARE(Platform().messages.size(), answer ? 1 : 0);
        if (answer) QCOMPARE(Platform().messages[0].text, m_s->messages[1][2]);
        QVERIFY2(Platform().unexpected.isEmpty(), qPrintable(Platform().unexpected.join(u'\n')));
        QCOMPARE(QFileInfo(page1).exists(), written);
        for (const QString& page : {page1, page2}) {
            if (!written) continue;
            QImageReader reader(page);
            QCOMPARE(reader.format(), QByteArray("bmp"));
            QCOMPARE(reader.size(), PageImageSize(Platform().paper));
        }
        if (!written) QCOMPARE(QFileInfo(page2).size(), 5);
        QVERIFY(!QFileInfo::exists(Path(QStringLiteral("Smith.Page_1.Page_1.bmp"))));
    }

    void pdfHoldsTheJobAsText() {
        if (!HavePdfToText()) QSKIP("pdftotext (poppler-utils, installed by scripts/setup.sh) is missing");
        m_s->textBoxes[0].text = QStringLiteral("Harbour Fresh Seafood Ltd.");
        const QString path = Path(QStringLiteral("Harbour.pdf"));
        SaveAs(path);
        QVERIFY2(Platform().unexpected.isEmpty(), qPrintable(Platform().unexpected.join(u'\n')));
        const QString text = PdfText(path);
        const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QCOMPARE(pages.size(), 2);
        QVERIFY(pages[0].contains(QStringLiteral("Page 1 of 2")));
        QVERIFY(pages[1].contains(QStringLiteral("Page 2 of 2")));
        QVERIFY(pages[0].contains(QStringLiteral("Harbour Fresh Seafood Ltd.")));
        // The loads and the proposed models, as the window shows them.
        for (int n : {16, 214, 680, 314, 422, 503, 523, 543, 560})
            QVERIFY2(
                pages[0].contains(m_s->textBoxes[n].text),
                qPrintable(QStringLiteral("field %1 (%2) is not on page 1").arg(n).arg(m_s->textBoxes[n].text)));
        QVERIFY(pages[1].contains(m_s->grids[200].Text(6, 2)));
    }

    void pdfIsNotWrittenOverAFolder() {
        const QString path = Path(QStringLiteral("folder.pdf"));
        QVERIFY(QDir().mkpath(path));
        Platform().answers << Box::AnswerYes << Box::AnswerOk;
        SaveAs(path);
        QCOMPARE(Platform().messages.size(), 2);
        QVERIFY(Platform().messages[1].text.contains(QStringLiteral("is a folder")));
        QVERIFY(QFileInfo(path).isDir());
    }

    void printsBothPagesOrNothing() {
        // Cancelled: nothing is drawn and nothing is said.
        RunCommand(*m_s, 13);
        QCOMPARE(Platform().printDialogs, 1);
        QVERIFY(Platform().messages.isEmpty());

        if (!HavePdfToText()) QSKIP("pdftotext (poppler-utils, installed by scripts/setup.sh) is missing");
        const QString path = Path(QStringLiteral("printed.pdf"));
        std::unique_ptr<QPdfWriter> printer;
        Platform().printer = [&]() -> QPagedPaintDevice* {
            printer = std::make_unique<QPdfWriter>(path);
            return printer.get();
        };
        RunCommand(*m_s, 13);
        printer.reset();
        const QStringList pages = PdfText(path).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QCOMPARE(pages.size(), 2);
        QVERIFY(pages[0].contains(QStringLiteral("Page 1 of 2")));
        QVERIFY(pages[1].contains(QStringLiteral("Page 2 of 2")));
        QVERIFY(Platform().messages.isEmpty());
    }

    void mailsOnlyASavedJob_data() {
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QString>("answer"); // to the recipient question; null: cancel
        QTest::addColumn<bool>("composer");  // a mail composer is available
        QTest::addColumn<int>("mails");
        QTest::addColumn<int>("message"); // the message shown, -1 for none
        QTest::newRow("saved job") << true << false << "ann@example.com" << true << 1 << -1;
        QTest::newRow("job with unsaved changes") << true << true << "ann@example.com" << true << 0 << 20;
        QTest::newRow("template never saved") << false << false << "ann@example.com" << true << 1 << -1;
        QTest::newRow("empty recipient") << true << false << "" << true << 1 << -1;
        QTest::newRow("recipient question cancelled") << true << false << QString() << true << 0 << -1;
        QTest::newRow("no mail composer") << true << false << "ann@example.com" << false << 0 << 17;
    }
    void mailsOnlyASavedJob() {
        QFETCH(bool, saved);
        QFETCH(bool, modified);
        QFETCH(QString, answer);
        QFETCH(int, message);
        m_s->textBoxes[700].text = QStringLiteral("Polar Contractors");
        m_s->textBoxes[716].text = QStringLiteral("Open 24 h");
        const QString job = Path(QStringLiteral("mailed.cvj"));
        if (saved) QVERIFY(JobFileSave(*m_s, job));
        m_s->flags.jobModified = modified;
        QFETCH(bool, composer);
        Platform().mailAvailable = composer;
        if (!modified) Platform().inputAnswers << answer;
        if (message >= 0) Platform().answers << Box::AnswerOk;
        const QString remembered = m_s->emailTo;

        RunCommand(*m_s, 14);

        QVERIFY2(Platform().unexpected.isEmpty(), qPrintable(Platform().unexpected.join(u'\n')));
        QTEST(int(Platform().mails.size()), "mails");
        QCOMPARE(Platform().messages.size(), message >= 0 ? 1 : 0);
        if (message >= 0 && !m_s->messages[0][message].isEmpty())
            QCOMPARE(Platform().messages[0].title, m_s->messages[0][message]);
        if (!modified) QCOMPARE(Platform().inputDefaults.value(0), remembered);
        // The recipient is remembered once answered, also when nothing could be sent.
        if (!modified && !answer.isNull())
            QCOMPARE(m_program->settings->Get(m_s->settingsSection, QStringLiteral("EmailTo")), answer);
        if (Platform().mails.isEmpty()) return;
        const test::FakePlatform::Mail& mail = Platform().mails[0];
        QCOMPARE(mail.to, answer);
        QCOMPARE(mail.subject, QStringLiteral("Tundrel Mail."));
        QCOMPARE(mail.attachment, saved ? job : QString());
        const QStringList body = mail.body.split(QStringLiteral("\r\n"));
        QCOMPARE(body.size(), 1 + 1 + 1 + 17 + 1 + 1);
        QCOMPARE(body[0], QStringLiteral(" "));
        QCOMPARE(body[1], QString(41, u'-'));
        QCOMPARE(body[2], QStringLiteral("Sent From :"));
        QCOMPARE(body[3], QStringLiteral("\tPolar Contractors"));
        QCOMPARE(body[19], QStringLiteral("\tOpen 24 h"));
        QCOMPARE(body[20], QString(41, u'-'));
        QCOMPARE(body[21], QString());
    }

    void shippedFormsPrintEveryCode_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "default.lng";
        QTest::newRow("French") << "francais.lng";
    }
    // The shipped forms read without a problem, and every code on them names something the
    // window has; every string they print exists in the language file.
    void shippedFormsPrintEveryCode() {
        QFETCH(QString, language);
        m_program->settings->Save(m_s->settingsSection, QStringLiteral("Language_File"), language);
        ReadResourceFile(*m_s);
        for (int page = 1; page <= ReportPageCount; ++page) {
            const PrintForm form = ReadPrintFormFile(PrintFormPath(*m_s, page));
            QVERIFY2(form.usable && form.problems.empty(), qPrintable(form.file));
            QVERIFY(form.steps.size() > 50);
            PageInfo info;
            for (const FormStep& step : form.steps) {
                const auto* text = std::get_if<TextStep>(&step.what);
                if (!text) continue;
                const CodeText got = FormatFieldCode(*m_s, text->code, info);
                QVERIFY2(got.Ok(),
                         qPrintable(QStringLiteral("%1:%2: %3").arg(form.file).arg(step.line).arg(got.error)));
                if (text->code.startsWith(QLatin1Char('S')))
                    QVERIFY2(!got.text.isEmpty(), qPrintable(language + QStringLiteral(": ") + text->code));
            }
        }
    }
};

QTEST_MAIN(ReportTest)
#include "report_test.moc"
