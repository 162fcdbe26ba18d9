// The built-in pictures decode to their sizes and show what they must, and damaged pictures of every
// kind are refused with a readable message.
#include "base/jpegimage.h"
#include "tools/figures/figurelayout.h"

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;
using ::testing::StartsWith;

static void RegisterFigures() {
    Q_INIT_RESOURCE(figures);
}

namespace {

QByteArray FigureBytes(const QString& name) {
    RegisterFigures();
    QFile file(QStringLiteral(":/figures/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

// Mean colour of the 5 x 5 block around a point: JPEG blurs single pixels a little.
QColor ColourAround(const QImage& image, QPoint centre) {
    int r = 0, g = 0, b = 0;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const QColor c = image.pixelColor(centre + QPoint(dx, dy));
            r += c.red();
            g += c.green();
            b += c.blue();
        }
    return QColor(r / 25, g / 25, b / 25);
}

bool Near(const QColor& actual, QRgb expected) {
    const int tolerance = 24;
    return std::abs(actual.red() - qRed(expected)) <= tolerance &&
           std::abs(actual.green() - qGreen(expected)) <= tolerance &&
           std::abs(actual.blue() - qBlue(expected)) <= tolerance;
}

std::string Describe(const QColor& c) {
    return c.name().toStdString();
}

void ExpectRefused(const JpegImageResult& result, const char* what) {
    EXPECT_FALSE(result.ok()) << what;
    EXPECT_TRUE(result.image.isNull()) << what;
}

qsizetype FindMarker(const QByteArray& bytes, uchar marker) {
    return bytes.indexOf(QByteArray("\xFF") + char(marker));
}

} // namespace

TEST(Figures, ResourceNamesCarryTheLoadInThreeDigits) {
    const char* expected[] = {"JPG_FIG025", "JPG_FIG050", "JPG_FIG075", "JPG_FIG100",
                              "JPG_FIG125", "JPG_FIG150", "JPG_FIG175"};
    for (int load = 0; load < 7; ++load)
        EXPECT_EQ(FigureResourceName(load), QString::fromLatin1(expected[load]));
}

TEST(Figures, EachDecodesToTheSizeItsWindowShows) {
    for (int load = 0; load < figures::kLoadCount; ++load) {
        const JpegImageResult figure = LoadFigure(FigureResourceName(load));
        ASSERT_TRUE(figure.ok()) << figure.error.toStdString();
        EXPECT_EQ(figure.image.size(), figures::kJumperFigureSize) << load;
    }
    const JpegImageResult diagram = LoadFigure(QString::fromLatin1(kConnectionFigure));
    ASSERT_TRUE(diagram.ok()) << diagram.error.toStdString();
    EXPECT_EQ(diagram.image.size(), figures::kConnectionDiagramSize);
}

// Each figure has the jumper in its own load's socket only, and the cable in its load's bank only.
TEST(Figures, JumperAndCableSitWhereTheLoadNeedsThem) {
    for (int load = 0; load < figures::kLoadCount; ++load) {
        const QImage image = LoadFigure(FigureResourceName(load)).image;
        ASSERT_FALSE(image.isNull());
        for (int socket = 0; socket < figures::kLoadCount; ++socket) {
            const QColor seen = ColourAround(image, figures::SocketProbe(socket));
            const QRgb expected = socket == load ? figures::kAccent : figures::kSocketBody;
            EXPECT_TRUE(Near(seen, expected))
                << "figure " << load << ", socket " << socket << ": " << Describe(seen);
        }
        for (bool bankB : {false, true}) {
            const bool plugged = bankB == figures::UsesBankB(load);
            const QColor plug = ColourAround(image, figures::BankConnectorCentre(bankB));
            EXPECT_TRUE(Near(plug, plugged ? figures::kAccent : figures::kSocketBody))
                << "figure " << load << ", bank " << (bankB ? "B" : "A") << ": " << Describe(plug);
            const QColor cable = ColourAround(image, figures::CableProbe(bankB));
            EXPECT_TRUE(Near(cable, plugged ? figures::kAdapterCable : figures::kBackground))
                << "figure " << load << ", cable of bank " << (bankB ? "B" : "A") << ": " << Describe(cable);
        }
    }
}

TEST(Figures, ConnectionDiagramComesBackInItsColours) {
    const QImage image = LoadFigure(QString::fromLatin1(kConnectionFigure)).image;
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(Near(ColourAround(image, figures::kAnalyzerProbe), figures::kAnalyzerBody))
        << Describe(ColourAround(image, figures::kAnalyzerProbe));
    EXPECT_TRUE(Near(ColourAround(image, QPoint(4, 4)), figures::kBackground));
}

TEST(Figures, AnUnknownNameIsReportedAsMissing) {
    const JpegImageResult result = LoadFigure(QStringLiteral("JPG_FIG200"));
    ExpectRefused(result, "unknown name");
    EXPECT_EQ(result.error, QStringLiteral("The picture JPG_FIG200 is missing from the program."));
}

TEST(DecodeJpeg, RefusesWhatIsNoJpegAtAll) {
    EXPECT_EQ(DecodeJpeg(QByteArray()).error, QStringLiteral("The picture is empty."));

    QImage drawn(16, 8, QImage::Format_RGB32);
    drawn.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    ASSERT_TRUE(drawn.save(&buffer, "PNG"));
    for (const QByteArray& bytes :
         {png, QByteArray("Not a picture"), QByteArray("\xFF"), QByteArray("\xD8\xFF")}) {
        const JpegImageResult result = DecodeJpeg(bytes);
        ExpectRefused(result, bytes.left(8).toHex().constData());
        EXPECT_EQ(result.error, QStringLiteral("The picture is not a JPEG image."));
    }
}

TEST(DecodeJpeg, RefusesAPictureCutShortAnywhere) {
    const QByteArray whole = FigureBytes(QStringLiteral("JPG_FIG100"));
    ASSERT_TRUE(DecodeJpeg(whole).ok());
    // Every cut, from inside the headers to the last byte of the end marker.
    QList<qsizetype> cuts{2, 3, 20, whole.size() / 2, whole.size() - 2, whole.size() - 1};
    for (qsizetype cut = 4; cut < whole.size(); cut += 997)
        cuts.append(cut);
    for (qsizetype cut : cuts) {
        const JpegImageResult result = DecodeJpeg(whole.left(cut));
        ExpectRefused(result, "cut");
        EXPECT_THAT(result.error.toStdString(), StartsWith("The JPEG picture cannot be decoded: ")) << cut;
    }
    const QString halfway = DecodeJpeg(whole.left(whole.size() / 2)).error;
    EXPECT_EQ(halfway, QStringLiteral("The JPEG picture cannot be decoded: Premature end of JPEG file."));
}

TEST(DecodeJpeg, RefusesDamagedHeadersAndData) {
    const QByteArray whole = FigureBytes(QStringLiteral("JPG_FIG050"));
    const qsizetype tables = FindMarker(whole, 0xDB);
    const qsizetype huffman = FindMarker(whole, 0xC4);
    const qsizetype scan = FindMarker(whole, 0xDA);
    ASSERT_GT(tables, 0);
    ASSERT_GT(huffman, 0);
    ASSERT_GT(scan, 0);

    QByteArray strayBytes = whole; // the quantisation table's marker overwritten
    strayBytes[tables] = 0x00;
    strayBytes[tables + 1] = 0x00;
    QByteArray badHuffman = whole; // more codes of one length than the length allows
    badHuffman[huffman + 5] = char(0xFF);
    QByteArray endInScan = whole; // an end marker in the middle of the image data
    const qsizetype middle = scan + (whole.size() - scan) / 2;
    endInScan[middle] = char(0xFF);
    endInScan[middle + 1] = char(0xD9);
    QByteArray noFrame = whole; // the frame header's marker made into an unknown one
    const qsizetype frame = FindMarker(whole, 0xC0);
    ASSERT_GT(frame, 0);
    noFrame[frame + 1] = char(0xCF);

    // libjpeg's own words say what is wrong.
    const std::pair<QByteArray, const char*> cases[] = {{strayBytes, "extraneous bytes before marker"},
                                                        {badHuffman, "Bogus Huffman table definition"},
                                                        {endInScan, "premature end of data segment"},
                                                        {noFrame, "Unsupported JPEG process"}};
    for (const auto& [bytes, reason] : cases) {
        const JpegImageResult result = DecodeJpeg(bytes);
        ExpectRefused(result, reason);
        EXPECT_THAT(result.error.toStdString(), StartsWith("The JPEG picture cannot be decoded: ")) << reason;
        EXPECT_THAT(result.error.toStdString(), HasSubstr(reason));
    }
}

TEST(DecodeJpeg, RefusesAHeaderClaimingAHugePicture) {
    QByteArray bytes = FigureBytes(QStringLiteral("JPG_FIG025"));
    const qsizetype frame = FindMarker(bytes, 0xC0);
    ASSERT_GT(frame, 0);
    // Frame header: marker, length (2), precision (1), height (2), width (2).
    for (int offset : {5, 7}) {
        bytes[frame + offset] = char(0xEA); // 60000
        bytes[frame + offset + 1] = char(0x60);
    }
    EXPECT_EQ(DecodeJpeg(bytes).error,
              QStringLiteral("The JPEG picture is too large to show (60000 x 60000 pixels)."));
}

// Single damaged bytes all over the file: each gives an error or a picture of the right size, never a
// crash or a read outside the data (the sanitizer build checks the latter).
TEST(DecodeJpeg, SurvivesDamageAnywhere) {
    const QByteArray whole = FigureBytes(QStringLiteral("JPG_FIG175"));
    int refused = 0;
    for (qsizetype at = 2; at < whole.size(); at += 211) {
        QByteArray bytes = whole;
        bytes[at] = char(uchar(bytes[at]) ^ 0x5A);
        const JpegImageResult result = DecodeJpeg(bytes);
        if (result.ok())
            EXPECT_EQ(result.image.size(), figures::kJumperFigureSize) << at;
        else
            ++refused;
    }
    EXPECT_GT(refused, 0);
}
