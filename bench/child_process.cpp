#include "child_process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>

extern char** environ;

namespace velmo::bench {

int RunChild(const std::string& program, const std::vector<std::string>& args,
             const std::vector<std::string>& extra_env, std::string* output) {
    std::vector<std::string> arg_texts{program};
    arg_texts.insert(arg_texts.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& text : arg_texts) argv.push_back(text.data());
    argv.push_back(nullptr);

    std::vector<std::string> env_texts(extra_env);
    std::vector<char*> envp;
    for (char** e = environ; *e; ++e) envp.push_back(*e);
    for (auto& text : env_texts) envp.push_back(text.data());
    envp.push_back(nullptr);

    int pipe_fds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output) {
        if (pipe(pipe_fds) != 0) return -1;
        posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
        posix_spawn_file_actions_addclose(&actions, pipe_fds[1]);
    }
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (output) {
        close(pipe_fds[1]);
        if (spawned == 0) {
            std::array<char, 4096> buf{};
            ssize_t n = 0;
            while ((n = read(pipe_fds[0], buf.data(), buf.size())) != 0) {
                if (n < 0 && errno == EINTR) continue;
                if (n < 0) break;
                output->append(buf.data(), static_cast<std::size_t>(n));
            }
        }
        close(pipe_fds[0]);
    }
    if (spawned != 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace velmo::bench
