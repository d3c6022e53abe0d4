#pragma once

#include <QProcess>
#include <QStringList>
#include <chrono>
#include <map>
#include <memory>
#include <string>

namespace velmo::faults {

// True in a process started by RunChild/StartChild.
bool IsChild();
// A setting handed to the child through its environment.
std::string ChildSetting(const char* name);

// This test program again, running the case `child_case` ("Child.Something")
// with `settings` in its environment; `as_nobody` drops every privilege
// first (user and group 65534, no supplementary groups) through setpriv.
struct ChildRun {
    std::string child_case;
    std::map<std::string, std::string> settings;
    bool as_nobody = false;
};

class Child {
public:
    explicit Child(const ChildRun& run);
    ~Child();
    // Waits until the child prints `line` on a line of its own.
    bool WaitForLine(const std::string& line, std::chrono::milliseconds limit);
    // Closes the child's input, which tells a waiting child to end, and
    // waits for it. Returns its exit status, -1 if it did not end normally.
    int Finish(std::chrono::milliseconds limit);
    // Everything the child printed.
    std::string Output();
    // Whether gtest in the child ran the one case and it passed.
    bool CasePassed();

private:
    std::unique_ptr<QProcess> process_;
    std::string output_;
};

// Whether setpriv is there to drop privileges with.
bool CanDropPrivileges();

}  // namespace velmo::faults
