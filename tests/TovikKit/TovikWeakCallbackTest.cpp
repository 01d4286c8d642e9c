// A callback holding its owner weakly: it reaches a living owner with its arguments, and nothing after.
#include <TovikKit/TovikWeakCallback.h>

#include <QObject>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class Owner final : public QObject {
public:
    void add(int amount) { total += amount; }
    int total = 0;
};

TEST(TovikWeakCallback, reachesTheOwnerWhileItLivesAndNothingAfter)
{
    auto owner = std::make_unique<Owner>();
    const std::function<void(int)> byMember = tovikWeakCallback(owner.get(), &Owner::add);
    const std::function<void(int, int)> byFunction =
        tovikWeakCallback(owner.get(), [](Owner *self, int a, int b) { self->add(a * b); });

    byMember(2);
    byFunction(3, 4);
    EXPECT_EQ(owner->total, 14);

    owner.reset();
    byMember(5);
    byFunction(6, 7);
}

TEST(TovikWeakCallback, anOwnerDeletedByItsParentIsNotReached)
{
    int calls = 0;
    auto parent = std::make_unique<QObject>();
    auto *owner = new Owner;
    owner->setParent(parent.get());
    const std::function<void()> callback = tovikWeakCallback(owner, [&calls](Owner *) { ++calls; });
    callback();
    parent.reset();
    callback();
    EXPECT_EQ(calls, 1);
}

} // namespace
