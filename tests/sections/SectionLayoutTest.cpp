// The implement's sections as the driver types them: every width and offset below is worked out
// by hand from the widths typed, never from the parser.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sections/SectionLayout.h"

namespace {

TEST(SectionLayout, TypedAndEqualWidthsGiveSectionsThatMeetAcrossTheImplement) {
    // A 12 m implement of 3 m, 3 m and 6 m, blanks around the items allowed.
    const LayoutResult typed = parseSectionLayout(" 300, 300 ,600", 3, 1200);
    ASSERT_EQ(typed.refusal, LayoutRefusal::None);
    ASSERT_TRUE(typed.layout);
    EXPECT_EQ(typed.layout->widthsCm, (std::vector<int>{300, 300, 600}));
    const double typedEdges[] = {-60.0, -30.0, 0.0, 60.0};
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(typed.layout->leftDm(i), typedEdges[i]) << i;
        EXPECT_DOUBLE_EQ(typed.layout->rightDm(i), typedEdges[i + 1]) << i;
    }

    // 1001 cm in 4 equal sections: 250 cm each and the remaining centimetre to the leftmost;
    // an odd width puts the edges on half centimetres.
    const LayoutResult equal = parseSectionLayout("", 4, 1001);
    ASSERT_TRUE(equal.layout);
    EXPECT_EQ(equal.layout->widthsCm, (std::vector<int>{251, 250, 250, 250}));
    const double equalEdges[] = {-50.05, -24.95, 0.05, 25.05, 50.05};
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(equal.layout->leftDm(i), equalEdges[i]) << i;
        EXPECT_DOUBLE_EQ(equal.layout->rightDm(i), equalEdges[i + 1]) << i;
    }

    // The most sections: 64 of 75 cm over a 48 m sprayer, typed out one by one.
    std::string widths;
    for (int i = 0; i < 64; ++i) widths += (i ? "," : "") + std::string("75");
    const LayoutResult many = parseSectionLayout(widths, 64, 4800);
    ASSERT_TRUE(many.layout);
    EXPECT_EQ(many.layout->count(), 64);
    EXPECT_DOUBLE_EQ(many.layout->leftDm(0), -240.0);
    EXPECT_DOUBLE_EQ(many.layout->rightDm(31), 0.0);
    EXPECT_DOUBLE_EQ(many.layout->rightDm(63), 240.0);
    EXPECT_TRUE(parseSectionLayout("", 64, 4800).layout);
    // One section is the whole implement.
    const LayoutResult one = parseSectionLayout("", 1, 600);
    ASSERT_TRUE(one.layout);
    EXPECT_DOUBLE_EQ(one.layout->leftDm(0), -30.0);
    EXPECT_DOUBLE_EQ(one.layout->rightDm(0), 30.0);
}

TEST(SectionLayout, SettingsNoImplementCouldHaveAreRefusedWithTheirReason) {
    std::string sixtyFive;
    for (int i = 0; i < 65; ++i) sixtyFive += (i ? "," : "") + std::string("100");
    const struct {
        const char* name;
        std::string widths;
        int count;
        int widthCm;
        LayoutRefusal refusal;
        int item;
        int sumCm;
    } rows[] = {
        {"65 sections", "", 65, 6500, LayoutRefusal::CountOutOfRange, -1, 0},
        {"65 typed widths", sixtyFive, 65, 6500, LayoutRefusal::CountOutOfRange, -1, 0},
        {"64 counted, 65 typed", sixtyFive, 64, 6400, LayoutRefusal::CountMismatch, -1, 0},
        {"no section", "", 0, 600, LayoutRefusal::CountOutOfRange, -1, 0},
        {"no width", "", 2, 0, LayoutRefusal::WidthOutOfRange, -1, 0},
        {"less than 1 cm a section", "", 8, 7, LayoutRefusal::WidthOutOfRange, -1, 0},
        {"over 1 km", "", 1, 100001, LayoutRefusal::WidthOutOfRange, -1, 0},
        {"one short", "300,300,599", 3, 1200, LayoutRefusal::SumNotImplementWidth, -1, 1199},
        {"a cm per section short", "333,333,333", 3, 1000, LayoutRefusal::SumNotImplementWidth, -1,
         999},
        {"too wide", "600,700", 2, 1200, LayoutRefusal::SumNotImplementWidth, -1, 1300},
        {"a letter", "300,3OO,600", 3, 1200, LayoutRefusal::BadNumber, 1, 0},
        {"an empty item", "300,,900", 3, 1200, LayoutRefusal::BadNumber, 1, 0},
        {"a trailing comma", "600,600,", 2, 1200, LayoutRefusal::BadNumber, 2, 0},
        {"metres with a point", "6.0,6.0", 2, 1200, LayoutRefusal::BadNumber, 0, 0},
        {"a negative width", "1300,-100", 2, 1200, LayoutRefusal::BadNumber, 1, 0},
        {"a zero width", "1200,0", 2, 1200, LayoutRefusal::BadNumber, 1, 0},
        {"blank between", "600 600", 2, 1200, LayoutRefusal::BadNumber, 0, 0},
        {"too few", "600,600", 3, 1200, LayoutRefusal::CountMismatch, -1, 0},
    };
    for (const auto& row : rows) {
        const LayoutResult r = parseSectionLayout(row.widths, row.count, row.widthCm);
        EXPECT_FALSE(r.layout) << row.name;
        EXPECT_EQ(r.refusal, row.refusal) << row.name;
        EXPECT_EQ(r.item, row.item) << row.name;
        EXPECT_EQ(r.sumCm, row.sumCm) << row.name;
    }
}

}  // namespace
