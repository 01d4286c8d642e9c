#include "TemporaryFolder.h"

#include <Platform/Settings/TovikSettingsStore.h>

#include <QColor>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

// The real host draws each widget to a PNG, and the pictures show what a user would see.
namespace {

const QString october1 = QStringLiteral("2026-10-01T09:05:03+08:00");

struct HostRun {
    int exitCode = -1;
    QString errors;
};

class WidgetHostRenderTest : public ::testing::Test {
protected:
    TemporaryFolder folder;

    HostRun host(const QStringList &arguments, const QString &plugin = QStringLiteral(DAYVANE_WIDGET_PLUGIN)) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TZ", "Asia/Shanghai");
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString((folder / "config").string()));
        environment.insert("DAYVANE_WIDGET_PLUGIN", plugin);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(DAYVANE_WIDGET_HOST), arguments);
        process.waitForFinished(120000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardError())};
    }

    QImage render(const QString &kind, const QString &family, const QStringList &options = {}) const
    {
        const QString file = QString::fromStdString((folder / (kind + family + ".png").toStdString()).string());
        const HostRun run = host(QStringList{"--render", kind, family, file, "--at", october1} + options);
        EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
        return QImage(file).convertToFormat(QImage::Format_ARGB32);
    }

    void writeStopwatch(double accumulated, std::optional<double> startedAt) const
    {
        const auto suite =
            TovikSettingsStore::open(folder / "config" / "K9PZQW41RT.local.tovik.dayvane" / "settings.sqlite3");
        ASSERT_TRUE(suite);
        suite->set("dayvane.stopwatch.accumulatedSeconds", accumulated);
        if (startedAt) {
            suite->set("dayvane.stopwatch.startedAt", *startedAt);
        }
    }
};

bool near(QRgb pixel, const QColor &colour, int tolerance = 24)
{
    return std::abs(qRed(pixel) - colour.red()) <= tolerance && std::abs(qGreen(pixel) - colour.green()) <= tolerance
           && std::abs(qBlue(pixel) - colour.blue()) <= tolerance && qAlpha(pixel) == 255;
}

// The pixels of `image` for which `test` holds: how many, and where their middle is.
struct Found {
    int count = 0;
    double x = 0;
    double y = 0;
};

Found find(const QImage &image, const std::function<bool(QRgb)> &test)
{
    Found found;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (test(image.pixel(x, y))) {
                ++found.count;
                found.x += x;
                found.y += y;
            }
        }
    }
    if (found.count > 0) {
        found.x /= found.count;
        found.y /= found.count;
    }
    return found;
}

bool isWhite(QRgb pixel)
{
    return qRed(pixel) > 230 && qGreen(pixel) > 230 && qBlue(pixel) > 230;
}

const QColor cherry = QColor::fromRgbF(0.87, 0.19, 0.39);
const QColor cyan(0x32, 0xad, 0xe6);
const QColor orange(0xff, 0x95, 0x00);

struct FamilyCase {
    const char *name;
    int width;
    int height;
};
const FamilyCase families[] = {{"small", 170, 170}, {"medium", 364, 170}, {"large", 364, 382}};

TEST_F(WidgetHostRenderTest, EveryWidgetFillsItsFamilysRoundedShape)
{
    for (const char *kind : {"DayvaneClockWidget", "DayvaneCalendarWidget", "DayvaneStopwatchWidget"}) {
        for (const FamilyCase &family : families) {
            const QImage image = render(kind, family.name);
            ASSERT_EQ(image.size(), QSize(family.width, family.height)) << kind << " " << family.name;
            EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << kind << " " << family.name;
            EXPECT_EQ(qAlpha(image.pixel(family.width - 1, family.height - 1)), 0) << kind << " " << family.name;
            EXPECT_EQ(qAlpha(image.pixel(family.width / 2, 1)), 255) << kind << " " << family.name;
            // Its text is there to read.
            EXPECT_GT(find(image, isWhite).count, 150) << kind << " " << family.name;
        }
    }
}

TEST_F(WidgetHostRenderTest, DoubleScaleDrawsTheWholeWidgetAtTwiceThePixels)
{
    const QImage image = render("DayvaneCalendarWidget", "medium", {"--scale", "2"});
    ASSERT_EQ(image.size(), QSize(728, 340));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(727, 339)), 0);
    // The card reaches its far corner, and today's cherry is where it is at scale 1, twice as far.
    EXPECT_EQ(qAlpha(image.pixel(700, 320)), 255);
    const Found today = find(image, [](QRgb pixel) { return near(pixel, cherry); });
    ASSERT_GT(today.count, 40);
    EXPECT_GT(today.x, 728 * 3 / 7.0);
    EXPECT_LT(today.x, 728 * 4 / 7.0);
}

