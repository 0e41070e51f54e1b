// The writer thread against the real file system: what is handed over reaches the file in
// order, a full disk loses nothing while the program runs, and set-aside journals stay.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "journal/JournalFormat.h"
#include "journal/JournalReader.h"
#include "journal/JournalWriter.h"

namespace {

namespace fs = std::filesystem;
using namespace journal;

std::vector<std::uint8_t> contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string freshFolder(const char* name) {
    fs::path dir = fs::temp_directory_path() / ("sulco-journal-" + std::to_string(getpid()) + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

std::vector<std::uint8_t> startRecords() {
    std::vector<std::uint8_t> bytes;
    appendHeader(bytes);
    PayloadWriter start;
    start.u8(0);
    start.u16(1200);
    start.u16(600);
    appendRecord(bytes, kRecordWorkStart, start);
    PayloadWriter origin;
    origin.f64(8.0);
    origin.f64(47.0);
    origin.i32(32);
    origin.u8(1);
    appendRecord(bytes, kRecordOrigin, origin);
    return bytes;
}

void appendStrips(JournalWriter& writer, int from, int to) {
    for (int i = from; i < to; ++i) {
        std::vector<std::uint8_t> bytes;
        appendRecord(bytes, kRecordStrip,
                     encodeStrip({{double(i), double(i), i + 1.0, i + 1.0}, double(i), double(i)}));
        writer.append(bytes.data(), bytes.size());
    }
}

TEST(JournalWriter, EverythingHandedOverIsInTheFileAfterAFlush) {
    std::string dir = freshFolder("order");
    JournalWriter writer;
    std::vector<std::uint8_t> head = startRecords();
    writer.create(dir + "/work.journal");
    writer.append(head.data(), head.size());
    appendStrips(writer, 0, 500);
    ASSERT_TRUE(writer.flush());
    JournalContents c =
        readJournal(contents(dir + "/work.journal").data(), contents(dir + "/work.journal").size());
    ASSERT_EQ(c.strips.size(), 500u);
    EXPECT_FALSE(c.damaged);
    EXPECT_EQ(c.strips[499].leftX, 499);

    // Continued after a torn tail: the tail goes, new records join the trusted ones.
    writer.stop();
    {
        std::ofstream torn(dir + "/work.journal", std::ios::binary | std::ios::app);
        torn.write("\x01\x02\x03", 3);
    }
    writer.reopen(dir + "/work.journal", c.goodBytes);
    appendStrips(writer, 500, 510);
    writer.setAside(dir + "/aside.journal");
    writer.create(dir + "/work.journal");
    writer.append(head.data(), head.size());
    writer.stop();
    std::vector<std::uint8_t> aside = contents(dir + "/aside.journal");
    c = readJournal(aside.data(), aside.size());
    EXPECT_EQ(c.strips.size(), 510u);
    EXPECT_FALSE(c.damaged);
    std::vector<std::uint8_t> fresh = contents(dir + "/work.journal");
    EXPECT_EQ(readJournal(fresh.data(), fresh.size()).strips.size(), 0u);

    writer.reopen(dir + "/work.journal", fresh.size());
    writer.remove();
    writer.stop();
    EXPECT_FALSE(fs::exists(dir + "/work.journal"));
    fs::remove_all(dir);
}

TEST(JournalWriter, RecordsAreOnTheDiskWithinASecond) {
    std::string dir = freshFolder("timely");
    JournalWriter writer;
    std::vector<std::uint8_t> head = startRecords();
    writer.create(dir + "/work.journal");
    writer.append(head.data(), head.size());
    appendStrips(writer, 0, 3);
    // Not waited for: the thread writes them by itself.
    usleep(1000 * 1000);
    std::vector<std::uint8_t> bytes = contents(dir + "/work.journal");
    EXPECT_EQ(readJournal(bytes.data(), bytes.size()).strips.size(), 3u);
    writer.stop();
    fs::remove_all(dir);
}

// In a child process, so that the file-size limit (a full disk) binds only it.
TEST(JournalWriter, AFullDiskLosesNothingOnceThereIsRoomAgain) {
    std::string dir = freshFolder("full");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        rlimit small = limit;
        small.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &small);
        int failures = 0;
        {
            JournalWriter writer;
            std::vector<std::uint8_t> head = startRecords();
            writer.create(dir + "/work.journal");
            writer.append(head.data(), head.size());
            appendStrips(writer, 0, 1000);
            if (writer.flush()) failures |= 1;  // must report the failure
            if (!writer.failing()) failures |= 2;
            // A failure that lasts is told once.
            int notices = 0;
            for (int i = 0; i < 4; ++i)
                notices += writer.flush() ? 100 : writer.takeFailureNotice();
            if (notices != 1) failures |= 4;
            std::vector<std::uint8_t> part = contents(dir + "/work.journal");
            JournalContents c = readJournal(part.data(), part.size());
            // What is on the disk is a clean prefix.
            if (part.size() > 4096 || c.strips.empty() || c.strips.size() >= 1000) failures |= 8;
            setrlimit(RLIMIT_FSIZE, &limit);
            if (!writer.flush()) failures |= 16;
            writer.stop();
        }
        std::vector<std::uint8_t> all = contents(dir + "/work.journal");
        JournalContents c = readJournal(all.data(), all.size());
        if (c.strips.size() != 1000 || c.damaged) failures |= 32;
        for (int i = 0; i < int(c.strips.size()); ++i)
            if (c.strips[std::size_t(i)].leftX != i) failures |= 64;
        _exit(failures);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    fs::remove_all(dir);
}

}  // namespace
