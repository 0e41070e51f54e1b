// The Sections page driven as a driver taps it: sections that do not fill the implement width
// typed on the Setup page of the same sheet are refused with the reason and nothing is stored;
// fitting ones are stored with that width and kept in sulcovane.conf [sections]. The Setup page
// refuses a width the kept sections no longer fill.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>

#include "SheetHarness.h"
#include "app/AppState.h"
#include "app/BackgroundWrites.h"
#include "app/ConfigFile.h"
#include "app/SectionConfig.h"
#include "settings/SectionsPage.h"
#include "settings/SetupPage.h"

namespace {

using P = SectionsPage;

QSettings configFile() {
    return {QString::fromStdString(configPath()), QSettings::IniFormat};
}

}  // namespace

class SectionsPageTest : public SheetTest {
  protected:
    void SetUp() override {
        SheetTest::SetUp();
        sectionConfig = SectionConfig{};
        configFile().remove("sections");
    }
    void TearDown() override {
        sectionConfig = SectionConfig{};
        SheetTest::TearDown();
    }
    QString notice() { return control<QLabel>(P::kIdNotice)->text(); }
};

TEST_F(SectionsPageTest, WidthsThatDoNotFillTheImplementAreRefusedAndFittingOnesKept) {
    open(kStateStart);
    type(SetupPage::kIdWidth, "8.0");
    show("Sections");
    EXPECT_TRUE(control<QLabel>(P::kIdPrecision)->text().contains("within 5 cm"));
    control<QComboBox>(P::kIdCount)->setCurrentIndex(2);
    type(P::kIdWidths, "250, 300, 300");
    type(P::kIdTurnOn, "1.33");
    type(P::kIdTurnOff, "0,5");
    type(P::kIdCoverage, "40");
    type(P::kIdMinSpeed, "2.5");
    tap(control<QCheckBox>(P::kIdHeadland));
    type(P::kIdOutput, "udp://192.168.5.123:8888");
    tapOk();
    EXPECT_FALSE(sheetClosed());
    EXPECT_EQ(notice(), "The widths add up to 850 cm, the implement is 800 cm");
    EXPECT_EQ(sectionConfig, SectionConfig{}) << "a refusal stores nothing";
    EXPECT_EQ(appState.settings.implementWidth, 1200);
    finishBackgroundWrites();
    EXPECT_FALSE(configFile().contains("sections/count"));

    type(P::kIdWidths, "250,300,250");
    tapOk();
    EXPECT_TRUE(sheetClosed());
    SectionConfig expected;
    expected.count = 3;
    expected.widths = "250,300,250";
    expected.turnOnS = 1.35;
    expected.turnOffS = 0.5;
    expected.coveragePercent = 40;
    expected.minSpeedKmh = 2.5;
    expected.headlandOff = true;
    expected.output = "udp://192.168.5.123:8888";
    EXPECT_NEAR(sectionConfig.turnOnS, 1.35, 1e-12);
    sectionConfig.turnOnS = expected.turnOnS;
    EXPECT_EQ(sectionConfig, expected);
    EXPECT_EQ(appState.settings.implementWidth, 800) << "the width the sections were checked by";
    std::string problem;
    EXPECT_EQ(sectionLayoutNow(appState.settings.implementWidth, &problem).count(), 3);
    EXPECT_EQ(problem, "");

    finishBackgroundWrites();
    EXPECT_EQ(configFile().value("sections/widths").toString(), "250,300,250");
    EXPECT_EQ(configFile().value("sections/turn_on").toString(), "1.35");
    sectionConfig = SectionConfig{};
    loadSectionConfig();
    EXPECT_EQ(sectionConfig, expected);
    open(kStateStart);
    show("Sections");
    EXPECT_EQ(control<QComboBox>(P::kIdCount)->currentText(), "3");
    EXPECT_EQ(control<QLineEdit>(P::kIdWidths)->text(), "250,300,250");
    EXPECT_EQ(control<QLineEdit>(P::kIdTurnOn)->text(), "1.35");
    EXPECT_TRUE(control<QCheckBox>(P::kIdHeadland)->isChecked());
}

TEST_F(SectionsPageTest, EachRefusalNamesItsSettingAndTheSetupPageKeepsTheSectionsFilled) {
    sectionConfig.count = 2;
    sectionConfig.widths = "600,600";
    const SectionConfig kept = sectionConfig;
    open(kStateStart);
    type(SetupPage::kIdWidth, "10.0");
    tapOk();
    EXPECT_FALSE(sheetClosed());
    EXPECT_EQ(control<QLabel>(SetupPage::kIdNotice)->text(),
              "The widths add up to 1200 cm, the implement is 1000 cm");
    EXPECT_EQ(appState.settings.implementWidth, 1200);

    show("Sections");
    const struct {
        int id;
        const char* typed;
        const char* refusal;
    } cases[] = {
        {P::kIdTurnOn, "20", "Turn-on time (s): a number from 0 to 15"},
        {P::kIdTurnOff, "", "Turn-off time (s): a number from 0 to 15"},
        {P::kIdCoverage, "101", "Off over worked ground from (%): a number from 0 to 100"},
        {P::kIdMinSpeed, "1e400", "Minimum speed (km/h): a number from 0 to 50"},
        {P::kIdOutput, "COM3",
         "The section controllers' address is neither udp://HOST:PORT nor a device path"},
        {P::kIdWidths, "500,x", "Width 2 is not a whole number of centimetres"},
        {P::kIdWidths, "1000", "The widths list 1 sections, the number of sections is 2"},
    };
    for (const auto& c : cases) {
        const QString before = control<QLineEdit>(c.id)->text();
        type(c.id, c.typed);
        tapOk();
        EXPECT_FALSE(sheetClosed()) << c.typed;
        EXPECT_EQ(notice(), c.refusal) << c.typed;
        type(c.id, before);
    }
    EXPECT_EQ(sectionConfig, kept);
    EXPECT_EQ(appState.settings.implementWidth, 1200);

    // Sections filling the new width let both be stored.
    type(P::kIdWidths, "400,600");
    tapOk();
    EXPECT_TRUE(sheetClosed());
    EXPECT_EQ(sectionConfig.widths, "400,600");
    EXPECT_EQ(appState.settings.implementWidth, 1000);
}
