// Candidate lists held as numbers show, store and colour their cells exactly as rows of texts
// would; controls are found by number, also in a copy of their array.
#include "definitions/controls.h"

#include <QTest>

using namespace corvane;

namespace {

std::vector<ProductRow> Products() {
    std::vector<ProductRow> list(3);
    list[1] = ProductRow{{QStringLiteral("KEY"), QStringLiteral("Series A"), QStringLiteral("Model 1"), QStringLiteral("a.pdf")}, 11};
    list[2] = ProductRow{{QStringLiteral("KEY"), QStringLiteral("Series B"), QStringLiteral("Model 2"), QStringLiteral("b.pdf")}, 12};
    return list;
}

QStringList RowTexts(const Grid& g, int r) {
    QStringList texts;
    for (int c = 0; c < g.cols; ++c) texts << g.Text(r, c);
    return texts;
}

} // namespace

class GridTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void candidateRows_data() {
        QTest::addColumn<int>("change");   // what happens to the grid before it is read
        QTest::newRow("read as written") << 0;
        QTest::newRow("one cell asked for") << 1;
        QTest::newRow("resized") << 2;
        QTest::newRow("product list released and emptied") << 3;
    }

    void candidateRows() {
        QFETCH(int, change);
        const std::vector<ProductRow> before = Products();
        std::vector<ProductRow> list = before;
        Grid g;
        g.Resize(2, 3);
        g.Cell(1, 1).foreColour = 7;   // a row left by an earlier list keeps its own colours
        g.colours.fore = 9;
        g.WriteCandidates({{0, 0}, {2500, 2}, {1234.5f, 1}}, 6, &list);
        QCOMPARE(g.rows, 3);
        QCOMPARE(g.cols, 6);
        if (change == 1) g.Cell(2, 3).text = QStringLiteral("changed");
        if (change == 2) g.Resize(4, 6);
        if (change == 3) {
            g.ReleaseProducts(&list);
            list.clear();
        }
        QCOMPARE(RowTexts(g, 0), QStringList(6, QString()));   // no undersized model
        QCOMPARE(RowTexts(g, 1), (QStringList{"1", "2500", "Model 2", "Series B", "b.pdf", "12"}));
        QCOMPARE(RowTexts(g, 2), (QStringList{"2", "1234.5", "Model 1", change == 1 ? "changed" : "Series A", "a.pdf", "11"}));
        QCOMPARE(g.ForeColour(1, 1), 7);
        QCOMPARE(g.Cell(1, 1).foreColour, 7);
        QCOMPARE(g.ForeColour(1, 4), 9);
        QCOMPARE(g.ForeColour(2, 0), 9);
        QCOMPARE(g.Cell(2, 4).text, QStringLiteral("a.pdf"));
        QCOMPARE(g.Text(2, 5), QStringLiteral("11"));   // still the same after the cells are made
        if (change == 2) QCOMPARE(RowTexts(g, 3), QStringList(6, QString()));
    }

    void controlsByNumber() {
        ControlArray<TextBox, ControlKind::TextBox> boxes;
        for (int n : {3, 700, 5000, -2}) boxes.Add(n).text = QString::number(n);
        ControlArray<TextBox, ControlKind::TextBox> copy = boxes;
        copy[700].text = QStringLiteral("copy");
        copy.Add(4).text = QStringLiteral("4");
        for (int n : {3, 5000, -2}) QCOMPARE(boxes[n].text, QString::number(n));
        QCOMPARE(boxes[700].text, QStringLiteral("700"));
        QCOMPARE(copy[700].text, QStringLiteral("copy"));
        QVERIFY(!boxes.Has(4) && copy.Has(4) && !boxes.Has(699) && !boxes.Has(5001));
        QVERIFY_THROWS_EXCEPTION(MissingControl, boxes[1]);
        QList<int> order;
        for (const auto& [n, box] : copy) order << n;
        QCOMPARE(order, (QList<int>{-2, 3, 4, 700, 5000}));
    }
};

QTEST_GUILESS_MAIN(GridTest)
#include "grid_test.moc"
