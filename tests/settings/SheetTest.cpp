// The sheet itself: which pages each screen gets, the layout for the rotation, the language,
// and how the sheet closes.
#include <set>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "SheetHarness.h"
#include "app/AppState.h"
#include "app/FieldWork.h"
#include "settings/DialogTexts.h"
#include "settings/SettingsSheet.h"

namespace {

QStringList tabTitles(SheetDialog* sheet) {
    QStringList titles;
    for (int i = 0; i < sheet->pageCount(); ++i) titles << sheet->tabs()->tabText(i);
    return titles;
}

}  // namespace

TEST_F(SheetTest, EachScreenGetsItsPagesInTabOrder) {
    const QStringList work = {"Setup", "Colors", "Internal settings", "Miscellaneous"};
    const QStringList guidance = {"Setup", "Colors", "Guide in straight line", "Internal settings",
                                  "Miscellaneous"};
    const struct {
        std::uint8_t screen;
        QStringList titles;
    } cases[] = {
        {0, work},
        {1, guidance},
        {2, guidance},
        {3,
         {"Setup", "Colors", "Guide in straight line", "Fields", "Sections", "Internal settings",
          "Miscellaneous", "Review", "GPS Setup", "Corrections", "Extras", "About"}},
        {4, {"Review", "Colors", "Miscellaneous"}},
        {9, {"GPS Setup"}},
        {5, {}},
        {7, {}},
    };
    for (const auto& c : cases) {
        open(c.screen);
        EXPECT_EQ(tabTitles(sheet), c.titles) << "screen " << int(c.screen);
        EXPECT_EQ(sheet->windowTitle(), "Settings");
        EXPECT_TRUE(sheet->windowFlags() & Qt::FramelessWindowHint);
        if (!c.titles.isEmpty()) {
            EXPECT_EQ(current()->title(), c.titles.front());
        }
    }
}

TEST_F(SheetTest, RotationChoosesTheTemplateAndWhereOkAndCancelSit) {
    for (std::uint32_t orientation : {0u, 1u, 2u, 3u}) {
        const bool landscape = orientation == 1 || orientation == 3;
        resetSettings(landscape ? 640 : 480, landscape ? 480 : 640, orientation);
        open(kStateStart);
        for (int i = 0; i < sheet->pageCount(); ++i) {
            sheet->tabs()->setCurrentIndex(i);
            SettingsPage* page = current();
            EXPECT_EQ(page->templateId() % 2, landscape ? 1 : 0) << page->title().toStdString();
            EXPECT_GE(page->templateId(), 300);
            EXPECT_LE(page->templateId(), 325);  // 324/325: the Sections page
            QPushButton* cancel = page->cancelButton();
            if (!cancel) continue;
            const QRect ok = page->okButton()->geometry();
            if (landscape) {  // stacked on the right
                EXPECT_EQ(ok.x(), cancel->geometry().x());
                EXPECT_LT(ok.y(), cancel->geometry().y());
                EXPECT_GT(ok.x(), page->width() / 2);
            } else {  // side by side at the bottom
                EXPECT_EQ(ok.y(), cancel->geometry().y());
                EXPECT_LT(ok.x(), cancel->geometry().x());
                EXPECT_GT(ok.y(), page->height() / 2);
            }
        }
    }
}

TEST_F(SheetTest, LanguageTakesEffectAtTheNextOpening) {
    const struct {
        std::uint8_t language;
        const char* setup;
        const char* ok;
        const char* cancel;
        const char* widthLabel;
        const char* corrections;
        const char* fields;
    } cases[] = {
        {1, "Ajustes", "Aceptar", "Cancelar", "Ancho de trabajo (m)", "Correcciones", "Campos"},
        {2, "Setup", "OK", "Abbrechen", "Arbeitsbreite", "Korrekturen", "Felder"},
        {3, "Настройка", "ОК", "Отмена", "Ширина орудия (м)", "Поправки", "Поля"},
        {0, "Setup", "OK", "Cancel", "Implement width (m)", "Corrections", "Fields"},
    };
    for (const auto& c : cases) {
        appState.ui.language = c.language;
        open(kStateStart);
        EXPECT_EQ(sheet->tabs()->tabText(0), QString::fromUtf8(c.setup));
        EXPECT_EQ(current()->okButton()->text(), QString::fromUtf8(c.ok));
        EXPECT_EQ(current()->cancelButton()->text(), QString::fromUtf8(c.cancel));
        EXPECT_EQ(control<QLabel>(2001)->text(), QString::fromUtf8(c.widthLabel));
        // The fixed titles stay English in every language.
        EXPECT_EQ(sheet->tabs()->tabText(3), QString::fromUtf8(c.fields));
        EXPECT_EQ(sheet->tabs()->tabText(9), QString::fromUtf8(c.corrections));
        EXPECT_EQ(sheet->tabs()->tabText(10), "Extras");
        EXPECT_EQ(sheet->tabs()->tabText(11), "About");
    }
}

