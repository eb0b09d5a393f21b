// The batch mode's JSON text is written directly; it must be, byte for byte, what Qt's JSON
// writer makes of the same state.
#include "app/batchoutput.h"
#include "tests/support/testprogram.h"

#include <QJsonDocument>
#include <QTest>

using namespace corvane;

class JsonTextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sameBytesAsQtJson_data();
    void sameBytesAsQtJson();
};

void JsonTextTest::sameBytesAsQtJson_data() {
    QTest::addColumn<QString>("job");
    QTest::addColumn<bool>("oddTexts");
    QTest::newRow("template") << QString() << false;
    for (int i = 1; i <= 10; ++i) {
        const QString name = QStringLiteral("job%1.cvj").arg(i, 2, 10, QLatin1Char('0'));
        QTest::newRow(qPrintable(name)) << QFINDTESTDATA("../data/jobs/" + name) << false;
    }
    QTest::newRow("texts that need escapes") << QString() << true;
}

void JsonTextTest::sameBytesAsQtJson() {
    QFETCH(QString, job);
    QFETCH(bool, oddTexts);
    test::TestProgram program;
    State& s = program.Start(job);
    if (oddTexts) {
        // Quotes, backslashes, every control character, non-ASCII, a pair and lone surrogates.
        QString control;
        for (char16_t u = 0; u < 0x20; ++u) control += QChar(u);
        const QStringList texts{QStringLiteral("say \"cold\""), QStringLiteral("C:\\jobs"), control, QStringLiteral("Kühlzelle – 5 °C"),
                                QStringLiteral("\U0001F9CA ice"), QString(QChar(0xD800)) + QStringLiteral("x"),
                                QStringLiteral("y") + QChar(0xDC00), QStringLiteral("\x7f/</")};
        int i = 0;
        for (auto& [n, box] : s.textBoxes) {
            box.text = texts[i % texts.size()];
            box.tag = texts[(i + 1) % texts.size()];
            ++i;
        }
        s.errorList = texts;
        for (auto& [n, list] : s.optionLists) list.items << texts;
        if (s.grids[300].InRange(1, 2)) s.grids[300].Cell(1, 2).text = texts[0];
    }
    const QByteArray expected = QJsonDocument(StateJson(s)).toJson(QJsonDocument::Indented);
    const QByteArray written = StateJsonText(s);
    if (written != expected) {
        qsizetype at = 0;
        while (at < written.size() && at < expected.size() && written[at] == expected[at]) ++at;
        QFAIL(qPrintable(QStringLiteral("first difference at byte %1:\n  written:  %2\n  expected: %3")
                             .arg(at)
                             .arg(QString::fromUtf8(written.mid(qMax<qsizetype>(0, at - 40), 80)),
                                  QString::fromUtf8(expected.mid(qMax<qsizetype>(0, at - 40), 80)))));
    }
}

QTEST_GUILESS_MAIN(JsonTextTest)
#include "jsontext_test.moc"
