// The implement width and guide tolerance pages: conversion to whole centimetres and
// decimetres, the step buttons and when a value is stored.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>

#include "SheetHarness.h"
#include "app/AppState.h"
#include "app/BackgroundWrites.h"
#include "app/GuidanceConfig.h"
#include "settings/DialogValues.h"
#include "settings/GuidePage.h"
#include "settings/StepperBox.h"

namespace {

enum : int {
    kWidth = 1000,
    kPlusOne = 1001,
    kMinusOne = 1002,
    kMinusTenth = 1003,
    kPlusTenth = 1004
};

}  // namespace

TEST(StepperBox, ReadsTypedLengths) {
    const struct {
        const char* text;
        double metres;
    } cases[] = {
        {" 3.0", 3.0},
        {"2.55", 2.55},
        {"abc", 0.0},
        {"", 0.0},
        {"2,5", 2.5},
        {"12.5 m", 12.5},
        {"-3", -3.0},
        {"+4", 4.0},
        {"nan", 0.0},
        {"inf", 0.0},
        {"1234567890", 123456789.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(StepperBox::readMetres(QString::fromLatin1(c.text)), c.metres) << c.text;
}

TEST_F(SheetTest, WidthIsStoredInEvenCentimetresOnOk) {
    const struct {
        const char* typed;
        int half, width;
    } cases[] = {
        {"3.0", 150, 300}, {"2.55", 127, 254},      {"abc", 0, 0},     {"-3", 0, 0},
        {"2,5", 125, 250}, {"99999", 32750, 65500}, {"4.1", 205, 410}, {"4.15", 207, 414},
    };
    for (const auto& c : cases) {
        open(kStateStart);
        type(kWidth, QString::fromLatin1(c.typed));
        tapOk();
        EXPECT_TRUE(sheetClosed());
        EXPECT_EQ(appState.settings.implementHalfWidth, c.half) << c.typed;
        EXPECT_EQ(appState.settings.implementWidth, c.width) << c.typed;
    }
}

// Every one-decimal width a driver types, as the page reads and stores it: the decimal value in
// centimetres, never a step below it.
TEST(DialogValues, EveryTypedWidthIsStoredAsTyped) {
    for (int tenths = 1; tenths <= 399; ++tenths) {
        const QString typed = QString::number(tenths / 10) + "." + QString::number(tenths % 10);
        const std::uint16_t half = halfWidthCentimetres(StepperBox::readMetres(typed));
        EXPECT_EQ(2 * half, 10 * tenths) << typed.toStdString();
    }
    // Steps made by repeated adding land beside the decimal too: ten steps of 0.1 from 0.1.
    double stepped = 0.1;
    for (int k = 0; k < 10; ++k) stepped += 0.1;
    EXPECT_EQ(halfWidthCentimetres(stepped), 55);
    EXPECT_EQ(toleranceDecimetres(0.3), 3);
    EXPECT_EQ(toleranceDecimetres(0.1 + 0.2), 3);
    EXPECT_EQ(toleranceDecimetres(0.29), 2);
}

TEST_F(SheetTest, StepButtonsKeepTheirLimits) {
    const struct {
        const char* typed;
        int button;
        const char* shown;
    } cases[] = {
        {"1.0", kMinusOne, "1.0"},    {"0.1", kMinusTenth, "0.1"}, {"1.5", kMinusOne, " 0.5"},
        {"0.2", kMinusTenth, " 0.1"}, {"2.0", kPlusTenth, " 2.1"}, {"12", kPlusOne, "13.0"},
        {"abc", kPlusOne, " 1.0"},    {"655", kPlusOne, "655"},    {"654.5", kPlusOne, "655.0"},
    };
    for (const auto& c : cases) {
        open(kStateStart);
        type(kWidth, QString::fromLatin1(c.typed));
        tap(control<QPushButton>(c.button));
        EXPECT_EQ(control<QLineEdit>(kWidth)->text(), QString::fromLatin1(c.shown)) << c.typed;
    }
}

TEST_F(SheetTest, OpeningShowsTheStoredWidthAndAnUntouchedOneIsKept) {
    appState.settings.implementHalfWidth = 127;
    appState.settings.implementWidth = 254;
    open(kStateStart);
    EXPECT_EQ(control<QLineEdit>(kWidth)->text(), " 2.5");
    tapOk();
    EXPECT_EQ(appState.settings.implementWidth, 254);
}

TEST_F(SheetTest, LeavingThePageStoresOnlyAfterAStep) {
    open(kStateStart);
    type(kWidth, "4.0");
    show("Colors");
    EXPECT_EQ(appState.settings.implementWidth, 1200)
        << "typed text alone is not stored on leaving";

    show("Setup");
    tap(control<QPushButton>(kPlusOne));  // 5.0
    show("Colors");
    EXPECT_EQ(appState.settings.implementWidth, 500);
    tapCancel();
    EXPECT_TRUE(sheetClosed());
    EXPECT_EQ(appState.settings.implementWidth, 500) << "stored on leaving, kept after Cancel";

    open(kStateStart);
    tap(control<QPushButton>(kPlusOne));
    tapCancel();
    EXPECT_TRUE(sheetClosed());
    EXPECT_EQ(appState.settings.implementWidth, 500) << "Cancel after a step stores nothing";
}

TEST_F(SheetTest, GuidePageStoresToleranceAndGuideNumbers) {
    open(kStateGuidance);
    show("Guide in straight line");
    EXPECT_EQ(control<QLineEdit>(1007)->text(), " 1.0");
    EXPECT_TRUE(control<QCheckBox>(1029)->isChecked());
    tap(control<QPushButton>(kPlusTenth));
    tap(control<QCheckBox>(1029));
    tapOk();
    EXPECT_TRUE(sheetClosed());
    EXPECT_EQ(appState.settings.arrowTolerance, 11);
    EXPECT_EQ(appState.settings.showGuideNumbers, 0);
    EXPECT_EQ(appState.settings.implementWidth, 1200) << "OK stores its own page only";

    open(kStateGuidance);
    show("Guide in straight line");
    type(1007, "0.35");
    tapOk();
    EXPECT_EQ(appState.settings.arrowTolerance, 3);
}

// The pattern and heading go to sulcovane.conf beside Settings.dat and come back from it.
TEST_F(SheetTest, GuidePageKeepsPatternAndHeadingInTheConfigFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string folder = dir.path().toStdString() + "/";
    std::snprintf(appState.layout.moduleDir, sizeof appState.layout.moduleDir, "%s",
                  folder.c_str());
    open(kStateGuidance);
    show("Guide in straight line");
    control<QComboBox>(GuidePage::kIdPattern)->setCurrentIndex(2);
    type(GuidePage::kIdHeading, "93.5");
    tapOk();
    EXPECT_EQ(appState.settings.guidancePattern, kPatternCurve);
    EXPECT_DOUBLE_EQ(appState.settings.headingDegrees, 93.5);
    finishBackgroundWrites();
    QSettings ini(QString::fromStdString(folder + "sulcovane.conf"), QSettings::IniFormat);
    EXPECT_EQ(ini.value("guidance/pattern").toString(), "curve");
    EXPECT_EQ(ini.value("guidance/heading").toString(), "93.5");

    // Read back as the next start does; an empty box means the heading as driven.
    appState.settings.guidancePattern = kPatternStraight;
    loadGuidanceConfig();
    EXPECT_EQ(appState.settings.guidancePattern, kPatternCurve);
    EXPECT_DOUBLE_EQ(appState.settings.headingDegrees, 93.5);
    open(kStateGuidance);
    show("Guide in straight line");
    EXPECT_EQ(control<QLineEdit>(GuidePage::kIdHeading)->text(), "93.5");
    control<QComboBox>(GuidePage::kIdPattern)->setCurrentIndex(1);
    type(GuidePage::kIdHeading, "");
    tapOk();
    finishBackgroundWrites();
    loadGuidanceConfig();
    EXPECT_EQ(appState.settings.guidancePattern, kPatternHeading);
    EXPECT_TRUE(std::isnan(appState.settings.headingDegrees));
    appState.settings.guidancePattern = kPatternStraight;
}
