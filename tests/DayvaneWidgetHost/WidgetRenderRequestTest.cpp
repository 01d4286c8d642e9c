#include <QDateTime>
#include <gtest/gtest.h>

#include <DayvaneWidgetHost/WidgetRenderRequest.h>

namespace {

TEST(WidgetRenderRequest, ReadsKindFamilyFileAndOptions)
{
    QString error;
    const auto plain = WidgetRenderRequests::parse({"DayvaneClockWidget", "medium", "out.png"}, &error);
    ASSERT_TRUE(plain) << error.toStdString();
    EXPECT_EQ(plain->kind, QStringLiteral("DayvaneClockWidget"));
    EXPECT_EQ(plain->family, WidgetFamily::systemMedium);
    EXPECT_EQ(plain->file, QStringLiteral("out.png"));
    EXPECT_FALSE(plain->at);
    EXPECT_FALSE(plain->gallery);
    EXPECT_EQ(plain->scale, 1.0);

    const auto full = WidgetRenderRequests::parse(
        {"--gallery", "DayvaneCalendarWidget", "systemLarge", "a.png", "--scale", "2", "1790816703"}, &error);
    ASSERT_TRUE(full) << error.toStdString();
    EXPECT_EQ(full->family, WidgetFamily::systemLarge);
    EXPECT_TRUE(full->gallery);
    EXPECT_EQ(full->scale, 2.0);
    EXPECT_EQ(full->at, 1790816703.0);

    const auto at = WidgetRenderRequests::parse({"K", "small", "b.png", "--at", "2026-10-01T09:05:03+08:00"}, &error);
    ASSERT_TRUE(at) << error.toStdString();
    EXPECT_EQ(at->at, 1790816703.0);
}

TEST(WidgetRenderRequest, LocalTimesAreReadInTheHostZone)
{
    const auto instant = WidgetRenderRequests::instantFrom("2026-10-01T09:05:03");
    ASSERT_TRUE(instant);
    EXPECT_EQ(*instant, QDateTime(QDate(2026, 10, 1), QTime(9, 5, 3)).toMSecsSinceEpoch() / 1000.0);
}

TEST(WidgetRenderRequest, MistakesAreRefusedWithAMessage)
{
    const QStringList mistakes[] = {
        {"DayvaneClockWidget", "huge", "out.png"},
        {"DayvaneClockWidget", "small"},
        {"DayvaneClockWidget", "small", "out.png", "yesterday"},
        {"DayvaneClockWidget", "small", "out.png", "--at"},
        {"DayvaneClockWidget", "small", "out.png", "--scale", "0"},
        {"DayvaneClockWidget", "small", "out.png", "--scale", "nan"},
        {"DayvaneClockWidget", "small", "out.png", "1", "2"},
        {"DayvaneClockWidget", "small", "out.png", "inf"},
    };
    for (const QStringList &arguments : mistakes) {
        QString error;
        EXPECT_FALSE(WidgetRenderRequests::parse(arguments, &error)) << arguments.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty()) << arguments.join(' ').toStdString();
    }
}

} // namespace
