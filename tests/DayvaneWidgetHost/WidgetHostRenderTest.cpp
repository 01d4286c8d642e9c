#include "TemporaryFolder.h"
#include "VirtualDisplay.h"

#include <Platform/Settings/TovikSettingsStore.h>

#include <QColor>
#include <QDeadlineTimer>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

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

    QProcessEnvironment hostEnvironment(const QString &zone = QStringLiteral("Asia/Shanghai"),
                                        const QString &plugin = QStringLiteral(DAYVANE_WIDGET_PLUGIN)) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TZ", zone);
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString((folder / "config").string()));
        environment.insert("DAYVANE_WIDGET_PLUGIN", plugin);
        return environment;
    }

    HostRun host(const QStringList &arguments, const QString &plugin = QStringLiteral(DAYVANE_WIDGET_PLUGIN),
                 const QString &zone = QStringLiteral("Asia/Shanghai")) const
    {
        QProcess process;
        process.setProcessEnvironment(hostEnvironment(zone, plugin));
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

    // The time a medium clock widget draws at a local time in a zone.
    std::vector<QPoint> clockTime(const char *zone, const char *at) const;

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

// Where a clock widget's time is drawn: only the time is pure white (the date and the subtitle are
// translucent), so these are the pixels of the time's text.
std::vector<QPoint> timePixels(const QImage &image)
{
    std::vector<QPoint> pixels;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qRed(pixel) >= 250 && qGreen(pixel) >= 250 && qBlue(pixel) >= 250) {
                pixels.emplace_back(x, y);
            }
        }
    }
    return pixels;
}

// How wide the time is drawn, 0 when nothing shows it.
int width(const std::vector<QPoint> &pixels)
{
    const auto [left, right] =
        std::minmax_element(pixels.begin(), pixels.end(), [](QPoint a, QPoint b) { return a.x() < b.x(); });
    return pixels.empty() ? 0 : right->x() - left->x() + 1;
}

std::vector<QPoint> WidgetHostRenderTest::clockTime(const char *zone, const char *at) const
{
    const QString file = QString::fromStdString((folder / "clock.png").string());
    const HostRun run = host({"--render", "DayvaneClockWidget", "medium", file, at}, DAYVANE_WIDGET_PLUGIN, zone);
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    return timePixels(QImage(file).convertToFormat(QImage::Format_ARGB32));
}

struct ClockReading {
    const char *zone;
    const char *at;   // a local time in the zone
    const char *twin; // another whose time has as many digits
    bool sameTime;    // and is the same time of day, so the same pixels
};

// The hour of the small hours, and ten o'clock on the days the clocks change (Los Angeles: 8 March and
// 1 November 2026) as on the days after. Counted from midnight they would read "30:05", "9:00:00" and
// "11:00:00".
const ClockReading clockReadings[] = {
    {"Asia/Shanghai", "2026-12-08T00:30:05", "2026-12-08T09:30:05", false},
    {"America/Los_Angeles", "2026-03-08T10:00:00", "2026-03-09T10:00:00", true},
    {"America/Los_Angeles", "2026-11-01T10:00:00", "2026-11-02T10:00:00", true},
};

TEST_F(WidgetHostRenderTest, ClockDrawsTheWallTimeOfDayWithItsHour)
{
    for (const ClockReading &reading : clockReadings) {
        SCOPED_TRACE(std::string(reading.zone) + " " + reading.at);
        const std::vector<QPoint> twin = clockTime(reading.zone, reading.twin);
        ASSERT_GT(width(twin), 100);
        const std::vector<QPoint> drawn = clockTime(reading.zone, reading.at);
        if (reading.sameTime) {
            EXPECT_TRUE(drawn == twin) << "drawn unlike " << reading.twin;
        } else {
            EXPECT_NEAR(width(drawn), width(twin), 4);
        }
    }
}

// The host itself, its wall clock set by libfaketime, shows a placed clock on a real X server, its time
// as wide as a rendering of the twin draws it.
TEST_F(WidgetHostRenderTest, PlacedClockRunsOnTheWallTimeOfDay)
{
    for (const ClockReading &reading : {clockReadings[0], clockReadings[1]}) {
        SCOPED_TRACE(std::string(reading.zone) + " " + reading.at);
        const VirtualDisplay display;
        ASSERT_FALSE(display.name().empty()) << "Xvfb did not start";
        const auto store = TovikSettingsStore::open(folder / "config" / "dayvane-widget-host" / "settings.sqlite3");
        ASSERT_TRUE(store);
        store->set("dayvane.widgetHost.placedWidgets", "DayvaneClockWidget medium 100 100\n");
        const std::filesystem::path runtime = folder / "runtime";
        std::filesystem::create_directories(runtime);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);

        QProcess placed;
        QProcessEnvironment environment = hostEnvironment(reading.zone);
        environment.insert("DISPLAY", QString::fromStdString(display.name()));
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.string()));
        placed.setProcessEnvironment(environment);
        const QString start = QString::fromLatin1(reading.at).replace('T', ' ');
        placed.start(QStringLiteral("faketime"), {"-f", "@" + start, DAYVANE_WIDGET_HOST});
        ASSERT_TRUE(placed.waitForStarted());

        const QString screen = QString::fromStdString((folder / "screen.png").string());
        std::vector<QPoint> live;
        for (QDeadlineTimer deadline(60000); live.empty() && !deadline.hasExpired(); QThread::msleep(100)) {
            QProcess grab;
            grab.setProcessEnvironment(environment);
            grab.start(QStringLiteral("import"), {"-window", "root", screen});
            grab.waitForFinished(30000);
            live = timePixels(QImage(screen).convertToFormat(QImage::Format_ARGB32));
        }
        placed.terminate();
        placed.waitForFinished(30000);
        ASSERT_FALSE(live.empty()) << "no clock on the screen";
        EXPECT_NEAR(width(live), width(clockTime(reading.zone, reading.twin)), 4);
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
