// The colour pages: a confirmed colour is stored at once with its own custom colours, and the
// Miscellaneous page's vehicle scale.
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "SheetHarness.h"
#include "app/AppState.h"
#include "settings/ColorChooser.h"

namespace {

// Answers the colour chooser the next time it opens: checks the custom colours it was given,
// changes one of them and confirms `chosen`, or cancels when chosen is invalid.
struct ChooserAnswer {
    QColor chosen;
    std::uint32_t expectedFirstCustom = 0;
    std::uint32_t newFifthCustom = 0;
    bool seen = false;
};

void answerChooser(ChooserAnswer& answer) {
    QTimer::singleShot(0, [&answer] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        auto* dialog = modal->findChild<QColorDialog*>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(modal->size(), modal->parentWidget()->window()->size()) << "covers the sheet";
        answer.seen = true;
        EXPECT_EQ(refFromColor(QColorDialog::customColor(0)), answer.expectedFirstCustom);
        QColorDialog::setCustomColor(4, colorFromRef(answer.newFifthCustom));
        if (answer.chosen.isValid()) {
            dialog->setCurrentColor(answer.chosen);
            QTest::mouseClick(modal->findChild<QPushButton*>("1"), Qt::LeftButton);
        } else {
            QTest::mouseClick(modal->findChild<QPushButton*>("2"), Qt::LeftButton);
        }
    });
}

}  // namespace

TEST(ColorChooser, ConvertsColourValuesWithRedInTheLowByte) {
    EXPECT_EQ(colorFromRef(0x0084EFFB), QColor(0xFB, 0xEF, 0x84));
    EXPECT_EQ(refFromColor(QColor(0x12, 0x34, 0x56)), 0x00563412u);
}

TEST_F(SheetTest, ChosenColourIsKeptAfterCancelWithItsOwnCustomColours) {
    appState.settings.customColors[kCustomTrack][0] = 0x00111111;
    appState.settings.customColors[kCustomBackground][0] = 0x00222222;
    appState.settings.customColors[kCustomText][0] = 0x00333333;
    const struct {
        std::uint8_t screen;
        const char* page;
        int swatch;
        std::uint32_t* color;
        int set;
    } cases[] = {
        {kStateStart, "Colors", 1005, &appState.settings.trackColor, kCustomTrack},
        {kStateStart, "Colors", 1006, &appState.settings.backgroundColor, kCustomBackground},
        {kStateFreeWork, "Miscellaneous", 1027, &appState.settings.textColor, kCustomText},
    };
    for (const auto& c : cases) {
        open(c.screen);
        show(c.page);
        ChooserAnswer answer{QColor(0x12, 0x34, 0x56), appState.settings.customColors[c.set][0],
                             0x00ABCDEF};
        answerChooser(answer);
        tap(control<QPushButton>(c.swatch));
        ASSERT_TRUE(answer.seen) << c.swatch;
        EXPECT_EQ(*c.color, 0x00563412u) << c.swatch;
        EXPECT_EQ(appState.settings.customColors[c.set][4], 0x00ABCDEFu) << c.swatch;
        // The swatch shows the new colour.
        QPushButton* swatch = control<QPushButton>(c.swatch);
        const QImage picture = swatch->grab().toImage();
        EXPECT_EQ(picture.pixelColor(picture.rect().center()), QColor(0x12, 0x34, 0x56));
        tapCancel();
        EXPECT_TRUE(sheetClosed());
        EXPECT_EQ(*c.color, 0x00563412u);
    }
    EXPECT_EQ(appState.settings.customColors[kCustomTrack][0], 0x00111111u)
        << "each set stays its own";
    EXPECT_EQ(appState.settings.customColors[kCustomText][0], 0x00333333u);
}

TEST_F(SheetTest, CancelledChooserLeavesTheColourButKeepsCustomColours) {
    open(kStateStart);
    show("Colors");
    ChooserAnswer answer{QColor(), appState.settings.customColors[kCustomTrack][0], 0x00FEDCBA};
    answerChooser(answer);
    tap(control<QPushButton>(1005));
    ASSERT_TRUE(answer.seen);
    EXPECT_EQ(appState.settings.trackColor, 0x0084EFFBu);
    EXPECT_EQ(appState.settings.customColors[kCustomTrack][4], 0x00FEDCBAu);
}

TEST_F(SheetTest, VehicleScaleListAndWithoutTractor) {
    const struct {
        int chosen;
        std::uint8_t scale, show;
    } cases[] = {{2, 2, 1}, {5, 0, 0}, {0, 0, 1}, {4, 4, 1}};
    for (const auto& c : cases) {
        appState.settings.vehicleScaleIndex = 3;
        open(kStateFreeWork);
        show("Miscellaneous");
        auto* list = control<QComboBox>(1026);
        ASSERT_EQ(list->count(), 6);
        EXPECT_EQ(list->itemText(2), "Scale 4X");
        EXPECT_EQ(list->itemText(5), "Without tractor");
        list->setCurrentIndex(c.chosen);
        tapOk();
        EXPECT_TRUE(sheetClosed());
        EXPECT_EQ(appState.settings.vehicleScaleIndex, c.scale);
        EXPECT_EQ(appState.settings.showVehicle, c.show);
        // Reopening shows the choice again.
        open(kStateFreeWork);
        show("Miscellaneous");
        EXPECT_EQ(control<QComboBox>(1026)->currentIndex(), c.chosen);
    }
}

TEST_F(SheetTest, VehiclePictureIsRebuiltWhenTheSheetGoesWhicheverWay) {
    for (bool ok : {true, false}) {
        calls.vehicleRebuilds = 0;
        open(kStateReview);
        appState.ui.menuDuringReview = 1;
        show("Miscellaneous");
        ok ? tapOk() : tapCancel();
        EXPECT_TRUE(sheetClosed());
        EXPECT_EQ(calls.vehicleRebuilds, 1);
        EXPECT_EQ(appState.ui.menuDuringReview, 0) << "the review goes on";
    }
    // A sheet without the page leaves the picture alone.
    calls.vehicleRebuilds = 0;
    open(kStateGpsWait);
    tapCancel();
    EXPECT_TRUE(sheetClosed());
    EXPECT_EQ(calls.vehicleRebuilds, 0);
}
