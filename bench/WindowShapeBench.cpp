// Building the window shape of a skin background must cost less than loading
// the background itself. Prints both times per background and their ratio.
#include <map>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "skin/WindowShape.h"

namespace {

constexpr int WIDTH = 1920;
constexpr int HEIGHT = 1080;
constexpr COLORREF KEY = MakeColorRef(255, 0, 255);
const QColor KEY_COLOUR(255, 0, 255);
// One pixel in a hundred is key-coloured.
constexpr int SCATTERED_KEY_PIXELS = WIDTH * HEIGHT / 100;
constexpr int CORNER_RADIUS = 60;

QImage ScatteredKey()
{
    QImage image(WIDTH, HEIGHT, QImage::Format_RGB32);
    image.fill(QColor(90, 140, 200));
    std::mt19937 random(1);
    for (int i = 0; i < SCATTERED_KEY_PIXELS; ++i)
        image.setPixelColor(int(random() % WIDTH), int(random() % HEIGHT), KEY_COLOUR);
    return image;
}

// What skins usually look like: rounded corners and a few cut-out holes.
QImage RoundedWithHoles()
{
    QImage image(WIDTH, HEIGHT, QImage::Format_RGB32);
    image.fill(KEY_COLOUR);
    QPainter painter(&image);
    painter.setBrush(QColor(200, 120, 160));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(image.rect(), CORNER_RADIUS, CORNER_RADIUS);
    painter.setBrush(KEY_COLOUR);
    for (int i = 0; i < 12; ++i)
        painter.drawEllipse(QPoint(150 + i * 140, 540), 40, 300);
    painter.end();
    return image;
}

struct CBackground
{
    const char* pszName;
    QImage (*pMake)();
};

const CBackground BACKGROUNDS[] = {
    { "scattered", &ScatteredKey },
    { "rounded", &RoundedWithHoles },
};

QTemporaryDir& BitmapFolder()
{
    static QTemporaryDir dir;
    return dir;
}

QString BitmapPath(const CBackground& background)
{
    const QString strPath = BitmapFolder().filePath(QString::fromLatin1(background.pszName) + ".bmp");
    if (!QImage(strPath).isNull())
        return strPath;
    // 24 bits per pixel, as skin backgrounds are saved.
    background.pMake().convertToFormat(QImage::Format_RGB888).save(strPath, "BMP");
    return strPath;
}

void LoadBitmap(benchmark::State& state, const CBackground* pBackground)
{
    const QString strPath = BitmapPath(*pBackground);
    for (auto _ : state) {
        QImage image(strPath);
        benchmark::DoNotOptimize(image);
    }
}

void BuildShape(benchmark::State& state, const CBackground* pBackground)
{
    const QImage image(BitmapPath(*pBackground));
    for (auto _ : state) {
        QRegion region = BuildShapeRegion(image, KEY);
        benchmark::DoNotOptimize(region);
    }
    state.counters["rects"] = double(BuildShapeRegion(image, KEY).rectCount());
}

// Prints each background's load time, shape time and their ratio after the
// usual table.
class CRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& arrRuns) override
    {
        ConsoleReporter::ReportRuns(arrRuns);
        for (const Run& run : arrRuns)
            m_mapSeconds[run.benchmark_name()] = run.GetAdjustedRealTime();
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const CBackground& background : BACKGROUNDS) {
            const std::string strName = background.pszName;
            const double dLoadMs = m_mapSeconds["LoadBitmap/" + strName];
            const double dShapeMs = m_mapSeconds["BuildShape/" + strName];
            if (dLoadMs <= 0)
                continue;
            GetOutputStream() << strName << " " << WIDTH << "x" << HEIGHT << ": load " << dLoadMs << " ms, shape "
                              << dShapeMs << " ms, shape/load " << dShapeMs / dLoadMs
                              << (dShapeMs < dLoadMs ? " (shape is cheaper)" : " (SHAPE COSTS MORE)") << "\n";
        }
    }

private:
    std::map<std::string, double> m_mapSeconds;
};

} // namespace

int main(int argc, char** argv)
{
    for (const CBackground& background : BACKGROUNDS) {
        benchmark::RegisterBenchmark(("LoadBitmap/" + std::string(background.pszName)).c_str(), LoadBitmap, &background)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BuildShape/" + std::string(background.pszName)).c_str(), BuildShape, &background)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
