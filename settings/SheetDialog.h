// The settings sheet: one frameless, full-screen tabbed dialog captioned "Settings", whose
// pages are chosen by the screen it was opened from. Closing any page closes the sheet.
#pragma once

#include <QDialog>
#include <cstdint>
#include <vector>

class QTabWidget;
class SettingsPage;

enum class PageKind {
    Setup,
    Colors,
    Guide,
    Fields,
    Sections,
    Review,
    GpsSetup,
    Corrections,
    Internal,
    Misc,
    Extras,
    About
};

// The pages of the sheet opened from a screen, in tab order; none for screens without a menu.
std::vector<PageKind> pagesForScreen(std::uint8_t screenState);

class SheetDialog : public QDialog {
  public:
    // Builds the pages for appState.ui.screenState, in the layout and language in force.
    explicit SheetDialog(QWidget* parent = nullptr);
    // Lets the main window paint again and, when a page asked for it, the review go on.
    ~SheetDialog() override;

    int pageCount() const;
    SettingsPage* page(int index) const;
    QTabWidget* tabs() const { return tabs_; }

    // Covers the main window (or the screen) and sizes every control for it.
    void placeOnScreen();
    // Ends the sheet: hides it, ends its modal run and deletes it.
    void closeSheet();
    // The review waiting behind the sheet goes on once the sheet and its pages are gone.
    void resumeReviewWhenClosed() { resumeReview_ = true; }

    // Escape and the window's close button act like the current page's Cancel.
    void reject() override;

  protected:
    bool event(QEvent* event) override;

  private:
    QTabWidget* tabs_;
    int currentPage_ = -1;
    bool closing_ = false;
    bool resumeReview_ = false;
};
