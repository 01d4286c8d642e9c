// Backing views follow the shared setting, the desktop's transparency preference and the text-only look
// live, and are stacked where their owner asks.
#include <Platform/Settings/TovikSettingsStore.h>
#include <TovikKit/TovikWindowBackingView.h>
#include <TovikKit/TovikWindowChrome.h>

#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

using Mode = TovikWindowBackgroundSettings::Mode;

class TovikWindowBackingViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Each test starts from a fresh store (the test program's own XDG_CONFIG_HOME).
        store->remove(TovikWindowBackgroundStore::modeKey);
        store->remove(TovikWindowBackgroundStore::opacityKey);
        TovikWindowChrome::setReduceTransparency(false);
    }
    void TearDown() override { TovikWindowChrome::setReduceTransparency(false); }

    // The store a panel would hand its backing, where the setting is kept.
    const std::shared_ptr<TovikSettingsStore> store = TovikSettingsStore::standard();
    // Read by the backings' callbacks until the host goes, after each test's own body.
    bool hostTextOnly = false;
    QWidget host;
};

TEST_F(TovikWindowBackingViewTest, aFreshStoreLeavesTheBackingHidden)
{
    ASSERT_TRUE(store);
    auto *backing = TovikWindowBackingView::install(&host, store, 12, nullptr, [] { return false; });
    EXPECT_EQ(backing->backingAlpha(), 0);
    EXPECT_TRUE(backing->isHidden());
}

TEST_F(TovikWindowBackingViewTest, writingTheSettingPostsOnceAndEveryBackingRepaints)
{
    auto *first = TovikWindowBackingView::install(&host, store, 12, nullptr, [] { return false; });
    QWidget other;
    auto *second = TovikWindowBackingView::install(&other, store, 12, nullptr, [] { return false; });
    QSignalSpy posted(TovikWindowChrome::notifier(), &TovikWindowChromeNotifier::windowBackgroundDidChange);

    TovikWindowChrome::setSettings({Mode::glass, 0.5}, store);
    EXPECT_EQ(posted.count(), 1);
    EXPECT_EQ(first->backingAlpha(), 0.5);
    EXPECT_EQ(second->backingAlpha(), 0.5);
    EXPECT_FALSE(first->isHidden());
    EXPECT_EQ(TovikWindowChrome::settings(store), TovikWindowBackgroundSettings(Mode::glass, 0.5));

    TovikWindowChrome::setSettings({Mode::opaque, 0}, store);
    EXPECT_EQ(posted.count(), 2);
    EXPECT_EQ(second->backingAlpha(), 1);
}

TEST_F(TovikWindowBackingViewTest, reduceTransparencyShowsTheBackingUnlessTextOnly)
{
    auto *backing = TovikWindowBackingView::install(&host, store, 12, nullptr, [this] { return hostTextOnly; });
    TovikWindowChrome::setReduceTransparency(true);
    EXPECT_EQ(backing->backingAlpha(), 1);
    EXPECT_FALSE(backing->isHidden());

    backing->setTextOnly(true);
    EXPECT_EQ(backing->backingAlpha(), 0);
    EXPECT_TRUE(backing->isHidden());

    // The owner's own answer counts only while the flag is off.
    backing->setTextOnly(false);
    hostTextOnly = true;
    backing->apply();
    EXPECT_TRUE(backing->isHidden());
}

TEST_F(TovikWindowBackingViewTest, isStackedAboveItsSiblingOrAtTheBackAndFollowsTheSize)
{
    auto *bottom = new QWidget(&host);
    auto *middle = new QWidget(&host);
    auto *top = new QWidget(&host);
    auto *above = TovikWindowBackingView::install(&host, store, 12, middle, {});
    const QObjectList &order = host.children();
    EXPECT_EQ(order.indexOf(above), order.indexOf(middle) + 1);
    EXPECT_LT(order.indexOf(above), order.indexOf(top));

    QWidget stranger;
    auto *foreign = new QWidget(&stranger);
    auto *back = TovikWindowBackingView::install(&host, store, 12, foreign, {});
    EXPECT_EQ(host.children().indexOf(back), 0);
    EXPECT_LT(host.children().indexOf(back), host.children().indexOf(bottom));

    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    host.resize(300, 120);
    EXPECT_EQ(back->geometry(), QRect(0, 0, 300, 120));
    EXPECT_TRUE(back->testAttribute(Qt::WA_TransparentForMouseEvents));
}

} // namespace
