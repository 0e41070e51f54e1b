// The threshold and replay-speed pages: slider positions from the stored values, the live
// labels and the conversions on OK.
#include <QLabel>
#include <QSlider>
#include <QTest>

#include "SheetHarness.h"
#include "app/AppState.h"

TEST_F(SheetTest, SpeedThresholdIsEditedInKmhAndKeptInKnots) {
    appState.settings.speedThreshold = 2.7;
    open(kStateFreeWork);
    show("Internal settings");
    EXPECT_EQ(control<QSlider>(1021)->value(), 5);
    EXPECT_EQ(control<QLabel>(1020)->text(), "Speed threshold 5.0 Km/h");
    tapOk();
    EXPECT_DOUBLE_EQ(appState.settings.speedThreshold, 5 * 0.5399568034557235);
}

TEST_F(SheetTest, LabelsFollowTheSlidersAndOkStoresThem) {
    open(kStateFreeWork);
    show("Internal settings");
    EXPECT_EQ(control<QLabel>(1020)->text(), "Speed threshold 1.9 Km/h") << "unrounded at first";
    EXPECT_EQ(control<QSlider>(1021)->value(), 1);
    QTest::keyClick(control<QSlider>(1021), Qt::Key_PageUp);
    EXPECT_EQ(control<QLabel>(1020)->text(), "Speed threshold 3.0 Km/h");
    control<QSlider>(1023)->setValue(25);
    EXPECT_EQ(control<QLabel>(1022)->text(), "Distance threshold 2.5 m");
    control<QSlider>(1025)->setValue(0);
    EXPECT_EQ(control<QLabel>(1024)->text(), "HDOP threshold 0.0");
    tapOk();
    EXPECT_TRUE(sheetClosed());
    EXPECT_DOUBLE_EQ(appState.settings.speedThreshold, 3 * 0.5399568034557235);
    EXPECT_EQ(appState.settings.distanceThreshold, 25);
    EXPECT_EQ(appState.settings.distanceThresholdSquared, 625);
    EXPECT_EQ(appState.settings.hdopThreshold, 0.0);
}

TEST_F(SheetTest, SliderRangesPagesAndTicks) {
    open(kStateStart);
    const struct {
        const char* page;
        int id, maximum, pageStep, ticks;
    } cases[] = {{"Internal settings", 1021, 50, 2, 1},
                 {"Internal settings", 1023, 100, 10, 5},
                 {"Internal settings", 1025, 100, 10, 5},
                 {"Review", 1008, 10, 2, 2}};
    for (const auto& c : cases) {
        show(c.page);
        auto* slider = control<QSlider>(c.id);
        EXPECT_EQ(slider->minimum(), 0);
        EXPECT_EQ(slider->maximum(), c.maximum) << c.id;
        EXPECT_EQ(slider->pageStep(), c.pageStep) << c.id;
        EXPECT_EQ(slider->tickInterval(), c.ticks) << c.id;
        EXPECT_NE(slider->tickPosition(), QSlider::NoTicks);
    }
}

// What OK stores must open at the same place: otherwise every OK moves a threshold down.
TEST_F(SheetTest, StoredThresholdsReopenWhereTheyWereSet) {
    for (int position = 0; position <= 100; ++position) {
        open(kStateFreeWork);
        show("Internal settings");
        control<QSlider>(1021)->setValue(position / 2);
        control<QSlider>(1025)->setValue(position);
        tapOk();
        open(kStateFreeWork);
        show("Internal settings");
        ASSERT_EQ(control<QSlider>(1021)->value(), position / 2);
        ASSERT_EQ(control<QSlider>(1025)->value(), position);
        EXPECT_EQ(control<QLabel>(1024)->text(),
                  QString::asprintf("HDOP threshold %.1f", position / 10.0));
        tapCancel();
    }
}

TEST_F(SheetTest, ReviewStepOpensOneBelowAndResumesTheReview) {
    appState.settings.reviewStep = 1;
    open(kStateReview);
    appState.ui.menuDuringReview = 1;
    EXPECT_EQ(current()->title(), "Review");
    EXPECT_EQ(control<QSlider>(1008)->value(), 0);
    EXPECT_EQ(control<QLabel>(1013)->text(), "Review acceleration 0");
    control<QSlider>(1008)->setValue(10);
    EXPECT_EQ(control<QLabel>(1013)->text(), "Review acceleration 10");
    tapOk();
    EXPECT_TRUE(sheetClosed());
    EXPECT_EQ(appState.settings.reviewStep, 11);
    EXPECT_EQ(appState.ui.menuDuringReview, 0);

    open(kStateReview);
    appState.ui.menuDuringReview = 1;
    control<QSlider>(1008)->setValue(3);
    tapCancel();
    EXPECT_TRUE(sheetClosed());
    EXPECT_EQ(appState.settings.reviewStep, 11);
    EXPECT_EQ(appState.ui.menuDuringReview, 0);
}
