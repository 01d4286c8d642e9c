#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <DayvaneWidgetHost/WidgetAutostart.h>
#include <DayvaneWidgetHost/WidgetHostStore.h>
#include <DayvaneWidgetHost/WidgetPlacement.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// Where the host puts widgets, how it remembers them, and its login switch.
namespace {

const QSize small = widgetFamilySize(WidgetFamily::systemSmall).toSize();
const QSize medium = widgetFamilySize(WidgetFamily::systemMedium).toSize();
const QSize large = widgetFamilySize(WidgetFamily::systemLarge).toSize();

struct NewWidgetCase {
    const char *name;
    QRect available;
    QSize size;
    std::vector<QRect> placed;
    QPoint expected;
};

TEST(WidgetPlacement, NewWidgetsStackInColumnsFromTheRightOfTheAvailableArea)
{
    using WidgetPlacement::margin;
    using WidgetPlacement::spacing;
    const QRect screen(0, 30, 1280, 770); // a panel across the top
    const int right = 1280 - margin;
    const QPoint first(right - small.width(), 30 + margin);
    const QRect firstFrame(first, small);
    const QRect secondFrame(QPoint(first.x(), firstFrame.bottom() + 1 + spacing), small);
    const NewWidgetCase cases[] = {
        {"the first goes to the top right", screen, small, {}, first},
        {"the next goes below it", screen, small, {firstFrame}, secondFrame.topLeft()},
        {"a wider one keeps clear of the column's widgets",
         screen,
         medium,
         {firstFrame, secondFrame},
         QPoint(right - medium.width(), secondFrame.bottom() + 1 + spacing)},
        {"a gap left by a removed widget is taken again", screen, small, {secondFrame}, first},
        {"a full column starts another to its left",
         QRect(0, 0, 1280, 2 * small.height() + 2 * margin + spacing),
         small,
         {QRect(QPoint(first.x(), margin), small), QRect(QPoint(first.x(), margin + small.height() + spacing), small)},
         QPoint(first.x() - small.width() - spacing, margin)},
        {"an area too small for it gets its top-right slot",
         QRect(100, 100, 200, 200),
         large,
         {},
         QPoint(100 + 200 - margin - large.width(), 100 + margin)},
        {"a second screen's area counts from its own corner",
         QRect(1280, 0, 1920, 1080),
         small,
         {},
         QPoint(1280 + 1920 - margin - small.width(), margin)},
    };
    for (const NewWidgetCase &c : cases) {
        EXPECT_EQ(WidgetPlacement::newWidgetPosition(c.available, c.size, c.placed), c.expected) << c.name;
    }
}

struct ClampCase {
    const char *name;
    QRect frame;
    std::vector<QRect> screens;
    QPoint expected;
};

TEST(WidgetPlacement, RememberedWidgetsComeBackWhollyOnAScreen)
{
    const QRect primary(0, 0, 1280, 800);
    const QRect secondary(1280, 0, 1024, 768);
    const ClampCase cases[] = {
        {"on the screen it stays", QRect(QPoint(400, 300), small), {primary}, QPoint(400, 300)},
        {"over the right edge it is pulled in",
         QRect(QPoint(1200, 300), small),
         {primary},
         QPoint(1280 - small.width(), 300)},
        {"above the top it comes down", QRect(QPoint(400, -50), medium), {primary}, QPoint(400, 0)},
        {"on a screen that is gone it moves to the primary",
         QRect(QPoint(2000, 500), small),
         {primary},
         QPoint(1280 - small.width(), 500)},
        {"across two screens it goes to the one it covers most",
         QRect(QPoint(1250, 100), small),
         {primary, secondary},
         QPoint(1280, 100)},
        {"on the secondary screen it stays there",
         QRect(QPoint(1500, 600), large),
         {primary, secondary},
         QPoint(1500, 768 - large.height())},
        {"larger than the screen it keeps its top-left on it",
         QRect(QPoint(50, 50), large),
         {QRect(0, 0, 300, 300)},
         QPoint(0, 0)},
        {"with no screens at all it stays", QRect(QPoint(-500, 10), small), {}, QPoint(-500, 10)},
    };
    for (const ClampCase &c : cases) {
        EXPECT_EQ(WidgetPlacement::clampedOnto(c.frame, c.screens), c.expected) << c.name;
    }
}

TEST(WidgetHostStore, TheListReadsBackAndLinesThatDoNotReadAreLeftOut)
{
    const std::vector<PlacedWidget> placed = {
        {"DayvaneClockWidget", WidgetFamily::systemSmall, QPoint(1094, 16)},
        {"DayvaneStopwatchWidget", WidgetFamily::systemLarge, QPoint(-1200, -40)}, // a screen left of the primary
        {"DayvaneCalendarWidget", WidgetFamily::systemMedium, QPoint(0, 0)},
    };
    EXPECT_EQ(WidgetHostStore::decode(WidgetHostStore::encode(placed)), placed);

    const struct {
        const char *line;
        bool reads;
    } lines[] = {
        {"DayvaneClockWidget small 10 20", true},
        {"DayvaneClockWidget huge 10 20", false},
        {"DayvaneClockWidget small 10", false},
        {"DayvaneClockWidget small 10 20 30", false},
        {"DayvaneClockWidget small ten 20", false},
        {"DayvaneClockWidget small 10 20.5", false},
        {"DayvaneClockWidget small 10 99999999999", false},
        {"DayvaneClockWidget  small 10 20", false},
        {" small 10 20", false},
        {"", false},
    };
    for (const auto &line : lines) {
        // A bad line costs only itself: the widget after it is still read.
        const std::string text = std::string(line.line) + "\nDayvaneCalendarWidget large 5 6\n";
        EXPECT_EQ(WidgetHostStore::decode(text).size(), line.reads ? 2u : 1u) << line.line;
    }
}

TEST(WidgetHostStore, ADamagedStoreIsSetAsideAndAFreshOneTakesItsPlace)
{
    TemporaryFolder folder;
    const std::filesystem::path file = folder / "dayvane-widget-host" / "settings.sqlite3";
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << "not a database, but somebody's bytes";
    {
        WidgetHostStore store(file);
        EXPECT_TRUE(store.load().empty());
        store.save({{"DayvaneClockWidget", WidgetFamily::systemMedium, QPoint(7, 8)}});
    }
    const std::vector<PlacedWidget> reread = WidgetHostStore(file).load();
    ASSERT_EQ(reread.size(), 1u);
    EXPECT_EQ(reread[0].position, QPoint(7, 8));

    // The damaged file is kept beside the fresh one, as it was.
    bool keptAside = false;
    for (const auto &entry : std::filesystem::directory_iterator(file.parent_path())) {
        std::ifstream in(entry.path());
        std::stringstream bytes;
        bytes << in.rdbuf();
        keptAside = keptAside || bytes.str() == "not a database, but somebody's bytes";
    }
    EXPECT_TRUE(keptAside);
}

TEST(WidgetAutostart, AnEntryWithoutTemplateStartsThisProgramHoweverItsPathIsSpelt)
{
    const struct {
        const char *path;
        const char *exec;
    } cases[] = {
        {"/usr/bin/dayvane-widget-host", "Exec=/usr/bin/dayvane-widget-host\n"},
        {"/home/li wei/build/dayvane-widget-host", "Exec=\"/home/li wei/build/dayvane-widget-host\"\n"},
        {"/opt/$HOME/dayvane-widget-host", "Exec=\"/opt/\\\\$HOME/dayvane-widget-host\"\n"},
        {"/opt/a\"b/dayvane-widget-host", "Exec=\"/opt/a\\\\\"b/dayvane-widget-host\"\n"},
        {"/opt/100%/dayvane-widget-host", "Exec=\"/opt/100%%/dayvane-widget-host\"\n"},
    };
    for (const auto &c : cases) {
        EXPECT_NE(WidgetAutostart::entryText(c.path).find(c.exec), std::string::npos) << c.path;
    }
}

TEST(WidgetAutostart, TheSwitchCopiesTheInstalledTemplateElseWritesItsOwnAndRemovesIt)
{
    // The test's XDG_CONFIG_HOME is its own.
    TemporaryFolder prefix;
    const std::filesystem::path executable = prefix / "bin" / "dayvane-widget-host";
    std::filesystem::create_directories(executable.parent_path());

    ASSERT_TRUE(WidgetAutostart::setEnabled(true, executable));
    EXPECT_TRUE(WidgetAutostart::isEnabled());
    std::stringstream written;
    written << std::ifstream(WidgetAutostart::entryFile()).rdbuf();
    EXPECT_EQ(written.str(), WidgetAutostart::entryText(executable));

    const std::filesystem::path installed = prefix / "share" / "dayvane" / "autostart" / "dayvane-widget-host.desktop";
    EXPECT_EQ(WidgetAutostart::templateFile(executable), installed);
    std::filesystem::create_directories(installed.parent_path());
    std::ofstream(installed) << "[Desktop Entry]\nExec=dayvane-widget-host\n";
    ASSERT_TRUE(WidgetAutostart::setEnabled(true, executable));
    std::stringstream copied;
    copied << std::ifstream(WidgetAutostart::entryFile()).rdbuf();
    EXPECT_EQ(copied.str(), "[Desktop Entry]\nExec=dayvane-widget-host\n");

    ASSERT_TRUE(WidgetAutostart::setEnabled(false, executable));
    EXPECT_FALSE(WidgetAutostart::isEnabled());
    EXPECT_FALSE(std::filesystem::exists(WidgetAutostart::entryFile()));
}

} // namespace
