// What one day cell shows for each state: number colour and weight, the caption, the selection fill.
#include <ClockCalendarFeature/CalendarDayCell.h>

#include <QImage>
#include <gtest/gtest.h>

namespace {

const QColor white(Qt::white);
const QColor cherry = QColor::fromRgbF(0.87f, 0.19f, 0.39f);
const QColor blue = QColor::fromRgbF(0.04f, 0.52f, 1.0f);
const QColor green(0x32, 0xD7, 0x4B);

QImage render(CalendarDayCell &cell)
{
    QImage image(cell.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    cell.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace

TEST(CalendarDayCellTest, StatesGiveTheirNumberColourWeightAndCaption)
{
    struct Case {
        const char *name;
        bool muted, today, selected;
        std::optional<QString> holiday;
        bool makeup;
        QColor number;
        QFont::Weight weight;
        QString caption;
        bool captionVisible;
    };
    const QColor mutedWhite = QColor::fromRgbF(1, 1, 1, 0.28f);
    const Case cases[] = {
        {"plain day", false, false, false, std::nullopt, false, white, QFont::Bold, "", false},
        {"holiday", false, false, false, QStringLiteral("春节"), false, white, QFont::Bold, "春节", true},
        {"muted holiday keeps caption hidden", true, false, false, QStringLiteral("元旦"), false, mutedWhite,
         QFont::Medium, "元旦", false},
        {"makeup shows 上班, never the name", false, false, false, QStringLiteral("国庆节"), true, green, QFont::Bold,
         "上班", true},
        {"today", false, true, false, std::nullopt, false, cherry, QFont::Bold, "", false},
        {"today and makeup, unselected: green", false, true, false, std::nullopt, true, green, QFont::Bold, "上班",
         true},
        {"today and makeup, selected: cherry", false, true, true, std::nullopt, true, cherry, QFont::Bold, "上班",
         true},
        {"selected makeup", false, false, true, std::nullopt, true, green, QFont::Bold, "上班", true},
        {"selected plain", false, false, true, QStringLiteral("清明节"), false, white, QFont::Bold, "清明节", true},
    };
    CalendarDayCell cell;
    cell.resize(46, 54);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        cell.configure(QStringLiteral("14"), c.muted, c.today, c.selected, c.holiday, c.makeup);
        EXPECT_EQ(cell.numberColor(), c.number);
        EXPECT_EQ(cell.numberWeight(), c.weight);
        EXPECT_EQ(cell.captionText(), c.caption);
        EXPECT_EQ(cell.isCaptionVisible(), c.captionVisible);
        EXPECT_EQ(cell.labelFrames().caption.isEmpty(), !c.captionVisible);
        EXPECT_EQ(cell.isSelectedDay(), c.selected);
        EXPECT_EQ(cell.selectionMaskedCorners(), 0u);
    }
    cell.configure(QStringLiteral("1"), false, false, false, QStringLiteral("元旦"), false);
    EXPECT_EQ(cell.captionColor().rgb(), QColor(0xFF, 0x45, 0x3A).rgb());
    EXPECT_NEAR(cell.captionColor().alphaF(), 0.92, 0.002);
    cell.configure(QStringLiteral("4"), false, false, false, std::nullopt, true);
    EXPECT_EQ(cell.captionColor(), blue);
}

TEST(CalendarDayCellTest, LunarCaptionsTakeTheirKindsColourAndKeepTheBlockCentred)
{
    using Kind = TovikCalendarCaption::Kind;
    struct Case {
        TovikCalendarCaption caption;
        QColor colour;
    };
    const Case cases[] = {
        {{"腊八节", Kind::festival}, QColor::fromRgbF(1, 0x45 / 255.f, 0x3A / 255.f, 0.92f)},
        {{"冬至", Kind::solarTerm}, blue},
        {{"廿九", Kind::lunarDay}, QColor::fromRgbF(1, 1, 1, 0.28f)},
    };
    CalendarDayCell cell;
    cell.resize(50, 60);
    cell.configure(QStringLiteral("15"), false, false, true, std::nullopt, false);
    cell.setSelection(true, 5);
    const auto plain = cell.labelFrames();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.caption.text);
        cell.setCaption(c.caption);
        EXPECT_EQ(cell.captionText(), QString::fromStdString(c.caption.text));
        EXPECT_EQ(cell.captionColor().rgb(), c.colour.rgb());
        EXPECT_NEAR(cell.captionColor().alphaF(), c.colour.alphaF(), 0.002);
        const auto block = cell.labelFrames();
        EXPECT_NEAR((block.caption.y() + block.number.y() + block.number.height()) / 2, 30, 1.0);
        EXPECT_EQ(cell.selectionMaskedCorners(), 5u) << "the selection stays";
    }
    cell.setCaption({});
    EXPECT_EQ(cell.labelFrames().number, plain.number);
}

