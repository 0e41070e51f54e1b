// One page of the settings sheet. Every page exists in two layouts: portrait (its even template
// number, OK and Cancel side by side at the bottom) and landscape (the odd number, OK and Cancel
// stacked on the right), chosen by the display rotation when the sheet opens. A page's OK stores
// that page's values and closes the whole sheet; its Cancel closes it without storing.
#pragma once

#include <QString>
#include <QWidget>

class QBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;
class SheetDialog;

class SettingsPage : public QWidget {
  public:
    ~SettingsPage() override;

    // The template in use: the page's portrait number, plus 1 for the landscape layout.
    int templateId() const { return templateId_; }
    bool isLandscape() const { return (templateId_ & 1) != 0; }
    const QString& title() const { return title_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }  // null on pages without Cancel

    // The sheet is being closed by other means (Escape, the window's close button): what the
    // page's Cancel does, or its OK where it has no Cancel.
    void closeFromOutside();
    // The driver has left this page for another tab, or the sheet lost the focus.
    virtual void deactivated() {}

  protected:
    SettingsPage(int portraitTemplate, QString title, bool hasCancel, QWidget* parent);

    // Where the page puts its controls.
    QVBoxLayout* content() const { return content_; }
    // OK: store the page's values; false keeps the sheet open and nothing more happens.
    virtual bool acceptPage() { return true; }
    // Cancel, before the sheet closes.
    virtual void cancelPage() {}
    // Closes the whole sheet (the page goes with it).
    void closeSheet();
    SheetDialog* sheet() const;

    // A label carrying its identifier as its object name; it wraps on narrow screens.
    QLabel* addLabel(int id, const QString& text);

  private:
    void onOk();
    void onCancel();

    int templateId_;
    QString title_;
    QVBoxLayout* content_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// The control of a page with the given identifier, found by its object name.
template <typename T>
T* pageControl(const QWidget* page, int id) {
    return page->findChild<T*>(QString::number(id));
}
