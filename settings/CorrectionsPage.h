// The Corrections page: where the RTK corrections come from (an NTRIP caster, its mountpoint
// and login, the protocol version) and how the link is doing. "List the mountpoints" reads the
// caster's source table and offers its mountpoints nearest first. OK stores the settings in
// sulcovane.conf and the running link follows them at once.
#pragma once

#include <memory>

#include "corrections/NtripSettings.h"
#include "settings/SettingsPage.h"

class NtripClient;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

class CorrectionsPage : public SettingsPage {
  public:
    enum : int {
        kTemplate = 320,
        kIdOn = 1040,
        kIdCaster = 1041,
        kIdPort = 1042,
        kIdMountpoint = 1043,
        kIdListMountpoints = 1044,
        kIdUser = 1045,
        kIdPassword = 1046,
        kIdVersion = 1047,
        kIdStatus = 1048,
        kIdCasterLabel = 2040,
        kIdPortLabel = 2041,
        kIdMountpointLabel = 2042,
        kIdUserLabel = 2043,
        kIdPasswordLabel = 2044,
        kIdVersionLabel = 2045,
    };
    explicit CorrectionsPage(QWidget* parent = nullptr);
    ~CorrectionsPage() override;

  protected:
    bool acceptPage() override;

  private:
    NtripSettings fromControls() const;
    void listMountpoints();
    void showStatus();

    QCheckBox* on_;
    QLineEdit* caster_;
    QLineEdit* port_;
    QComboBox* mountpoint_;
    QPushButton* list_;
    QLineEdit* user_;
    QLineEdit* password_;
    QComboBox* version_;
    QLabel* status_;
    QTimer* timer_;
    // Reads one source table while the page is open.
    std::unique_ptr<NtripClient> lister_;
};
