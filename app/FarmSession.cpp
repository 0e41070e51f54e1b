#include "app/FarmSession.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "app/AppState.h"
#include "app/FarmConfig.h"
#include "farm/FarmBook.h"
#include "farm/FarmWriter.h"
#include "farm/FieldGeometry.h"
#include "farm/FieldImport.h"

namespace {

std::unique_ptr<FarmWriter> writer;

// What the farm thread leaves for the user-interface thread.
struct FarmNews {
    std::mutex lock;
    bool fresh = false;
    bool open = false;
    FarmContents contents;
    std::string notice;
};
FarmNews news;

// The user-interface thread's own copy, and how many readings it has taken in.
FarmContents shown;
std::uint32_t shownVersion = 0;
// Read by tests from other threads: the only piece of the copy that is.
std::atomic<bool> shownOpen{false};

// Reads the whole book again after a change: the copy is then what the book holds, not what
// the change meant it to hold.
void readBack(FarmBook* book, const std::string& openError) {
    FarmContents contents;
    std::string error;
    const bool read = book && book->read(contents, error);
    if (!book) error = openError;
    std::lock_guard lock(news.lock);
    news.fresh = true;
    news.open = read;
    if (read) news.contents = std::move(contents);
    if (!read && !error.empty() && news.notice.empty()) news.notice = "Farm book: " + error;
}

double implementWidthM() {
    return appState.settings.implementWidth / 100.0;
}

}  // namespace

void startFarmBook() {
    if (writer) return;
    writer = std::make_unique<FarmWriter>(farmBookPath());
    // Reading creates nothing: a farm that keeps no book goes on without one.
    writer->post(readBack, false);
}

void stopFarmBook() {
    writer.reset();
}

void drainFarmBook() {
    if (writer) writer->drain();
}

bool takeFarmNews() {
    std::lock_guard lock(news.lock);
    if (!news.fresh) return false;
    news.fresh = false;
    shownOpen = news.open;
    if (news.open) shown = std::move(news.contents);
    ++shownVersion;
    news.contents = FarmContents{};
    return true;
}

std::string takeFarmNotice() {
    std::lock_guard lock(news.lock);
    return std::exchange(news.notice, std::string());
}

const FarmContents& farmContents() {
    return shown;
}

std::uint32_t farmContentsVersion() {
    return shownVersion;
}

bool farmBookOpen() {
    return shownOpen;
}

void leaveFarmNotice(std::string text) {
    std::lock_guard lock(news.lock);
    news.notice = std::move(text);
}

void rereadFarmBook() {
    postFarmJob(readBack);
}

void postFarmJob(std::function<void(FarmBook* book, const std::string& openError)> job) {
    if (!writer) startFarmBook();
    writer->post(std::move(job));
}

namespace {

// A write, then the book read back; a failed write leaves its reason for the driver.
template <class Write>
void postWrite(Write write) {
    postFarmJob([write = std::move(write)](FarmBook* book, const std::string& openError) {
        std::string error = openError;
        if (book && !write(*book, error)) leaveFarmNotice("Farm book: " + error);
        if (!book) leaveFarmNotice("Farm book: " + openError);
        readBack(book, openError);
    });
}

}  // namespace

void renameFieldInBook(std::int64_t fieldId, const std::string& name) {
    postWrite([fieldId, name](FarmBook& book, std::string& error) {
        return book.renameField(fieldId, name, error);
    });
}

void deleteFieldFromBook(std::int64_t fieldId) {
    postWrite(
        [fieldId](FarmBook& book, std::string& error) { return book.deleteField(fieldId, error); });
}

void importFieldsIntoBook(const std::string& path, const std::string& nameField) {
    const int passes = appState.settings.headlandPasses;
    const double width = implementWidthM();
    postWrite([path, nameField, passes, width](FarmBook& book, std::string& error) {
        std::vector<ImportedField> fields;
        if (!importFields(path, nameField, fields, error)) return false;
        double hectares = 0.0;
        int added = 0;
        for (ImportedField& imported : fields) {
            FieldEntry& field = imported.field;
            field.headlandPasses = passes;
            field.headlandWidthM = width;
            field.headland = headlandLine(field.boundary, passes * width);
            if (book.addField(field, error) == 0) return false;
            hectares += field.areaHa;
            ++added;
        }
        char text[160];
        std::snprintf(text, sizeof text, "%d fields, %.2f ha", added, hectares);
        leaveFarmNotice(text);
        return true;
    });
}

void setHeadlandPasses(int passes) {
    appState.settings.headlandPasses = passes;
    saveFarmConfig();
    const double width = implementWidthM();
    postWrite([passes, width](FarmBook& book, std::string& error) {
        FarmContents contents;
        if (!book.read(contents, error)) return false;
        for (const FieldEntry& field : contents.fields)
            if (!book.setHeadland(field.id, headlandLine(field.boundary, passes * width), passes,
                                  width, error))
                return false;
        return true;
    });
}
