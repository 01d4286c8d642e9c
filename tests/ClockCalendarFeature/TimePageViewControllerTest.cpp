// The two time pages: what each puts into its view, the one font size they impose, and their lifetimes.
#include "StopwatchLookup.h"

#include <ClockCalendarFeature/ClockCalendarAccessibility.h>
#include <ClockCalendarFeature/ClockFaceView.h>
#include <ClockCalendarFeature/StopwatchView.h>
#include <ClockCalendarFeature/TimeFontFitting.h>
#include <ClockCalendarFeature/TimePageViewController.h>
#include <ClockCalendarFeature/TimeTextLabel.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/Ui/TovikClock.h>
#include <Platform/Ui/TovikViewTicker.h>
#include <TovikKit/TovikFonts.h>
#include <TovikKit/TovikLayoutView.h>

#include <QApplication>
#include <QImage>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

// Views of a kind outside every view tree, as a page's clock face is until the page places it, or for good.
template <typename View>
QList<View *> unplaced()
{
    QList<View *> views;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *view = qobject_cast<View *>(window)) {
            views.append(view);
        }
    }
    return views;
}

class TimePageTest : public ::testing::Test {
protected:
    void SetUp() override { ClockCalendarAccessibility::install(); }

    TimePageViewController::Content content(bool stopwatch) const
    {
        if (!stopwatch) {
            return TimePageViewController::Clock{};
        }
        return TimePageViewController::Stopwatch{StopwatchStore(
            TovikSettingsStore::open((m_folder.path() + "/suite.sqlite3").toStdString()), "dayvane.stopwatch")};
    }
    StopwatchStore store() const
    {
        return StopwatchStore(TovikSettingsStore::open((m_folder.path() + "/suite.sqlite3").toStdString()),
                              "dayvane.stopwatch");
    }
    QTemporaryDir m_folder;
};

} // namespace

TEST_F(TimePageTest, ClockPageFitsItsClockFaceToThePage)
{
    TimePageViewController page(TovikClock::shared(), content(false));
    QWidget *root = page.view();
    ASSERT_NE(qobject_cast<TovikLayoutView *>(root), nullptr);
    EXPECT_EQ(stopwatchDisplay(*root), nullptr);
    auto *face = root->findChild<ClockFaceView *>();
    ASSERT_TRUE(face);
    EXPECT_EQ(face->parentWidget(), root);

    root->show();
    root->resize(560, 360);
    const double expected = TimeFontFitting::fittedSize(QSizeF(532, 344 / 2.6), QStringLiteral("00:00:00"), 110, 18);
    EXPECT_LE(expected, 103.2);
    EXPECT_EQ(face->timeFontSize(), expected);
    EXPECT_EQ(face->geometry(), QRect(14, 8, 532, 344));

    // A narrow page: the floor size, and still the three lines, since the page dictates the size.
    root->resize(60, 80);
    EXPECT_EQ(face->timeFontSize(), 18);
    EXPECT_TRUE(face->showsDateAndLunar());
    // An inset of a point or less keeps what it had.
    root->resize(29, 300);
    EXPECT_EQ(face->geometry(), QRect(14, 8, 32, 64));
}

TEST_F(TimePageTest, StopwatchPageCentresTheStopwatchAtTheClocksSize)
{
    TimePageViewController clockPage(TovikClock::shared(), content(false));
    const ClockFaceView *clockFace = clockPage.view()->findChild<ClockFaceView *>();
    TimePageViewController page(TovikClock::shared(), content(true));
    EXPECT_TRUE(unplaced<StopwatchView>().empty()) << "not built before the view";
    QWidget *root = page.view();
    StopwatchView *stopwatch = stopwatchDisplay(*root);
    ASSERT_NE(stopwatch, nullptr);
    EXPECT_EQ(stopwatch->parentWidget(), root);
    EXPECT_NE(stopwatchToggleButton(*stopwatch), nullptr);
    // Built, but out of the view tree.
    EXPECT_EQ(root->findChild<ClockFaceView *>(), nullptr);
    ASSERT_EQ(unplaced<ClockFaceView>().size(), 1);

    root->show();
    clockPage.view()->show();
    for (const QSize size : {QSize(560, 360), QSize(900, 300), QSize(300, 700), QSize(140, 200)}) {
        root->resize(size);
        clockPage.view()->resize(size);
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        const double s = *clockFace->timeFontSize();
        const QFont font = stopwatch->label()->font();
        EXPECT_NEAR(font.pointSizeF() * 96 / 72, s, 1e-6);
        EXPECT_EQ(font.weight(), TovikFonts::faceWeight(QFont::DemiBold)); // the semibold face
        const QRect frame = stopwatch->geometry();
        EXPECT_NEAR(frame.width(), std::min(std::max(5.4 * s, 120.0), size.width() - 28.0), 1);
        EXPECT_EQ(frame.height(), std::max(std::ceil(1.15 * s), 28.0) + 62);
        EXPECT_NEAR(frame.x() + frame.width() / 2.0, size.width() / 2.0, 1);
        EXPECT_NEAR(frame.y() + frame.height() / 2.0, size.height() / 2.0, 1);
    }

    // Hiding the page, as a tab switch does, stops the stopwatch's ticker; the unshown clock face never ticks.
    auto *ticker = stopwatch->findChild<TovikViewTicker *>();
    EXPECT_TRUE(ticker->isRunning());
    root->hide();
    EXPECT_FALSE(ticker->isRunning());
    root->show();
    EXPECT_TRUE(ticker->isRunning());
    EXPECT_FALSE(unplaced<ClockFaceView>().at(0)->findChild<TovikViewTicker *>()->isRunning());
}

