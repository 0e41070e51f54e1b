// The Fields page: the farm book's fields with their areas, renamed, deleted (after a question
// naming the field) and imported from a farm's own files; the headland's width in implement
// widths and how a driven boundary is recorded. The book is written by the farm thread: the page
// hands it requests and looks at what came back as its timer ticks. OK stores the headland and
// the boundary's settings in sulcovane.conf [farm].
#pragma once

#include <cstdint>

#include "settings/SettingsPage.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

class FieldsPage : public SettingsPage {
  public:
    enum : int {
        kTemplate = 322,
        kIdList = 1050,
        kIdName = 1051,
        kIdRename = 1052,
        kIdDelete = 1053,
        kIdImport = 1054,
        kIdNotice = 1055,
        kIdPasses = 1056,
        kIdBoundary = 1057,
        kIdOffset = 1058,
        kIdPassesLabel = 2050,
        kIdBoundaryLabel = 2051,
        kIdOffsetUnit = 2052,
    };
    explicit FieldsPage(QWidget* parent = nullptr);

  protected:
    bool acceptPage() override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void layOut();
    // Takes in what the farm thread finished: a fresh reading, a notice.
    void poll();
    void showFields();
    void showChosenName();
    std::int64_t chosenField() const;
    void rename();
    void remove();
    void import();
    void showNotice(const QString& text);

    QListWidget* list_;
    QLineEdit* name_;
    QPushButton* rename_;
    QPushButton* delete_;
    QPushButton* import_;
    QLabel* notice_;
    QComboBox* passes_;
    QComboBox* boundary_;
    QLineEdit* offset_;
    QTimer* timer_;
    // The notice stays until the driver's next request; without one the page says what the
    // list cannot (no book, no fields).
    bool noticeShown_ = false;
};
