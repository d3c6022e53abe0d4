#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velmo::bench {

// A bare receiver on the master side of a pseudo-terminal: it answers every
// line at once ("G000", and a quiet squelch and signal to the two queries)
// and notes when the first byte of each line reached the master. No wire
// timing: it is there to see how soon the program's bytes leave it.
class AnsweringPty {
public:
    using Time = std::chrono::steady_clock::time_point;
    struct Line {
        Time first_byte;
        std::string text;
    };

    AnsweringPty();
    ~AnsweringPty();
    AnsweringPty(const AnsweringPty&) = delete;
    AnsweringPty& operator=(const AnsweringPty&) = delete;

    const std::string& Path() const { return slave_path_; }
    std::vector<Line> Lines() const;
    std::size_t LineCount() const;

private:
    void Serve();
    void Take(const char* bytes, std::size_t count, Time at);

    int master_ = -1;
    int slave_ = -1;  // kept open so the master never sees a hang-up
    int stop_pipe_[2] = {-1, -1};
    std::string slave_path_;
    mutable std::mutex mutex_;
    std::vector<Line> lines_;
    std::string partial_;
    Time partial_started_{};
    std::thread thread_;
};

}  // namespace velmo::bench
