// A power cut while the farm thread writes: a writer of its own is killed (SIGKILL) at 20 random
// moments, and after each the book opens, holds every write the writer said was committed, and
// SQLite finds it whole.
#include <fcntl.h>
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <set>
#include <sstream>

#include "farm/FarmBook.h"
#include "tests/farm/FarmTestSupport.h"

extern char** environ;

namespace {

// Runs the writer for about ms milliseconds, kills it, and gives what it printed.
std::string writeThenKill(const std::string& book, int ms) {
    int out[2];
    if (::pipe(out) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string program = FARM_KILL_WRITER;
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(book.c_str()), nullptr};
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        return {};
    }
    std::string printed;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{out[0], POLLIN, 0};
        if (::poll(&p, 1, int(left.count())) <= 0) continue;
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n <= 0) break;
        printed.append(buffer, std::size_t(n));
    }
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ssize_t n;
    while ((n = ::read(out[0], buffer, sizeof buffer)) > 0) printed.append(buffer, std::size_t(n));
    ::close(out[0]);
    return printed;
}

}  // namespace

TEST(FarmBookKill, EveryCommittedWriteSurvivesAKillAtAnyMoment) {
    const std::string path = farm_test::freshFolder("kill") + "/farm.gpkg";
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> moment(5, 600);
    std::set<std::int64_t> fields, works, lines;
    int committed = 0;
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::string printed = writeThenKill(path, moment(random));
        std::istringstream text(printed);
        std::string kind;
        long long id = 0;
        // Only whole lines count: a line cut short was being printed when the kill came.
        std::string line;
        while (std::getline(text, line)) {
            if (text.eof()) break;
            std::istringstream words(line);
            if (!(words >> kind >> id)) continue;
            ++committed;
            if (kind == "field") fields.insert(id);
            if (kind == "work" || kind == "continued") works.insert(id);
            if (kind == "line") lines.insert(id);
        }
        std::string error;
        std::unique_ptr<FarmBook> book = FarmBook::open(path, error);
        ASSERT_TRUE(book) << error;
        FarmContents contents;
        ASSERT_TRUE(book->read(contents, error)) << error;
        std::set<std::int64_t> inBook[3];
        for (const FieldEntry& f : contents.fields) inBook[0].insert(f.id);
        for (const WorkEntry& w : contents.works) inBook[1].insert(w.id);
        for (const LineEntry& l : contents.lines) inBook[2].insert(l.id);
        for (std::int64_t f : fields) EXPECT_TRUE(inBook[0].count(f)) << "field " << f;
        for (std::int64_t w : works) EXPECT_TRUE(inBook[1].count(w)) << "work " << w;
        for (std::int64_t l : lines) EXPECT_TRUE(inBook[2].count(l)) << "line " << l;
        book.reset();

        GDALDatasetUniquePtr ds(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
        ASSERT_TRUE(ds);
        OGRLayer* check = ds->ExecuteSQL("PRAGMA integrity_check", nullptr, nullptr);
        ASSERT_TRUE(check);
        OGRFeatureUniquePtr verdict(check->GetNextFeature());
        ASSERT_TRUE(verdict);
        EXPECT_STREQ(verdict->GetFieldAsString(0), "ok");
        verdict.reset();
        ds->ReleaseResultSet(check);
    }
    // The kills came while the writer wrote, not all before its first commit.
    EXPECT_GT(committed, 20);
}
