// What a screen reader is told through QAccessible: roles, names, states, actions and change events of the
// main window's content.
#include "AccessibleLookup.h"
#include "CalendarTestSupport.h"
#include "StopwatchLookup.h"
#include "TabbedContentTest.h"

#include <ClockCalendarFeature/ClockCalendarAccessibility.h>
#include <ClockCalendarFeature/ClockCalendarAccessibleText.h>
#include <ClockCalendarFeature/ClockCalendarViewController.h>
#include <ClockCalendarFeature/ClockFaceView.h>
#include <ClockCalendarFeature/StopwatchView.h>
#include <Platform/Settings/TovikSettingsStore.h>

#include <QAccessible>
#include <QApplication>
#include <QTemporaryDir>
#include <QToolButton>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <memory>
#include <private/qguiapplication_p.h>
#include <vector>

using namespace CalendarTestSupport;

namespace {

struct Heard {
    QAccessible::Event type;
    QObject *object;
    QString name;
};

std::vector<Heard> heard;

void listen(QAccessibleEvent *event)
{
    QAccessibleInterface *face = event->accessibleInterface();
    heard.push_back({event->type(), event->object(), face ? face->text(QAccessible::Name) : QString()});
}

class AccessibilityTest : public TabbedContentTest {
protected:
    AccessibilityTest()
        : TabbedContentTest(at(2026, 1, 1, 10, 0))
    {
    }

    void SetUp() override
    {
        ClockCalendarAccessibility::install();
        heard.clear();
        QAccessible::installUpdateHandler(listen);
        // As a screen reader's arrival would: the platform's accessibility becomes active.
        accessibility = QGuiApplicationPrivate::platformIntegration()->accessibility();
        ASSERT_TRUE(accessibility);
        accessibility->setActive(true);
        showContent();
    }

    void TearDown() override
    {
        if (accessibility) {
            accessibility->setActive(false);
        }
        QAccessible::installUpdateHandler(nullptr);
    }

    static QAccessibleInterface *face(QObject *object) { return QAccessible::queryAccessibleInterface(object); }

    static int heardCount(QAccessible::Event type, QObject *object)
    {
        return static_cast<int>(std::count_if(heard.begin(), heard.end(),
                                              [&](const Heard &h) { return h.type == type && h.object == object; }));
    }

    QPlatformAccessibility *accessibility = nullptr;
};

} // namespace

TEST_F(AccessibilityTest, DayNamesAndToolTipsSayDateWeekdayMarksAndLunarDate)
{
    struct Case {
        int year, month, day;
        bool isCurrentMonth;
        const char *name;
        const char *toolTip;
    };
    const Case cases[] = {
        {2026, 1, 1, true, "2026年1月1日 星期四 元旦 农历冬月十三", "乙巳年冬月十三 星期四"},
        {2026, 1, 4, true, "2026年1月4日 星期日 上班 农历冬月十六", "乙巳年冬月十六 星期日"},
        {2026, 1, 5, true, "2026年1月5日 星期一 小寒 农历冬月十七", "乙巳年冬月十七 星期一 小寒"},
        {2026, 2, 14, true, "2026年2月14日 星期六 上班 农历腊月廿七", "乙巳年腊月廿七 星期六"},
        {2026, 2, 17, true, "2026年2月17日 星期二 春节 农历正月初一", "丙午年正月初一 星期二 春节"},
        {2026, 12, 7, true, "2026年12月7日 星期一 大雪 农历十月廿九", "丙午年十月廿九 星期一 大雪"},
        {2027, 1, 15, true, "2027年1月15日 星期五 腊八节 农历腊月初八", "丙午年腊月初八 星期五 腊八节"},
        {2025, 12, 29, false, "2025年12月29日 星期一", ""},
    };
    for (const Case &c : cases) {
        const TovikCalendarGrid grid = TovikCalendarGrid::make(day(c.year, c.month, 1), clock.now());
        const Instant date = day(c.year, c.month, c.day);
        const TovikCalendarGrid other = TovikCalendarGrid::make(day(2026, 1, 1), clock.now());
        const auto &cells = c.isCurrentMonth ? grid.cells : other.cells;
        const auto found = std::find_if(cells.begin(), cells.end(), [&](const TovikCalendarCellData &cell) {
            return cell.date == date && cell.isCurrentMonth == c.isCurrentMonth;
        });
        ASSERT_NE(found, cells.end()) << c.name;
        EXPECT_EQ(ClockCalendarAccessibleText::dayName(*found), QString::fromUtf8(c.name));
        EXPECT_EQ(ClockCalendarAccessibleText::dayToolTip(*found), QString::fromUtf8(c.toolTip));
    }
}