// A translation with a different conversion would print garbage or read a wrong argument.
TEST(DialogTexts, EveryLanguageHasEveryEntryAndTheSameConversions) {
    auto conversions = [](const wchar_t* text) {
        QString s = QString::fromWCharArray(text), found;
        for (int i = 0; i < s.size(); ++i) {
            if (s[i] != '%') continue;
            int j = i + 1;
            while (j < s.size() && !s[j].isLetter()) ++j;
            found += s.mid(i, j - i + 1) + ' ';
            i = j;
        }
        return found;
    };
    const wchar_t* const* english = dialogTextTable(0);
    for (int language = 1; language < 4; ++language) {
        const wchar_t* const* table = dialogTextTable(language);
        for (int id = 0; id < kDialogTextCount; ++id) {
            ASSERT_NE(table[id], nullptr);
            EXPECT_EQ(conversions(table[id]), conversions(english[id]))
                << "language " << language << " entry " << id;
            if (id != 11) {
                EXPECT_NE(QString::fromWCharArray(table[id]), "");
            }
        }
    }
    EXPECT_EQ(dialogTextTable(9), english);
}

// An entry left in English on the German sheet is an entry nobody translated; only the words
// German screens use as they are may read the same.
TEST(DialogTexts, GermanTranslatesEveryEntryButTheSharedWords) {
    const wchar_t* const* english = dialogTextTable(0);
    const wchar_t* const* german = dialogTextTable(2);
    // 11 is the unused entry, empty in every language.
    const std::set<int> shared = {kDlgOk, kDlgSetup, 11, kDlgGpsSetup, kDlgBaud};
    for (int id = 0; id < kDialogTextCount; ++id) {
        if (shared.count(id)) continue;
        EXPECT_NE(QString::fromWCharArray(german[id]), QString::fromWCharArray(english[id]))
            << "entry " << id << " is still English";
    }
}

TEST_F(SheetTest, ClosingAnyPageClosesTheSheetAndLetsTheMainWindowPaint) {
    for (bool ok : {true, false}) {
        open(kStateFreeWork);
        show("Internal settings");
        ASSERT_EQ(appState.ui.menuOpen, 1);
        ok ? tapOk() : tapCancel();
        EXPECT_TRUE(sheetClosed());
        EXPECT_EQ(appState.ui.menuOpen, 0);
    }
}

// Escape, or the window's close button, must not leave a review waiting for ever.
TEST_F(SheetTest, EscapeActsAsTheCurrentPagesCancel) {
    open(kStateReview);
    appState.ui.menuDuringReview = 1;
    QTest::keyClick(sheet, Qt::Key_Escape);
    EXPECT_TRUE(sheetClosed());
    EXPECT_EQ(appState.ui.menuDuringReview, 0);

    open(kStateGpsWait);
    sheet->close();
    EXPECT_TRUE(sheetClosed());
    EXPECT_EQ(appState.ui.screenState, kStateStart);
}

TEST_F(SheetTest, OpenMenuRunsTheSheetUntilAPageClosesIt) {
    appState.ui.screenState = kStateStart;
    appState.ui.menuOpen = 1;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* modal = dynamic_cast<SheetDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(modal, nullptr);
        seen = true;
        EXPECT_EQ(modal->pageCount(), 12);
        EXPECT_EQ(modal->size(), QSize(480, 640));
        QTest::mouseClick(modal->page(0)->okButton(), Qt::LeftButton);
    });
    openMenu();
    EXPECT_TRUE(seen);
    EXPECT_EQ(appState.ui.menuOpen, 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // A screen without pages has nothing to show and nothing that could close it.
    appState.ui.screenState = kStateConfirm;
    appState.ui.menuOpen = 1;
    openMenu();
    EXPECT_EQ(appState.ui.menuOpen, 0);
}

// Every control a finger must hit is large enough on a 480 x 640 screen, and every page fits
// on a 240 x 320 one in both rotations and every language; the Guide page with the line of a
// work's field as well.
TEST_F(SheetTest, ControlsAreSizedForAFinger) {
    const struct {
        int width, height;
        std::uint32_t orientation;
        int minimum;
        std::uint8_t language;
    } screens[] = {{480, 640, 0, 48, 0}, {640, 480, 1, 48, 0}, {240, 320, 0, 24, 0},
                   {320, 240, 1, 24, 0}, {240, 320, 0, 24, 1}, {240, 320, 0, 24, 2},
                   {240, 320, 0, 24, 3}, {320, 240, 1, 24, 3}};
    for (const auto& s : screens) {
        resetSettings(s.width, s.height, s.orientation, s.language);
        workField.fieldId = 1;
        open(kStateStart);
        EXPECT_EQ(sheet->size(), QSize(s.width, s.height));
        for (int i = 0; i < sheet->pageCount(); ++i) {
            sheet->tabs()->setCurrentIndex(i);
            QApplication::processEvents();
            SettingsPage* page = current();
            const std::string where = page->title().toStdString() + " at " +
                                      std::to_string(s.width) + "x" + std::to_string(s.height) +
                                      " language " + std::to_string(s.language);
            EXPECT_LE(page->minimumSizeHint().height(), page->height()) << where;
            EXPECT_LE(page->minimumSizeHint().width(), page->width()) << where;
            for (QWidget* w : page->findChildren<QWidget*>()) {
                const bool touched = dynamic_cast<QAbstractButton*>(w) ||
                                     dynamic_cast<QComboBox*>(w) || dynamic_cast<QLineEdit*>(w) ||
                                     dynamic_cast<QSlider*>(w);
                if (!touched) continue;
                EXPECT_GE(w->height(), s.minimum)
                    << where << " control " << w->objectName().toStdString();
                EXPECT_LE(w->sizeHint().width(), page->width())
                    << where << " control " << w->objectName().toStdString();
            }
        }
        EXPECT_GE(sheet->tabs()->tabBar()->height(), s.minimum);
    }
}
