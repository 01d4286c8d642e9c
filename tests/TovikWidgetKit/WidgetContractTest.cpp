#include <TovikWidgetKit/TovikSymbolImageUrl.h>
#include <TovikWidgetKit/WidgetEntry.h>
#include <TovikWidgetKit/WidgetTimeline.h>

#include <gtest/gtest.h>

#include <string>

// What the host and an extension agree on without sharing any widget's types.
namespace {

TEST(WidgetFamilies, PointSizes)
{
    EXPECT_EQ(widgetFamilySize(WidgetFamily::systemSmall), QSizeF(170, 170));
    EXPECT_EQ(widgetFamilySize(WidgetFamily::systemMedium), QSizeF(364, 170));
    EXPECT_EQ(widgetFamilySize(WidgetFamily::systemLarge), QSizeF(364, 382));
}

TEST(WidgetEntry, GivesItsValueBackOnlyAsTheTypeItWasMadeOf)
{
    const WidgetEntry entry(std::string("calendar"));
    ASSERT_NE(entry.as<std::string>(), nullptr);
    EXPECT_EQ(*entry.as<std::string>(), "calendar");
    EXPECT_EQ(entry.as<int>(), nullptr);
    EXPECT_EQ(WidgetEntry().as<std::string>(), nullptr);
}

struct SymbolAddress {
    const char *id;
    const char *name;
    QRgb color;
};

// The provider is handed the part after "image://tovik-symbols/"; a colour it cannot read is white.
TEST(TovikSymbolImageUrl, ReadsNameAndColour)
{
    const SymbolAddress rows[] = {
        {"play.fill/80ff0000", "play.fill", 0x80ff0000},
        {"pin/ffffffff", "pin", 0xffffffff},
        {"a/b/ff00ff00", "a/b", 0xff00ff00},
        {"pin/not-hex", "pin", 0xffffffff},
        {"pin", "pin", 0xffffffff},
    };
    for (const SymbolAddress &row : rows) {
        const TovikSymbolImageUrl::Request request = TovikSymbolImageUrl::parse(QString::fromLatin1(row.id));
        EXPECT_EQ(request.name, QLatin1String(row.name)) << row.id;
        EXPECT_EQ(request.color.rgba(), row.color) << row.id;
    }
}

TEST(TovikSymbolImageUrl, WritesWhatItReads)
{
    const QUrl url = TovikSymbolImageUrl::source(QStringLiteral("stopwatch.fill"), QColor::fromRgba(0x0a0b0c0d));
    EXPECT_EQ(url.toString(), QStringLiteral("image://tovik-symbols/stopwatch.fill/0a0b0c0d"));
    const TovikSymbolImageUrl::Request request = TovikSymbolImageUrl::parse(url.path().mid(1));
    EXPECT_EQ(request.name, QStringLiteral("stopwatch.fill"));
    EXPECT_EQ(request.color.rgba(), 0x0a0b0c0du);
}

} // namespace
