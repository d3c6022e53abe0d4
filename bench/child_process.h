#pragma once

#include <string>
#include <vector>

namespace velmo::bench {

// Runs `program` with `args` and this process's environment plus
// `extra_env` ("NAME=value"). Its standard output is gathered into `output`
// when given, otherwise it shares ours. Returns its exit status, -1 if it
// could not run or did not exit normally.
int RunChild(const std::string& program, const std::vector<std::string>& args,
             const std::vector<std::string>& extra_env, std::string* output = nullptr);

}  // namespace velmo::bench