TEST_F(TimePageTest, EveryOwnershipOrderEndsCleanly)
{
    for (const bool stopwatch : {false, true}) {
        // The controller goes first, with or without a loaded view.
        for (const bool load : {false, true}) {
            QPointer<ClockFaceView> face;
            {
                TimePageViewController page(TovikClock::shared(), content(stopwatch));
                face = unplaced<ClockFaceView>().value(0);
                ASSERT_TRUE(face);
                if (load) {
                    page.view();
                }
            }
            EXPECT_TRUE(face.isNull());
        }
        // The container that holds the page's view goes first.
        auto page = std::make_unique<TimePageViewController>(TovikClock::shared(), content(stopwatch));
        QPointer<ClockFaceView> face = unplaced<ClockFaceView>().value(0);
        ASSERT_TRUE(face);
        auto container = std::make_unique<QWidget>();
        page->view()->setParent(container.get());
        container.reset();
        EXPECT_EQ(face.isNull(), !stopwatch);
        page.reset();
        EXPECT_TRUE(face.isNull());
    }
}

namespace {

// The first and last pixel columns that hold ink (-1 when none).
std::pair<int, int> inkedColumns(QWidget &widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (qAlpha(image.pixel(x, y)) > 0) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

} // namespace

// At the smallest main window the stopwatch's long times are set smaller rather than cut on both sides.
TEST_F(TimePageTest, LongStopwatchTimesAreNeverCutAtTheSmallestWindow)
{
    TimePageViewController page(TovikClock::shared(), content(true));
    QWidget *root = page.view();
    root->show();
    root->resize(520, 332); // the page of a 520 x 360 main window
    StopwatchView *stopwatch = stopwatchDisplay(*root);
    ASSERT_TRUE(stopwatch);
    TimeTextLabel *label = stopwatch->label();
    const QFont pageFont = label->font();
    struct Case {
        double hours;
        const char *text;
        bool keepsThePageFont;
    };
    const Case cases[] = {
        {0, "00:00:00", true},
        {99.9997, "99:59:58", true},
        {100, "100:00:00", true},
        {1000, "1000:00:00", false},
        {10000, "10000:00:00", false},
        {999999.9997, "999999:59:58", false},
        {1e12, "1000000000000:00:00", false},
    };
    double previousSize = pageFont.pointSizeF();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        store().save({c.hours * 3600, std::nullopt});
        stopwatch->refresh();
        ASSERT_EQ(label->text(), QString::fromLatin1(c.text));
        const QFont shown = label->shownFont();
        EXPECT_EQ(shown == pageFont, c.keepsThePageFont);
        EXPECT_LE(shown.pointSizeF(), previousSize);
        EXPECT_EQ(shown.weight(), TovikFonts::faceWeight(QFont::DemiBold));
        previousSize = shown.pointSizeF();
        const auto [first, last] = inkedColumns(*label);
        EXPECT_GT(first, 0);
        EXPECT_LT(last, label->width() - 1);
        EXPECT_GT(last - first, label->width() / 2) << "set no smaller than it must be";
    }
    // Back to a short time, the page's font again.
    store().save({5, std::nullopt});
    stopwatch->refresh();
    EXPECT_EQ(label->shownFont(), pageFont);
}
