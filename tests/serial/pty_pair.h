#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace velmo::testing {

// A pseudo-terminal standing in for the receiver's serial line: the link
// opens the slave by its path, the test plays the receiver on the raw master.
// The pair's own slave descriptor stays open so the line survives the link's
// closes and so the test can see what waits in the slave's input queue.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& SlavePath() const { return slave_path_; }

    // Sends bytes towards the link, as the receiver would.
    void SendFromReceiver(const std::string& bytes);
    // Reads from the master until `count` bytes have come or the deadline
    // passes; returns what came. Qt events run meanwhile only if asked, so a
    // test can tell whether bytes went out without the event loop.
    std::string ReceiveAtReceiver(std::size_t count, bool run_events = false);
    // Bytes waiting in the slave's input queue, not yet read by anyone.
    int PendingAtSlave() const;
    // Hangs up the line the way an unplugged adapter does.
    void CloseMaster();
    // How many descriptors of this process are open on the slave device.
    int OpenSlaveDescriptors() const;

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slave_path_;
};

// Waits until `done` holds or `limit` passes, letting Qt events run
// meanwhile if asked; true if it held.
bool WaitUntil(const std::function<bool()>& done, bool run_events = true,
               std::chrono::milliseconds limit = std::chrono::seconds(5));

}  // namespace velmo::testing