TEST_F(AccessibilityTest, MonthIsATableOfDayCellsWithTodaySelectionAndFocus)
{
    controller->selectTab(1);
    // Found by the name it reads out, which the lookup checks.
    CalendarView *january = monthNamed(*window, QStringLiteral("1月 2026年"));
    QAccessibleInterface *table = face(january);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->role(), QAccessible::Table);
    QAccessibleTableInterface *grid = table->tableInterface();
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->rowCount() * grid->columnCount(), 42);
    EXPECT_EQ(grid->columnDescription(0), QStringLiteral("周一"));
    const auto buttons = january->findChildren<QToolButton *>();
    QStringList buttonNames;
    for (QToolButton *button : buttons) {
        buttonNames << face(button)->text(QAccessible::Name);
    }
    EXPECT_EQ(buttonNames, (QStringList{QStringLiteral("上个月"), QStringLiteral("下个月")}));

    QAccessibleInterface *newYear = grid->cellAt(0, 3);
    ASSERT_TRUE(newYear);
    EXPECT_EQ(newYear->role(), QAccessible::Cell);
    EXPECT_EQ(newYear->text(QAccessible::Name), QStringLiteral("2026年1月1日 星期四 元旦 农历冬月十三"));
    EXPECT_EQ(newYear->text(QAccessible::Description), QStringLiteral("今天"));
    EXPECT_TRUE(newYear->state().focused);
    // One place has the focus for a screen reader: the month with the focus day, not its neighbour or the page.
    CalendarView *february = monthNamed(*window, QStringLiteral("2月 2026年"));
    ASSERT_TRUE(february);
    EXPECT_TRUE(table->state().focused);
    EXPECT_FALSE(face(february)->state().focused);
    EXPECT_FALSE(face(january->parentWidget())->state().focused);
    EXPECT_FALSE(newYear->state().selected);
    EXPECT_EQ(grid->cellAt(0, 6)->text(QAccessible::Name), QStringLiteral("2026年1月4日 星期日 上班 农历冬月十六"));
    EXPECT_TRUE(grid->cellAt(0, 0)->state().disabled); // 29 December, shown empty
    QAccessibleTableCellInterface *cell = newYear->tableCellInterface();
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->rowIndex(), 0);
    EXPECT_EQ(cell->columnIndex(), 3);
    EXPECT_EQ(cell->table(), table);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(newYear->state().selected);
    EXPECT_EQ(grid->selectedCellCount(), 1);
}

TEST_F(AccessibilityTest, WorkdayCountIsAnnouncedWhenItChanges)
{
    controller->selectTab(1);
    CalendarView *january = monthNamed(*window, QStringLiteral("1月 2026年"));
    ASSERT_TRUE(january);
    QLabel *count = january->workdayCountLabel();
    for (int i = 0; i < 4; ++i) { // to Monday 5 January
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    ASSERT_EQ(visibleWorkdayCount(*january), QStringLiteral("工作日1天"));
    heard.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_EQ(visibleWorkdayCount(*january), QStringLiteral("工作日2天"));
    EXPECT_EQ(heardCount(QAccessible::NameChanged, count), 1);
    EXPECT_EQ(face(count)->text(QAccessible::Name), QStringLiteral("工作日2天"));
    heard.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right, Qt::ShiftModifier); // 工作日3天
    EXPECT_EQ(heardCount(QAccessible::NameChanged, count), 1);
}

