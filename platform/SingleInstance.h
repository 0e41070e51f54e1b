// One Sulcovane per user: a lock file plus a local socket named after the product. A second
// start asks the running one to raise its window and then exits.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <functional>
#include <memory>

namespace platform {

class SingleInstance {
  public:
    // True when this process is the only one; otherwise the running one was asked to come
    // forward and this one must end.
    bool claim();
    // Called on the user-interface thread when a second start knocks.
    void onRaiseRequest(std::function<void()> raise);

  private:
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
    std::function<void()> raise_;
};

}  // namespace platform
