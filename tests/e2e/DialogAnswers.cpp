#include "DialogAnswers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabWidget>

#include "settings/SettingsPage.h"
#include "settings/SheetDialog.h"

namespace {

template <typename T>
T* visibleTopLevel() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<T*>(w); found && found->isVisible()) return found;
    return nullptr;
}

// QFileDialog and QMessageBox have meta-objects; the sheet is found by its object name.
SheetDialog* findSheet() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("Settings") && w->isVisible())
            return static_cast<SheetDialog*>(w);
    return nullptr;
}

}  // namespace

DialogAnswers::DialogAnswers() {
    timer_.setInterval(50);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
    timer_.start();
}

SheetDialog* DialogAnswers::sheet() {
    return findSheet();
}

void DialogAnswers::poll() {
    while (!steps_.empty() && steps_.front()()) steps_.pop_front();
}

DialogAnswers& DialogAnswers::then(std::function<bool()> step) {
    steps_.push_back(std::move(step));
    return *this;
}

DialogAnswers& DialogAnswers::chooseFile(const std::string& path) {
    return then([path] {
        auto* dialog = visibleTopLevel<QFileDialog>();
        if (!dialog) return false;
        if (path.empty()) {
            QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
        } else {
            // Typed into the name box, as a driver would: selectFile() leaves a box that has
            // the focus alone.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!name) return false;
            name->setText(QString::fromStdString(path));
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
        return true;
    });
}

DialogAnswers& DialogAnswers::acknowledgeMessage() {
    return then([this] {
        auto* box = visibleTopLevel<QMessageBox>();
        // A box just answered stays visible until its queued accept has run.
        if (!box || box == lastBox_) return false;
        lastBox_ = box;
        messages_.push_back(box->text().toStdString());
        QMetaObject::invokeMethod(box, "accept", Qt::QueuedConnection);
        return true;
    });
}

DialogAnswers& DialogAnswers::showPage(const QString& title) {
    return then([title] {
        SheetDialog* s = findSheet();
        if (!s) return false;
        for (int i = 0; i < s->pageCount(); ++i) {
            if (s->page(i)->title() == title) {
                s->tabs()->setCurrentIndex(i);
                return true;
            }
        }
        return false;
    });
}

DialogAnswers& DialogAnswers::click(int id) {
    return then([id] {
        SheetDialog* s = findSheet();
        // A click queued while a dialog of the last click is still up would run inside it.
        if (!s || visibleTopLevel<QFileDialog>() || visibleTopLevel<QMessageBox>()) return false;
        auto* page = static_cast<SettingsPage*>(s->tabs()->currentWidget());
        auto* button = page ? page->findChild<QAbstractButton*>(QString::number(id)) : nullptr;
        if (!button) return false;
        QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
        return true;
    });
}