TEST_F(WidgetHostRenderTest, CalendarMarksTodayInCherryInItsColumn)
{
    for (const FamilyCase &family : families) {
        const QImage image = render("DayvaneCalendarWidget", family.name);
        const Found today = find(image, [](QRgb pixel) { return near(pixel, cherry); });
        ASSERT_GT(today.count, 10) << family.name;
        // Thursday is the fourth of seven columns; the 1st lies in the first week, in the upper half.
        EXPECT_GT(today.x, family.width * 3 / 7.0) << family.name;
        EXPECT_LT(today.x, family.width * 4 / 7.0) << family.name;
        EXPECT_LT(today.y, family.height / 2.0) << family.name;
    }
}

TEST_F(WidgetHostRenderTest, CalendarMarksTheNewDayAfterMidnight)
{
    const QString file = QString::fromStdString((folder / "sunday.png").string());
    ASSERT_EQ(host({"--render", "DayvaneCalendarWidget", "large", file, "2026-10-04T00:00:01+08:00"}).exitCode, 0);
    const Found today =
        find(QImage(file).convertToFormat(QImage::Format_ARGB32), [](QRgb pixel) { return near(pixel, cherry); });
    ASSERT_GT(today.count, 10);
    EXPECT_GT(today.x, 364 * 6 / 7.0 - 10); // Sunday, the last column
}

TEST_F(WidgetHostRenderTest, PausedStopwatchOffersStartInCyanRunningOneOffersPauseInOrange)
{
    writeStopwatch(754, std::nullopt);
    const QImage paused = render("DayvaneStopwatchWidget", "medium");
    EXPECT_GT(find(paused, [](QRgb pixel) { return near(pixel, cyan, 12); }).count, 200);
    EXPECT_EQ(find(paused, [](QRgb pixel) { return near(pixel, orange, 12); }).count, 0);

    // Started ten minutes before the instant drawn: the time runs in cyan beside the orange pause button.
    writeStopwatch(0, 1790816703.0 - 600);
    const QImage running = render("DayvaneStopwatchWidget", "medium");
    const Found pause = find(running, [](QRgb pixel) { return near(pixel, orange, 12); });
    const Found time = find(running, [](QRgb pixel) { return near(pixel, cyan, 40); });
    EXPECT_GT(pause.count, 200);
    EXPECT_GT(time.count, 200);
    EXPECT_LT(time.y, pause.y);
}

TEST_F(WidgetHostRenderTest, GalleryShowsTheCardInTheWidgetsTint)
{
    const QColor cardBackground = QColor::fromRgbF(0.045, 0.06, 0.09);
    const struct {
        const char *kind;
        QColor tint;
    } cards[] = {{"DayvaneClockWidget", orange},
                 {"DayvaneCalendarWidget", QColor(0x00, 0x7a, 0xff)},
                 {"DayvaneStopwatchWidget", cyan}};
    for (const auto &card : cards) {
        const QImage image = render(card.kind, "small", {"--gallery"});
        EXPECT_TRUE(near(image.pixel(85, 85), cardBackground, 3)) << card.kind;
        // The icon in the tint near the top, the bar at 0.72 of it near the bottom.
        const Found icon = find(image, [&](QRgb pixel) { return near(pixel, card.tint, 16); });
        EXPECT_GT(icon.count, 20) << card.kind;
        EXPECT_LT(icon.y, 60) << card.kind;
        const QColor bar = QColor::fromRgbF(card.tint.redF() * 0.72 + cardBackground.redF() * 0.28,
                                            card.tint.greenF() * 0.72 + cardBackground.greenF() * 0.28,
                                            card.tint.blueF() * 0.72 + cardBackground.blueF() * 0.28);
        const Found drawnBar = find(image, [&](QRgb pixel) { return near(pixel, bar, 6); });
        EXPECT_GT(drawnBar.count, 300) << card.kind;
        EXPECT_GT(drawnBar.y, 140) << card.kind;
    }
}

TEST_F(WidgetHostRenderTest, MissingPluginOrUnknownKindIsAClearFailure)
{
    const QString file = QString::fromStdString((folder / "none.png").string());
    const HostRun missing = host({"--render", "DayvaneClockWidget", "small", file}, "/nonexistent/libDayvaneWidget.so");
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_TRUE(missing.errors.contains("/nonexistent/libDayvaneWidget.so")) << missing.errors.toStdString();

    const HostRun notAPlugin =
        host({"--render", "DayvaneClockWidget", "small", file}, QStringLiteral(DAYVANE_WIDGET_HOST));
    EXPECT_NE(notAPlugin.exitCode, 0);
    EXPECT_TRUE(notAPlugin.errors.contains(QStringLiteral(DAYVANE_WIDGET_HOST))) << notAPlugin.errors.toStdString();

    const HostRun unknown = host({"--render", "DayvaneWeatherWidget", "small", file});
    EXPECT_NE(unknown.exitCode, 0);
    EXPECT_TRUE(unknown.errors.contains("DayvaneWeatherWidget")) << unknown.errors.toStdString();
}

} // namespace