TEST_F(AccessibilityTest, TabStripIsAPageTabListWhoseTabsPress)
{
    QAccessibleInterface *strip = face(controller->segment());
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->role(), QAccessible::PageTabList);
    ASSERT_EQ(strip->childCount(), 3);
    const QString names[] = {QStringLiteral("时钟"), QStringLiteral("日历"), QStringLiteral("计时器")};
    for (int i = 0; i < 3; ++i) {
        QAccessibleInterface *tab = strip->child(i);
        EXPECT_EQ(tab->role(), QAccessible::PageTab);
        EXPECT_EQ(tab->text(QAccessible::Name), names[i]);
        EXPECT_EQ(tab->state().selected, i == 0);
        EXPECT_EQ(strip->indexOfChild(tab), i);
        EXPECT_TRUE(strip->rect().contains(tab->rect()));
    }
    QAccessibleActionInterface *press = strip->child(2)->actionInterface();
    ASSERT_TRUE(press);
    press->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(controller->selectedIndex(), 2);
    EXPECT_TRUE(strip->child(2)->state().selected);
}

TEST_F(AccessibilityTest, StopwatchButtonsPressAndTheDisplayTellsItsTimeAtMostOnceASecond)
{
    controller->selectTab(2);
    StopwatchView *view = stopwatchDisplay(*window);
    ASSERT_TRUE(view);
    QAccessibleInterface *start = face(stopwatchToggleButton(*view));
    ASSERT_TRUE(start);
    EXPECT_EQ(start->role(), QAccessible::Button);
    EXPECT_EQ(start->text(QAccessible::Name), QStringLiteral("开始"));
    EXPECT_TRUE(face(stopwatchResetButton(*view))->state().disabled);
    ASSERT_TRUE(start->actionInterface());
    ASSERT_TRUE(start->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    start->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(StopwatchStore(suite, "test.stopwatch").load().isRunning());
    EXPECT_EQ(start->text(QAccessible::Name), QStringLiteral("暂停"));

    QAccessibleInterface *display = face(view);
    EXPECT_EQ(display->text(QAccessible::Name), QStringLiteral("计时器"));
    ASSERT_TRUE(display->valueInterface());
    heard.clear();
    const Instant started = clock.now();
    for (int second = 1; second <= 3; ++second) {
        view->refresh(started + second);
    }
    EXPECT_EQ(display->text(QAccessible::Value), QStringLiteral("00:00:03"));
    EXPECT_EQ(display->valueInterface()->currentValue().toDouble(), 3);
    EXPECT_LE(heardCount(QAccessible::ValueChanged, view), 1);
    // A later second is heard once a second has passed.
    const int before = heardCount(QAccessible::ValueChanged, view);
    int second = 4;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return view->refresh(started + second++), heardCount(QAccessible::ValueChanged, view) > before; }, 3000));
}

TEST_F(AccessibilityTest, ClockTellsItsThreeLinesAndTheirChanges)
{
    // The face reads out its lines but has no name of its own: it is the shown page's one clock face.
    ClockFaceView *face = window->findChild<ClockFaceView *>();
    ASSERT_TRUE(face);
    QAccessibleInterface *clockFace = QAccessible::queryAccessibleInterface(face);
    ASSERT_TRUE(clockFace);
    ASSERT_EQ(clockFace->childCount(), 3);
    const QString lines[] = {face->dateText(), face->timeText(), face->lunarText()};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(clockFace->child(i)->role(), QAccessible::StaticText);
        EXPECT_EQ(clockFace->child(i)->text(QAccessible::Name), lines[i]);
        EXPECT_FALSE(clockFace->child(i)->state().invisible);
    }
    EXPECT_EQ(lines[1], QStringLiteral("10:00:00"));
    heard.clear();
    face->refresh(at(2026, 1, 1, 10, 0, 1));
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].type, QAccessible::NameChanged);
    EXPECT_EQ(heard[0].name, QStringLiteral("10:00:01"));
}

TEST_F(AccessibilityTest, MiniWindowButtonIsNamedByItsTooltip)
{
    controller->setOnOpenMiniWindow([](ClockCalendarTab) {});
    auto *miniButton = findByAccessibleName<QAbstractButton>(*controller->view(), QStringLiteral("小窗显示"));
    ASSERT_TRUE(miniButton);
    QAccessibleInterface *button = face(miniButton);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->role(), QAccessible::Button);
    EXPECT_EQ(button->text(QAccessible::Name), miniButton->toolTip());
    EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("小窗显示"));
}
