#include "platform/jpeg/jpegimage.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTest>

namespace {

// The picture the instruction sheets carry: a green fuel pump with a white display and a
// yellow dot on white, 96 × 96.
const QString pumpPicture = QStringLiteral(":/documents/images/fuelpump.jpg");

QByteArray pumpData()
{
    QFile file(pumpPicture);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool near(QRgb actual, QRgb expected)
{
    constexpr int tolerance = 24; // JPEG rounding around flat areas
    return qAbs(qRed(actual) - qRed(expected)) <= tolerance
           && qAbs(qGreen(actual) - qGreen(expected)) <= tolerance
           && qAbs(qBlue(actual) - qBlue(expected)) <= tolerance;
}

} // namespace

class TestJpegImage : public QObject
{
    Q_OBJECT

private slots:
    void decodesColourPicture_data();
    void decodesColourPicture();
    void decodesGreyscale();
    void refusesBrokenData_data();
    void refusesBrokenData();
    void missingFile();
};

void TestJpegImage::decodesColourPicture_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("white corner") << QPoint(3, 3) << qRgb(255, 255, 255);
    QTest::newRow("green body") << QPoint(38, 80) << qRgb(0x1f, 0x6f, 0x3f);
    QTest::newRow("white display") << QPoint(38, 31) << qRgb(255, 255, 255);
    QTest::newRow("yellow dot") << QPoint(38, 58) << qRgb(0xd4, 0xa0, 0x17);
}

void TestJpegImage::decodesColourPicture()
{
    QFETCH(QPoint, point);
    QFETCH(QRgb, colour);
    QString error;
    const QImage image = decodeJpegFile(pumpPicture, &error);
    QVERIFY2(!image.isNull(), qPrintable(error));
    QCOMPARE(image.size(), QSize(96, 96));
    QCOMPARE(image.format(), QImage::Format_RGB32);
    QVERIFY2(near(image.pixel(point), colour),
             qPrintable(QString::number(image.pixel(point), 16)));
}

void TestJpegImage::decodesGreyscale()
{
    QImage source(40, 20, QImage::Format_Grayscale8);
    source.fill(0);
    for (int y = 0; y < 20; ++y)
        std::fill_n(source.scanLine(y) + 20, 20, uchar(200));
    QByteArray data;
    QBuffer buffer(&data);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(95);
    // Qt's JPEG plugin comes with its GUI library, which the program needs anyway.
    QVERIFY2(writer.write(source), qPrintable(writer.errorString()));

    const QImage image = decodeJpeg(data);
    QCOMPARE(image.format(), QImage::Format_Grayscale8);
    QCOMPARE(image.size(), QSize(40, 20));
    QVERIFY(qAbs(qGray(image.pixel(5, 10)) - 0) <= 8);
    QVERIFY(qAbs(qGray(image.pixel(35, 10)) - 200) <= 8);
}

void TestJpegImage::refusesBrokenData_data()
{
    const QByteArray whole = pumpData();
    QVERIFY(!whole.isEmpty());
    QByteArray scrambled = whole;
    for (qsizetype i = 20; i < scrambled.size(); i += 7)
        scrambled[i] = char(scrambled[i] ^ 0x5a);

    QTest::addColumn<QByteArray>("data");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not a JPEG") << QByteArray("GIF89a, surely not a JPEG at all");
    QTest::newRow("header only") << whole.left(40);
    QTest::newRow("cut in the scan") << whole.left(whole.size() / 2);
    QTest::newRow("scrambled") << scrambled;
}

void TestJpegImage::refusesBrokenData()
{
    QFETCH(QByteArray, data);
    QString error;
    const QImage image = decodeJpeg(data, &error);
    QVERIFY(image.isNull());
    QVERIFY(!error.isEmpty());
    QVERIFY2(error.contains(u"JPEG"), qPrintable(error));
}

void TestJpegImage::missingFile()
{
    QString error;
    QVERIFY(decodeJpegFile(QStringLiteral("/nonexistent/picture.jpg"), &error).isNull());
    QVERIFY2(error.contains(QStringLiteral("/nonexistent/picture.jpg")), qPrintable(error));
}

QTEST_MAIN(TestJpegImage)
#include "tst_jpegimage.moc"
