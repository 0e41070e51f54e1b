// The farm thread: the one owner of the open farm book. The user-interface and fix threads hand
// it jobs and never wait for the disk; a job runs on the farm thread with the book, in the
// order jobs were handed in, and reports by its own means (a flag, a posted message).
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "farm/FarmBook.h"

class FarmWriter {
  public:
    using Job = std::function<void(FarmBook* book, const std::string& openError)>;

    // Runs the jobs on the farm thread with the book at path, opened at the first job that
    // asks for it. A job gets a null book and the reason when the book could not be opened, or
    // when it does not exist and the job may not create it (then with no reason: a farm without
    // a book keeps none, and that is no failure).
    explicit FarmWriter(std::string path);
    // Runs the jobs handed in before, then closes the book.
    ~FarmWriter();
    FarmWriter(const FarmWriter&) = delete;
    FarmWriter& operator=(const FarmWriter&) = delete;

    void post(Job job, bool mayCreate = true);
    // Waits until every job handed in so far has run (tests and the end of the program).
    void drain();

  private:
    void run();
    std::string path_;
    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    struct Queued {
        Job job;
        bool mayCreate = true;
    };
    std::deque<Queued> jobs_;
    bool running_ = false;  // a job is being run
    bool stopping_ = false;
    std::thread thread_;
};
