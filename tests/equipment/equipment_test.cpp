#include "equipment/equipmentfiles.h"
#include "equipment/selection.h"

#include "base/numbertext.h"
#include "base/settingsstore.h"
#include "definitions/state.h"
#include "tests/equipment/catalogwriter.h"
#include "tests/support/fakeplatform.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <numeric>

using namespace corvane;
using namespace corvane::test;

namespace {

// A 3 hp medium-temperature condensing unit (Btu/h per unit), SST 10..30 F x ambient 80..110 F.
const QList<int> Unit3hp{22250, 20510, 19640, 18760, 17020, 25130, 23160, 22180, 21190, 19230,
                         28210, 26000, 24900, 23790, 21580, 31480, 29020, 27780, 26550, 24090,
                         34960, 32220, 30850, 29480, 26740};

// One job in a program folder of its own: the 3 hp unit under three condenser series, two
// air-defrost coolers, a 35 F box at 95 F ambient and the constants of a default language file.
struct Job {
    QTemporaryDir dir;
    FakePlatform platform;
    SettingsStore settings{dir.path() + QStringLiteral("/s.ini")};
    State s{dir.path(), platform, settings};
    CatalogueWriter catalogue;

    Job() {
        s.constants.underRange = 10;
        s.constants.condenser60HzFactor = s.constants.cooler60HzFactor = 1;
        s.constants.condenser50HzFactor = 0.83f;
        s.constants.cooler50HzFactor = 0.93f;
        s.strings[14] = QStringLiteral("No suitable model");
        catalogue.AddCondenser("CU3", {10, 15, 20, 25, 30}, {80, 90, 95, 100, 110}, Unit3hp);
        for (const char* key : {"M90-60S", "MA-60S", "MC-60S"})
            catalogue.condenserList += CatalogueWriter::Line({key, "3 hp", "CU3", "CU3.pdf"});
        catalogue.AddCooler("LA120", 12000, 34);
        catalogue.AddCooler("LA150", 15000, 34);
        for (const char* code : {"LA120", "LA150"}) catalogue.coolerList += CatalogueWriter::Line({"LPA-60S", "", code, ""});
        Set({{500, "95"}, {501, "35"}, {502, "10"}, {503, "27000"}, {522, "1"}, {542, "2"}, {525, "100"},
             {530, "MA"}, {531, "-60S"}, {550, "LPA"}, {551, "-60S"}});
    }
    void Load() {
        catalogue.Write(s.productFolder);
        ReadEquipmentFiles(s);
    }
    void Set(std::initializer_list<std::pair<int, QString>> values) {
        for (const auto& [n, v] : values) SetFieldValue(s, n, v);
    }
    QString Field(int n) const { return GetFieldValue(s, n); }
    // Unit coolers M0, M1 ... of series X-60S with these capacities at 0 F suction (k < 1 there,
    // so every whole capacity has a whole rating), read in, for a 10,000 load on one cooler.
    void AddCoolers(const QList<int>& capacities) {
        for (int i = 0; i < capacities.size(); ++i) {
            catalogue.AddCooler(QStringLiteral("M%1").arg(i), std::ceil((capacities[i] - 0.5) / 0.94857), -30);
            catalogue.coolerList += CatalogueWriter::Line({"X-60S", "", QStringLiteral("M%1").arg(i), ""});
        }
        Load();
        Set({{501, "10"}, {524, "10000"}, {542, "1"}, {550, "X"}});
    }
    QStringList Capacities(int grid) const {
        QStringList texts;
        for (int r = 0; r < s.grids[grid].rows; ++r) texts << s.grids[grid].Text(r, 1);
        return texts;
    }
};

struct ListCase { QByteArray list; QList<int> records; QString model; };
struct CapacityCase { float suction, ambient, factor; double capacity; };
struct ChoiceCase { QList<int> capacities; int chosen, indicator; QStringList grid; };
struct SeriesCase { QString first, second, box; QByteArray moreRows; int matches, indicator; float factor; QString condenser = "20000"; };
struct CondenserCase { QString code, ambient, box, load, units, capacity; int indicator; };
struct BalanceCase { QString box, coolerIndicator, capacity; double suction, difference; };

} // namespace

Q_DECLARE_METATYPE(ListCase)
Q_DECLARE_METATYPE(CapacityCase)
Q_DECLARE_METATYPE(ChoiceCase)
Q_DECLARE_METATYPE(SeriesCase)
Q_DECLARE_METATYPE(CondenserCase)
Q_DECLARE_METATYPE(BalanceCase)

class EquipmentTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recordCount_data() {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("lastMaxSuction");
        QTest::newRow("84 bytes hold two models") << 84 << 2 << 42;
        QTest::newRow("85 bytes read as two models") << 85 << 2 << 42;
        QTest::newRow("half a record counts, zeros beyond") << 63 << 2 << 0;
        QTest::newRow("less than half a record counts none") << 20 << 0 << 0;
    }
    void recordCount() {
        QFETCH(int, bytes);
        QFETCH(int, count);
        Job job;
        CatalogueWriter three;
        for (int i = 1; i <= 3; ++i) three.AddCondenser(QStringLiteral("M%1").arg(i), {0, 40 + i}, {90}, {1, 2});
        job.catalogue.models = three.models.left(bytes);
        job.Load();
        QCOMPARE(static_cast<int>(job.s.condenserModels.size()) - 1, count);
        if (count > 0) QTEST(int(job.s.condenserModels.back().maxSuction), "lastMaxSuction");
    }

    void productList_data() {
        QTest::addColumn<ListCase>("c");
        QTest::newRow("five fields use the first four, LF ends, blank lines skipped")
            << ListCase{"K\td\tCODE1\tx\tmore\n\nK\td\tCODE2\ty\n", {1, 2}, "CODE1"};
        QTest::newRow("a 20-character code is compared by its first 16")
            << ListCase{"K\td\tABCDEFGHIJKLMNOPQRST\tx\r\n", {4}, "ABCDEFGHIJKLMNOPQRST"};
        QTest::newRow("a code no record has gets no record") << ListCase{"K\td\tNONE\tx\r\n", {0}, "NONE"};
        QTest::newRow("rows with one code share its first record")
            << ListCase{"K\td\tCODE2\ta\r\nL\td\tCODE2\tb\r\n", {2, 2}, "CODE2"};
    }
    void productList() {
        QFETCH(ListCase, c);
        Job job;
        job.catalogue = CatalogueWriter();
        for (const char* code : {"CODE1", "CODE2", "CODE2", "ABCDEFGHIJKLMNOP"}) {
            job.catalogue.AddCondenser(code, {0}, {90}, {1});
            job.catalogue.AddCooler(code, 1000, 0);
        }
        job.catalogue.condenserList = job.catalogue.coolerList = c.list;
        job.Load();
        for (const std::vector<ProductRow>* rows : {&job.s.condenserProducts, &job.s.coolerProducts}) {
            QList<int> records;
            for (std::size_t i = 1; i < rows->size(); ++i) records << (*rows)[i].record;
            QCOMPARE(records, c.records);
            QCOMPARE((*rows)[1].fields[2], c.model);
        }
    }

    void coolerCapacity_data() {
        QTest::addColumn<CapacityCase>("c");   // ambient stands for the temperature difference
        QTest::newRow("20 F suction") << CapacityCase{20, 10, 1, 10010};
        QTest::newRow("25 F suction") << CapacityCase{25, 10, 1, 10075};
        QTest::newRow("freezer coil at -20 F") << CapacityCase{-20, 10, 1, 8543};
        QTest::newRow("8 F difference") << CapacityCase{20, 8, 1, 8008};
        QTest::newRow("50 Hz factor") << CapacityCase{20, 10, 0.93f, 9309};
    }
    void coolerCapacity() {
        QFETCH(CapacityCase, c);
        Job job;
        job.s.coolerFrequencyFactor = c.factor;
        QCOMPARE(CoolerCapacity(job.s, c.suction, c.ambient, 10000), static_cast<float>(c.capacity));
    }

    void condenserCapacity_data() {
        QTest::addColumn<CapacityCase>("c");
        QTest::newRow("on a grid point") << CapacityCase{25, 95, 1, 27780};
        QTest::newRow("between ambients") << CapacityCase{25, 92, 1, 28524};
        QTest::newRow("between suction groups") << CapacityCase{22, 95, 1, 26052};
        QTest::newRow("between both") << CapacityCase{22, 92, 1, 26745.6};
        QTest::newRow("fractional suction interpolates exactly") << CapacityCase{22.4f, 95, 1, 26282.4};
        QTest::newRow("half a degree of ambient rounds up to the grid") << CapacityCase{25, 94.5f, 1, 27780};
        QTest::newRow("highest corner") << CapacityCase{30, 110, 1, 26740};
        QTest::newRow("below the lowest suction") << CapacityCase{5, 95, 1, 0};
        QTest::newRow("above the highest ambient") << CapacityCase{25, 115, 1, 0};
        QTest::newRow("50 Hz factor") << CapacityCase{25, 95, 0.83f, 23057.4};
    }
    void condenserCapacity() {
        QFETCH(CapacityCase, c);
        Job job;
        job.Load();
        job.s.condenserFrequencyFactor = c.factor;
        QVERIFY(std::fabs(CondenserCapacity(job.s, job.s.condenserModels[1], c.suction, c.ambient) - c.capacity) < 0.05);
    }

    void coolerChoice_data() {
        QTest::addColumn<ChoiceCase>("c");   // capacities in list order; 10,000 required, 10 % tolerance
        QTest::newRow("nearer adequate model beats the undersized one")
            << ChoiceCase{{12000, 9000, 10500}, 2, 1, {"9000", "10500", "12000"}};
        QTest::newRow("nearer undersized model within the tolerance wins")
            << ChoiceCase{{9000, 9800, 10500, 12000}, 1, 0, {"9800", "10500", "12000"}};
        QTest::newRow("only an undersized model below the tolerance") << ChoiceCase{{8500}, -1, -1, {"8500"}};
        QTest::newRow("undersized at the tolerance bound") << ChoiceCase{{9000}, -1, -1, {"9000"}};
        QTest::newRow("undersized within the tolerance, alone") << ChoiceCase{{9500}, 0, 0, {"9500"}};
        QTest::newRow("the requirement itself is adequate") << ChoiceCase{{11000, 10000}, 1, 1, {"", "10000", "11000"}};
        QTest::newRow("equal capacities: the later row sorts first") << ChoiceCase{{10500, 10500}, 1, 1, {"", "10500", "10500"}};
    }
    void coolerChoice() {
        QFETCH(ChoiceCase, c);
        Job job;
        job.AddCoolers(c.capacities);
        job.s.grids[540].Resize(6, 6);   // rows left by an earlier selection
        for (auto& row : job.s.grids[540].cells) row[1].text = QStringLiteral("old");
        SelectCooler(job.s);
        QCOMPARE(job.Capacities(540), c.grid);
        QCOMPARE(job.Field(553), QString::number(c.indicator));
        QCOMPARE(job.Field(543), c.chosen < 0 ? job.s.strings[14] : QStringLiteral("M%1").arg(c.chosen));
        QCOMPARE(job.Field(544), c.chosen < 0 ? QStringLiteral("0") : QString::number(c.capacities[c.chosen]));
    }

    // The candidate list in grid order, whatever order the catalogue lists its models in:
    // ascending capacity, equal capacities in the reverse of their list order.
    void candidateOrder_data() {
        QTest::addColumn<QList<int>>("capacities"); // in list order, all adequate
        QTest::newRow("listed by size") << QList<int>{10500, 11000, 12000, 15000};
        QTest::newRow("listed by size with equal sizes")
            << QList<int>{10500, 11000, 11000, 11000, 12000, 12000};
        QTest::newRow("one model out of place") << QList<int>{10500, 11000, 20000, 12000, 13000, 14000};
        QList<int> descending, zigzag;
        for (int i = 0; i < 40; ++i) {
            descending << 50000 - 1000 * (i / 2); // pairs of equal sizes, largest first
            zigzag << (i % 2 ? 60000 - 1000 * i : 10500 + 1000 * i);
        }
        QTest::newRow("listed largest first") << descending;
        QTest::newRow("listed in no order") << zigzag;
    }
    void candidateOrder() {
        QFETCH(QList<int>, capacities);
        Job job;
        job.AddCoolers(capacities);
        SelectCooler(job.s);
        QList<int> order(capacities.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return capacities[a] < capacities[b]; });
        QStringList expected;
        for (qsizetype k = 0; k < order.size();) { // each run of equal sizes reversed
            qsizetype end = k;
            while (end < order.size() && capacities[order[end]] == capacities[order[k]])
                ++end;
            for (qsizetype j = end; j-- > k;)
                expected << QStringLiteral("M%1").arg(order[j]);
            k = end;
        }
        QStringList shown;
        for (int r = 1; r < job.s.grids[540].rows; ++r)
            shown << job.s.grids[540].Text(r, 2);
        QCOMPARE(shown, expected);
    }

    void seriesLookup_data() {
        QTest::addColumn<SeriesCase>("c");
        QTest::newRow("empty series key") << SeriesCase{"", "", "35", {}, 0, -1, 0.93f};
        QTest::newRow("series with no rows") << SeriesCase{"XYZ", "-50", "35", {}, 0, -1, 0.93f};
        QTest::newRow("keys compare in capitals, lower-case s is 60 Hz") << SeriesCase{"lpa", "-60s", "35", {}, 2, 1, 1};
        QTest::newRow("a code no record has is a match, not a candidate")
            << SeriesCase{"Q", "-60S", "35", "Q-60S\t\tNONE\t\r\n", 1, -1, 1};
        QTest::newRow("box not above the coils' minimum") << SeriesCase{"LPA", "-60S", "34", {}, 2, -1, 1};
        QTest::newRow("rows past a greater key are not read")
            << SeriesCase{"Q", "-60S", "35", "R-60S\t\tLA120\t\r\nQ-60S\t\tLA120\t\r\n", 0, -1, 1};
        QTest::newRow("no condenser capacity: nothing is looked up") << SeriesCase{"LPA", "-60S", "35", {}, -1, -1, 1, "0"};
    }
    void seriesLookup() {
        QFETCH(SeriesCase, c);
        Job job;
        job.catalogue.coolerList += c.moreRows;
        job.Load();
        job.Set({{550, c.first}, {551, c.second}, {501, c.box}, {524, c.condenser}});
        SelectCooler(job.s);
        const QStringList lines = job.s.log.Lines();
        const QString key = c.first + c.second;
        QCOMPARE(lines.contains(QStringLiteral("Key %1 has %2 matches").arg(key).arg(c.matches)), c.matches >= 0);
        QCOMPARE(lines.contains(QStringLiteral("********************** KEY %1 NOT FOUND IN PRODUCT LIST").arg(key)),
                 c.matches == 0);
        QCOMPARE(job.Field(553), QString::number(c.indicator));
        QCOMPARE(job.Field(543) == job.s.strings[14], c.indicator < 0);
        QCOMPARE(job.s.coolerFrequencyFactor, c.factor);
    }

    void condenserSelection_data() {
        QTest::addColumn<CondenserCase>("c");
        QTest::newRow("air-cooled takes the ambient at the unit") << CondenserCase{"MA", "95", "35", "25000", "1", "27780", 1};
        QTest::newRow("C takes the condensing temperature") << CondenserCase{"MC", "95", "35", "25000", "1", "26550", 1};
        QTest::newRow("a number in the code is the temperature") << CondenserCase{"M90", "95", "35", "25000", "1", "29020", 1};
        QTest::newRow("ambient beyond the model's data") << CondenserCase{"MA", "112", "35", "25000", "1", "0", -1};
        QTest::newRow("suction at the top of the range") << CondenserCase{"MA", "95", "40", "25000", "1", "30850", 1};
        QTest::newRow("two units share the load") << CondenserCase{"MA", "95", "35", "50000", "2", "27780", 1};
        QTest::newRow("undersized unit within the tolerance") << CondenserCase{"MA", "95", "35", "29000", "1", "27780", 0};
    }
    void condenserSelection() {
        QFETCH(CondenserCase, c);
        Job job;
        job.Load();
        job.Set({{530, c.code}, {500, c.ambient}, {501, c.box}, {503, c.load}, {522, c.units}});
        SelectCondenser(job.s);
        QCOMPARE(job.Field(524), c.capacity);
        QCOMPARE(job.Field(533), QString::number(c.indicator));
        QCOMPARE(job.Field(523), c.indicator < 0 ? job.s.strings[14] : QStringLiteral("CU3"));
    }

    void balance_data() {
        QTest::addColumn<BalanceCase>("c");
        QTest::newRow("3 hp unit with two 12,000 coolers") << BalanceCase{"35", "1", "27087", 23.7976, 11.2024};
        QTest::newRow("second point above when below leaves the data") << BalanceCase{"25", "1", "22482", 15.5547, 9.4453};
        QTest::newRow("no balance for an undersized cooler") << BalanceCase{"35", "0", "0", 0, 0};
    }
    void balance() {
        QFETCH(BalanceCase, c);
        Job job;
        job.Load();
        job.Set({{501, c.box}, {503, "20000"}});
        SelectCondenser(job.s);
        Grid& coolers = job.s.grids[540];   // two of the 12,000 coolers chosen
        coolers.Resize(2, 6);
        coolers.cells[1][5].text = QStringLiteral("1");
        job.Set({{553, c.coolerIndicator}});
        CalculateBalance(job.s);
        QCOMPARE(job.Field(560), c.capacity);
        QVERIFY(std::fabs(NumberFromText(job.Field(561)) - c.suction) < 0.0005);
        QVERIFY(std::fabs(NumberFromText(job.Field(562)) - c.difference) < 0.0005);
    }
};

QTEST_GUILESS_MAIN(EquipmentTest)
#include "equipment_test.moc"
