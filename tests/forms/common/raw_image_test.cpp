// The start-up pictures read as raw pixels are the PNGs they are made from, and a
// resource that is not one of them reads as nothing.
#include "forms/raw_image.h"

#include <QtTest>

class RawImageTest : public QObject {
    Q_OBJECT
private slots:
    // Catches a build tool or reader that changes a pixel, a size or the alpha.
    void rawPicturesMatchTheirPngs() {
        const char* names[][2] = {{"bitmaps/bmp101", "bmp101"}, {"bitmaps/bmp102@2x", "bmp102@2x"},
                                  {"icon/numora-16", "numora-16"}, {"icon/numora-64", "numora-64"}};
        for (const auto& [png, raw] : names) {
            const QImage image = numora::LoadRawImage(QStringLiteral(":/raw/%1.qpx").arg(raw));
            QImage expected(QStringLiteral(":/%1.png").arg(png));
            expected.setDevicePixelRatio(1);  // Qt reads "@2x" in a name as a density
            QVERIFY2(!image.isNull(), raw);
            // Compared as painted, premultiplied: the icons keep no more than that.
            QCOMPARE(image.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                     expected.convertToFormat(QImage::Format_ARGB32_Premultiplied));
        }
    }
    // Catches reading past the end of a damaged or foreign resource.
    void foreignOrMissingResourceIsNull() {
        QVERIFY(numora::LoadRawImage(":/sounds/wav104.wav").isNull());
        QVERIFY(numora::LoadRawImage(":/fonts/numora-serif-sc.otf").isNull());
        QVERIFY(numora::LoadRawImage(":/raw/absent.qpx").isNull());
    }
};

QTEST_MAIN(RawImageTest)
#include "raw_image_test.moc"
