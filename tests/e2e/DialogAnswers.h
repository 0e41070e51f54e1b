// The driver's answers to the program's modal dialogs (file chooser, message box, settings
// sheet), given in order from a timer while the dialog's own loop runs.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class QWidget;
class SheetDialog;

class DialogAnswers : public QObject {
  public:
    DialogAnswers();

    // Chooses this path in the next file dialog; an empty path cancels it.
    DialogAnswers& chooseFile(const std::string& path);
    // Closes the next message box with OK, keeping its text in messages().
    DialogAnswers& acknowledgeMessage();
    // Brings the sheet's page with this title forward.
    DialogAnswers& showPage(const QString& title);
    // Clicks the control with this identifier on the sheet's current page. The click is
    // queued, so that a dialog it opens is answered by the next steps.
    DialogAnswers& click(int id);
    // Any step of the test's own, done once it returns true.
    DialogAnswers& then(std::function<bool()> step);

    // True once every answer has been given.
    bool done() const { return steps_.empty(); }
    const std::vector<std::string>& messages() const { return messages_; }
    // The sheet on the screen, or null.
    static SheetDialog* sheet();

  private:
    void poll();

    QTimer timer_;
    std::deque<std::function<bool()>> steps_;
    std::vector<std::string> messages_;
    QPointer<QMessageBox> lastBox_;
};
