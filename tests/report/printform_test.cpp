#include "report/printform.h"

#include <QTest>

using namespace corvane;

namespace {

QString Problems(const PrintForm& form) {
    QStringList lines;
    for (const FormProblem& p : form.problems)
        lines << FormatProblem(p);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

// The form reader on damaged and odd forms: what it keeps, what it reports, where.
class PrintFormTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void readsCommandsAndReportsProblems_data() {
        QTest::addColumn<QByteArray>("form");
        QTest::addColumn<bool>("usable");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("problem"); // part of the problem text; empty: none expected
        const QByteArray head = "\"p\",10800,14400\r\n";
        const QByteArray rect = "\"SHAPE\",\"RECTANGLE\",0,0,100,100,1,0,0,1\r\n";
        auto row = [](const char* name, const QByteArray& form, bool usable, int steps, const char* problem) {
            QTest::newRow(name) << form << usable << steps << QString::fromUtf8(problem);
        };
        row("empty file", "", false, 0, "header");
        row("header without height", "\"p\",10800\r\n", false, 0, "header");
        row("page width not a number", "\"p\",wide,14400\r\n" + rect, false, 0,
            "f.frm:1: header: the page width wide is not a number");
        row("page width zero", "\"p\",0,14400\r\n", false, 0, "outside");
        row("header across lines", "\"p\"\r\n10800\r\n14400\r\n" + rect, true, 1, "");
        row("command across lines, LF ends", "\"p\",10800,14400\n\"SHAPE\",\n\"LINE\",0,0,\n10,10,1,0,0,1\n",
            true, 1, "");
        row("truncated command", head + rect + "\"SHAPE\",\"RECTANGLE\",0,0", true, 1,
            "f.frm:3: SHAPE: the width is missing");
        row("too few arguments keep the next command", head + "\"TEXT\",\"Arial\",0,0\r\n" + rect, true, 1,
            "f.frm:2: TEXT: the field code is missing");
        row("coordinate not a number", head + "\"SHAPE\",\"LINE\",0,abc,10,10,1,0,0,1\r\n" + rect, true, 1,
            "the top abc is not a number");
        row("unknown shape", head + "\"SHAPE\",\"STAR\",0,0,10,10,1,0,0,1\r\n" + rect, true, 1,
            "\"STAR\" is not RECTANGLE");
        row("unknown picture", head + "\"PICTURE\",\"PHOTO\",0,0,0,0,10,10\r\n" + rect, true, 1,
            "\"PHOTO\" is not PRINTLOGO");
        row("colour too large", head + "\"SHAPE\",\"LINE\",0,0,10,10,1,0,16777216,1\r\n", true, 0, "line colour");
        row("Boolean that is not one", head + "\"TEXT\",\"Arial\",0,0,\"M000\",yes,#FALSE#,10,#FALSE#,0\r\n",
            true, 0, "bold flag yes is not #TRUE# or #FALSE#");
        row("unknown words and remarks are passed over", head + "\"-- remark --\",\"CIRCLE\",42\r\n" + rect, true,
            1, "");
        row("unclosed quote", head + "\"TEXT\",\"Arial,0,0\r\n" + rect, true, 1, "never closed");
        row("empty item between commas", head + "\"SHAPE\",\"LINE\",0,,10,10,1,0,0,1\r\n", true, 0,
            "the top an empty item is not a number");
        row("hexadecimal colour", head + "\"SHAPE\",\"LINE\",0,0,10,10,1,0,&HFF0000,1\r\n", true, 1, "");
        row("binary garbage", QByteArray("\x00\xff\x01,\"\x80\x81", 7) + rect, false, 0, "header");
    }
    void readsCommandsAndReportsProblems() {
        QFETCH(QByteArray, form);
        QFETCH(QString, problem);
        const PrintForm read = ReadPrintForm(form, QStringLiteral("f.frm"));
        QTEST(read.usable, "usable");
        QTEST(static_cast<int>(read.steps.size()), "steps");
        if (problem.isEmpty())
            QVERIFY2(read.problems.empty(), qPrintable(Problems(read)));
        else
            QVERIFY2(Problems(read).contains(problem), qPrintable(Problems(read)));
    }

    void keepsTheArgumentsOfEachCommand() {
        const PrintForm form =
            ReadPrintForm("\"Quote\", 10800 , 14400\r\n"
                          "\"SHAPE\",\"circle\",10,20,30,40,0,255,65280,2\r\n"
                          "\"PICTURE\",\"GEOMETRY\",1,2,100,200,300,400\r\n"
                          "\"RTEXT\",\"Arial\",5,6,\"T016\",#TRUE#,#FALSE#,12.5,#TRUE#,16711680\r\n"
                          "\"MTEXT\",\"Arial\",1,2,3,4,\"M101\",#FALSE#,#TRUE#,9,#FALSE#,0\r\n",
                          QStringLiteral("f.frm"));
        QVERIFY2(form.problems.empty(), qPrintable(Problems(form)));
        QCOMPARE(form.name, QStringLiteral("Quote"));
        QCOMPARE(form.width, 10800);
        QCOMPARE(form.height, 14400);
        QCOMPARE(form.steps.size(), size_t(4));
        const auto& shape = std::get<ShapeStep>(form.steps[0].what);
        QCOMPARE(shape.kind, ShapeKind::Circle);
        QCOMPARE((QList<int>{shape.a, shape.b, shape.c, shape.d, shape.fillStyle, shape.fillColour,
                             shape.lineColour, shape.lineWidth}),
                 (QList<int>{10, 20, 30, 40, 0, 255, 65280, 2}));
        const auto& picture = std::get<PictureStep>(form.steps[1].what);
        QCOMPARE(picture.name, PictureName::Geometry);
        QCOMPARE((QList<int>{picture.x, picture.y, picture.width, picture.height}),
                 (QList<int>{100, 200, 300, 400}));
        const auto& right = std::get<TextStep>(form.steps[2].what);
        QCOMPARE(right.kind, TextKind::RightAligned);
        QVERIFY(right.bold && !right.italic && right.underline);
        QCOMPARE(right.size, 12.5);
        QCOMPARE(right.colour, 0xFF0000);
        const auto& wrapped = std::get<TextStep>(form.steps[3].what);
        QCOMPARE(wrapped.kind, TextKind::Wrapped);
        QCOMPARE((QList<int>{wrapped.x, wrapped.y, wrapped.width, wrapped.height}), (QList<int>{1, 2, 3, 4}));
        QCOMPARE(wrapped.code, QStringLiteral("M101"));
        QCOMPARE(form.steps[3].line, 5);
    }

    void boundsItsWorkByTheInput() {
        // A file past the limit is refused whole; a long run of empty items reads to nothing.
        QByteArray huge(MaxPrintFormBytes + 1, 'x');
        QVERIFY(!ReadPrintForm(huge, QStringLiteral("f.frm")).usable);
        QByteArray commas(200000, ',');
        const PrintForm form = ReadPrintForm("\"p\",10,10\n" + commas, QStringLiteral("f.frm"));
        QVERIFY(form.usable);
        QVERIFY(form.steps.empty());
    }
};

QTEST_GUILESS_MAIN(PrintFormTest)
#include "printform_test.moc"
