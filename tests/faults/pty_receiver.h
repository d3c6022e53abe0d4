#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velmo::faults {

// A receiver played by the test on the master side of a pseudo-terminal, on
// a thread of its own, so that it answers while the window's thread is busy
// or waiting. Unplug() hangs the line up as a pulled USB adapter does.
class PtyReceiver {
public:
    using Clock = std::chrono::steady_clock;
    // The pieces to send back for one received line; consecutive pieces are
    // written `piece_gap` apart, so a reply can be split across reads.
    using Answer = std::function<std::vector<std::string>(const std::string& line)>;

    struct Line {
        Clock::time_point at;
        std::string text;
    };

    explicit PtyReceiver(Answer answer, std::chrono::milliseconds piece_gap = std::chrono::milliseconds(25));
    ~PtyReceiver();
    PtyReceiver(const PtyReceiver&) = delete;
    PtyReceiver& operator=(const PtyReceiver&) = delete;

    const std::string& Path() const { return slave_path_; }

    void SetAnswer(Answer answer);
    // Queues bytes to be sent unasked, as fast as the line takes them.
    void Send(std::string bytes);
    // Bytes queued by Send() that have not yet left.
    std::size_t Unsent() const;
    // Every line received so far, without its line ending.
    std::vector<Line> Received() const;
    std::vector<std::string> Lines() const;
    // Every byte received so far, line endings included.
    std::string Bytes() const;

    // Stops answering and closes the master side: the slave side hangs up.
    void Unplug();

private:
    void Run();
    void Take(const char* data, std::size_t size);
    void WriteAll(const std::string& bytes);
    bool FlushQueued();

    int master_ = -1;
    int slave_ = -1;  // kept open so the path stays valid between the window's opens
    int stop_pipe_[2] = {-1, -1};
    std::string slave_path_;
    std::chrono::milliseconds piece_gap_;

    mutable std::mutex mutex_;
    Answer answer_;
    std::string queued_;
    // How much of queued_ has left; a long burst is not moved up after each
    // write.
    std::size_t queued_sent_ = 0;
    std::string partial_line_;
    std::string bytes_;
    std::vector<Line> lines_;
    std::thread thread_;
};

// Answers as the receiver does: "G000" to every command, "I1<signal>" to
// the signal query and "I0<squelch>" to the squelch query ("07": open).
PtyReceiver::Answer ReceiverAnswers(std::string signal = "80", std::string squelch = "04");

// Never answers anything.
PtyReceiver::Answer Silent();

}  // namespace velmo::faults
