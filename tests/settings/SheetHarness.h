// Opening the settings sheet on a chosen screen, size, rotation and language, finding its
// controls by identifier and recording what the pages ask of the rest of the program.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <string>
#include <vector>

#include "settings/SettingsPage.h"
#include "settings/SheetDialog.h"

struct ActionLog {
    int saves = 0;
    int vehicleRebuilds = 0;
    int gpsWaits = 0;
    bool gpsRunning = false;
    std::vector<int> gpsEnables;       // arguments of setGpsEnabled, in order
    std::vector<std::string> chooser;  // answers of the file chooser; "" answers Cancel
    std::vector<std::string> converted;
    std::vector<std::string> fieldFiles;  // answers of the field file chooser, as chooser
};

class SheetTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the sheet as the shell would from that screen and shows it.
    SheetDialog* open(std::uint8_t screen);
    // Brings the page with that title forward by tapping its tab.
    SettingsPage* show(const QString& title);
    SettingsPage* current() const;
    template <typename T>
    T* control(int id) const {
        T* found = pageControl<T>(current(), id);
        EXPECT_NE(found, nullptr) << "no control " << id;
        return found;
    }
    void tap(QWidget* widget);
    void tapOk() { tap(current()->okButton()); }
    void tapCancel() { tap(current()->cancelButton()); }
    // Replaces the text of an edit box as a driver would type it.
    void type(int id, const QString& text);
    // Lets deferred deletions run; true when the sheet is gone.
    bool sheetClosed();

    QPointer<SheetDialog> sheet;
    static ActionLog calls;
};

// The settings as they are without Settings.dat, and the screen in the test's choice.
void resetSettings(int width = 480, int height = 640, std::uint32_t orientation = 0,
                   std::uint8_t language = 0);
