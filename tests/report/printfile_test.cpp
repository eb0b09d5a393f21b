#include "report/printfile.h"

#include "definitions/state.h"
#include "tests/support/testprogram.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>

using namespace corvane;

// Drawing forms onto page images, looked at pixel by pixel. The forms are 1000 by 1000 and
// the images 1050 by 1050 pixels at 96 dpi, so one unit of the form is one pixel and the
// page starts 25 pixels in (the 2.5 % margin).
class PrintFileTest : public QObject {
    Q_OBJECT

    test::TestProgram m_program;
    QTemporaryDir m_dir;

    State& S() { return m_program.state(); }

    QImage Draw(const QByteArray& body, const QByteArray& header = "\"t\",1000,1000\r\n",
                QSize size = {1050, 1050}, const QString& name = QStringLiteral("t.frm")) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return {};
        file.write(header + body);
        file.close();
        return DrawFile(path, size);
    }
    QImage DrawFile(const QString& path, QSize size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        PageInfo page;
        PrintFile(S(), path, painter, PrintTarget::PageImage, page);
        return image;
    }
    // The smallest rectangle holding every pixel that is not white, and their count.
    static QRect Ink(const QImage& image, int* count = nullptr) {
        int left = image.width(), top = image.height(), right = -1, bottom = -1, n = 0;
        for (int y = 0; y < image.height(); ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if ((line[x] & 0xFFFFFF) != 0xFFFFFF) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                    ++n;
                }
        }
        if (count) *count = n;
        return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
    }
    // Lines of the log since the last mark that contain the text.
    int LoggedSinceMark(const QString& text) {
        const QStringList lines = S().log.Lines();
        int n = 0;
        for (qsizetype i = lines.lastIndexOf(QStringLiteral("-- mark --")) + 1; i < lines.size(); ++i)
            n += lines[i].contains(text);
        return n;
    }

  private Q_SLOTS:
    void initTestCase() {
        m_program.Start();
        QVERIFY(m_dir.isValid());
    }

    void rectangleCoversExactlyItsBox_data() {
        QTest::addColumn<QByteArray>("shape");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<int>("pixels");
        QTest::newRow("outline") << QByteArray("\"RECTANGLE\",100,200,50,30,1,0,0,1") << QRect(125, 225, 50, 30)
                                 << 2 * 50 + 2 * 30 - 4;
        QTest::newRow("thick outline") << QByteArray("\"RECTANGLE\",100,200,50,30,1,0,0,3")
                                       << QRect(125, 225, 50, 30) << 50 * 30 - 44 * 24;
        QTest::newRow("filled") << QByteArray("\"RECTANGLE\",0,0,40,10,0,255,255,1") << QRect(25, 25, 40, 10)
                                << 400;
        QTest::newRow("square in a wide box")
            << QByteArray("\"SQUARE\",0,0,80,20,0,0,0,1") << QRect(25, 25, 20, 20) << 400;
        QTest::newRow("line") << QByteArray("\"LINE\",0,10,99,10,1,0,0,1") << QRect(25, 35, 100, 1) << 100;
    }
    void rectangleCoversExactlyItsBox() {
        QFETCH(QByteArray, shape);
        int count = 0;
        const QImage image = Draw("\"SHAPE\"," + shape + "\r\n");
        QTEST(Ink(image, &count), "box");
        QTEST(count, "pixels");
    }

    void fontSizesScaleWithThePageWidth() {
        // A form 7.5 inches of 1440 wide prints its sizes at 80 %: size 10 is drawn as 8 points.
        S().strings[40] = QStringLiteral("Walk-in cooler 12 x 10 x 8 ft");
        const QSize size(1050, 1400);
        const QImage drawn = Draw("\"TEXT\",\"DejaVu Sans\",0,0,\"S040\",#FALSE#,#FALSE#,10,#FALSE#,0\r\n",
                                  "\"t\",10800,14400\r\n", size);
        QImage expected(size, QImage::Format_RGB32);
        expected.fill(Qt::white);
        {
            QPainter p(&expected);
            p.setRenderHint(QPainter::TextAntialiasing);
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPointSizeF(8);
            p.setFont(font);
            p.setPen(Qt::black);
            // The page's corner: 2.5 % of the form in, on whole pixels.
            const double x = std::round(270 * 1050 / 11340.0), y = std::round(360 * 1400 / 15120.0);
            p.drawText(QPointF(x, y + QFontMetricsF(font, &expected).ascent()), S().strings[40]);
        }
        QVERIFY(!Ink(drawn).isEmpty());
        QCOMPARE(Ink(drawn), Ink(expected));
        QVERIFY(drawn == expected);
    }

    void wrappedTextIsCutAtTheBoxBottom_data() {
        QTest::addColumn<double>("boxLines"); // the box's height in lines of the font
        QTest::addColumn<int>("lines");       // lines printed
        QTest::newRow("half a line prints the first line") << 0.5 << 1;
        QTest::newRow("a line and a half prints two") << 1.5 << 2;
        QTest::newRow("three lines exactly") << 3.0 << 3;
        QTest::newRow("a box taller than the text") << 40.0 << 10;
    }
    void wrappedTextIsCutAtTheBoxBottom() {
        QFETCH(double, boxLines);
        QFETCH(int, lines);
        // Ten lines of text, one word each.
        S().strings[41] = QStringList(10, QStringLiteral("coldroom")).join(QLatin1Char(' '));
        QImage probe(1050, 1050, QImage::Format_RGB32);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(10);
        const QFontMetricsF metrics(font, &probe);
        // The pitch of wrapped lines, as the text layout spaces them on this device.
        QTextLayout layout(QStringLiteral("coldroom"), font, &probe);
        layout.beginLayout();
        QTextLine first = layout.createLine();
        first.setLineWidth(1000);
        const double line = first.height();
        layout.endLayout();
        // At W = 6 × 1440 the font factor is 1; one pixel is 8.64 units of the form.
        const double unitsPerPixel = 8640 * 1.05 / 1050;
        const QByteArray form =
            QStringLiteral("\"MTEXT\",\"DejaVu Sans\",0,0,%1,%2,\"S041\",#FALSE#,#FALSE#,10,#FALSE#,0\r\n")
                .arg(qRound(metrics.horizontalAdvance(QStringLiteral("coldroom")) * 1.4 * unitsPerPixel))
                .arg(qRound(boxLines * line * unitsPerPixel))
                .toLatin1();
        const QImage image = Draw(form, "\"t\",8640,8640\r\n");
        const QRect ink = Ink(image);
        QVERIFY(!ink.isEmpty());
        const double inkDepth = ink.bottom() + 1 - 25;
        QVERIFY2(inkDepth > (lines - 1) * line && inkDepth <= lines * line,
                 qPrintable(QStringLiteral("ink %1 deep, lines of %2").arg(inkDepth).arg(line)));
    }

    void picturesStayInTheirBox_data() {
        QTest::addColumn<QByteArray>("picture");
        QTest::addColumn<int>("shape");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<bool>("keepsProportions");
        const QRect box(125, 225, 400, 300);
        for (int shape = 200; shape <= 204; ++shape)
            QTest::addRow("geometry of option button %d", shape)
                << QByteArray("GEOMETRY") << shape << box << false;
        QTest::newRow("logo") << QByteArray("PRINTLOGO") << 200 << box << true;
    }
    void picturesStayInTheirBox() {
        QFETCH(QByteArray, picture);
        QFETCH(int, shape);
        QFETCH(QRect, box);
        for (int n = 200; n <= 204; ++n)
            S().radios[n].value = n == shape;
        const QImage image = Draw("\"PICTURE\",\"" + picture + "\",0,0,100,200,400,300\r\n");
        const QRect ink = Ink(image);
        QVERIFY(!ink.isEmpty());
        QVERIFY2(box.contains(ink),
                 qPrintable(
                     QStringLiteral("%1,%2 %3x%4").arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())));
        QFETCH(bool, keepsProportions);
        if (keepsProportions) {
            // The shipped logo is 600 by 225: as wide as the box, centred in its height.
            QVERIFY(ink.height() <= 150);
            QVERIFY(ink.width() > 2 * ink.height());
            QVERIFY(std::abs(ink.center().y() - box.center().y()) <= 20);
        }
    }

    void damagedStepsAreLoggedAndSkipped_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("logo"); // "missing", "none" or the shipped one
        QTest::addColumn<int>("shape");    // 0: no box shape chosen
        QTest::addColumn<QString>("logged");
        const QByteArray rect = "\r\n\"SHAPE\",\"RECTANGLE\",0,0,10,10,0,0,0,1\r\n";
        auto row = [&](const char* name, const QByteArray& step, const char* logo, int shape, const char* logged) {
            QTest::newRow(name) << step + rect << QString::fromUtf8(logo) << shape << QString::fromUtf8(logged);
        };
        row("missing logo file", "\"PICTURE\",\"PRINTLOGO\",0,0,0,0,100,100", "missing", 200, "cannot be loaded");
        row("no logo named", "\"PICTURE\",\"PRINTLOGO\",0,0,0,0,100,100", "none", 200, "names no print logo");
        row("no box shape chosen", "\"PICTURE\",\"GEOMETRY\",0,0,0,0,100,100", "", 0, "no box shape is chosen");
        row("field that does not exist", "\"TEXT\",\"Arial\",0,0,\"T999\",#FALSE#,#FALSE#,10,#FALSE#,0", "", 200,
            "TEXTBOX 999 does not exist");
        row("command with too few arguments", "\"TEXT\",\"Arial\",0,0", "", 200, "the field code is missing");
        row("coordinate that is no number", "\"SHAPE\",\"LINE\",0,x,10,10,1,0,0,1", "", 200, "is not a number");
        row("unknown picture", "\"PICTURE\",\"PHOTO\",0,0,0,0,100,100", "", 200, "is not PRINTLOGO or GEOMETRY");
        row("code shorter than four characters", "\"TEXT\",\"Arial\",0,0,\"T1\",#FALSE#,#FALSE#,10,#FALSE#,0", "",
            200, "");
        row("grid code beyond the grid's columns",
            "\"TEXT\",\"Arial\",0,0,\"D0109300\",#FALSE#,#FALSE#,10,#FALSE#,0", "", 200, "");
        QTest::newRow("truncated form")
            << QByteArray("\"SHAPE\",\"RECTANGLE\",0,0,10,10,0,0,0,1\r\n\"SHAPE\",\"LINE\",0,0") << QString()
            << 200 << QStringLiteral("the end x is missing");
    }
    void damagedStepsAreLoggedAndSkipped() {
        QFETCH(QByteArray, body);
        QFETCH(QString, logo);
        QFETCH(int, shape);
        QFETCH(QString, logged);
        const QString shipped = S().printLogoPicture;
        if (logo == QLatin1String("missing")) S().printLogoPicture = m_dir.filePath(QStringLiteral("gone.png"));
        if (logo == QLatin1String("none")) S().printLogoPicture.clear();
        for (int n = 200; n <= 204; ++n)
            S().radios[n].value = n == shape;
        S().WriteLog(QStringLiteral("-- mark --"));
        const QImage image = Draw(body);
        S().printLogoPicture = shipped;
        const int errors = LoggedSinceMark(QStringLiteral("**** Printer Error :-"));
        // Nothing but the good rectangle is drawn.
        QCOMPARE(Ink(image), QRect(25, 25, 10, 10));
        if (logged.isEmpty()) {
            QCOMPARE(errors, 0);
        } else {
            QCOMPARE(errors, 1);
            QCOMPARE(LoggedSinceMark(logged), 1);
        }
    }

    void missingFormDrawsNothing() {
        S().WriteLog(QStringLiteral("-- mark --"));
        const QImage image = DrawFile(m_dir.filePath(QStringLiteral("absent.frm")), QSize(200, 200));
        QVERIFY(Ink(image).isEmpty());
        QCOMPARE(LoggedSinceMark(QStringLiteral("the print form cannot be opened")), 1);
    }
};

QTEST_MAIN(PrintFileTest)
#include "printfile_test.moc"