TEST(CalendarDayCellTest, CaptionSitsUnderTheNumberAsOneCentredBlock)
{
    CalendarDayCell cell;
    cell.resize(50, 60);
    cell.setFontSize(18);
    cell.configure(QStringLiteral("15"), false, false, false, std::nullopt, false);
    const auto alone = cell.labelFrames();
    EXPECT_NEAR(alone.number.center().y(), 30, 1.0);

    cell.configure(QStringLiteral("15"), false, false, false, QStringLiteral("春节"), false);
    const auto block = cell.labelFrames();
    // y-up: the caption lies 1 point under the number; the block is centred.
    EXPECT_DOUBLE_EQ(block.caption.y() + block.caption.height() + 1, block.number.y());
    EXPECT_NEAR((block.caption.y() + block.number.y() + block.number.height()) / 2, 30, 1.0);
    EXPECT_GE(block.caption.height(), 9);
    EXPECT_DOUBLE_EQ(block.number.x(), 3);
    EXPECT_DOUBLE_EQ(block.number.width(), 44);
}

TEST(CalendarDayCellTest, SelectionFillRoundsOnlyTheMaskedCorners)
{
    CalendarDayCell cell;
    cell.resize(44, 44);
    cell.configure(QString(), false, false, false, std::nullopt, false);
    const QPoint topLeft(0, 0), topRight(43, 0), bottomLeft(0, 43), bottomRight(43, 43), edge(22, 0);
    const auto filled = [](const QImage &image, QPoint p) { return qAlpha(image.pixel(p)) > 0; };

    // y-up bits: 1 bottom-left, 2 bottom-right, 4 top-left, 8 top-right.
    struct Case {
        unsigned mask;
        bool topLeft, topRight, bottomLeft, bottomRight; // true = square (filled to the corner)
    };
    const Case cases[] = {
        {5, false, true, false, true}, {10, true, false, true, false}, {15, false, false, false, false},
        {0, true, true, true, true},   {4, false, true, true, true},   {2, true, true, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "mask " << c.mask);
        cell.setSelection(true, c.mask);
        const QImage image = render(cell);
        EXPECT_EQ(filled(image, topLeft), c.topLeft);
        EXPECT_EQ(filled(image, topRight), c.topRight);
        EXPECT_EQ(filled(image, bottomLeft), c.bottomLeft);
        EXPECT_EQ(filled(image, bottomRight), c.bottomRight);
        EXPECT_TRUE(filled(image, edge));
    }
    const QColor fill = render(cell).pixelColor(22, 2);
    EXPECT_NEAR(fill.alphaF(), 0.3, 0.01);
    EXPECT_NEAR(fill.redF(), 0.55, 0.02);
    EXPECT_NEAR(fill.greenF(), 0.78, 0.02);
    EXPECT_NEAR(fill.blueF(), 1.0, 0.02);

    cell.setSelection(false, 15);
    EXPECT_FALSE(cell.isSelectedDay());
    EXPECT_EQ(cell.selectionMaskedCorners(), 0u);
    const QImage cleared = render(cell);
    EXPECT_FALSE(filled(cleared, edge));
    EXPECT_FALSE(filled(cleared, topRight));
}

TEST(CalendarDayCellTest, MouseEventsPassThroughToTheMonthView)
{
    QWidget monthView;
    monthView.resize(100, 100);
    auto *cell = new CalendarDayCell(&monthView);
    cell->setGeometry(10, 10, 40, 40);
    EXPECT_EQ(monthView.childAt(30, 30), nullptr);
}
