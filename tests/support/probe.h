#pragma once
// The engine tests' second process (tests/platform/storage/probe.cpp),
// started with pipes on its standard input and output. The test that uses it
// defines TESS_STORAGE_PROBE as the probe's path.
#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

class Probe {
public:
    explicit Probe(std::vector<std::string> args)
    {
        int in[2], out[2];
        if (::pipe(in) != 0 || ::pipe(out) != 0)
            throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        args.insert(args.begin(), TESS_STORAGE_PROBE);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, TESS_STORAGE_PROBE, &actions, nullptr, argv.data(), environ) != 0)
            throw std::runtime_error("cannot start the probe");
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        m_stdin = in[1];
        m_stdout = ::fdopen(out[0], "r");
    }
    ~Probe()
    {
        closeInput();
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_stdout)
            std::fclose(m_stdout);
    }
    std::string readLine()
    {
        char buffer[256];
        if (!std::fgets(buffer, sizeof buffer, m_stdout))
            return "<eof>";
        std::string line = buffer;
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        return line;
    }
    void closeInput()
    {
        if (m_stdin >= 0)
            ::close(m_stdin);
        m_stdin = -1;
    }
    // Kills the probe at once, as a crash or a power cut would stop it.
    void kill()
    {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
    int wait()
    {
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    int m_stdin = -1;
    FILE* m_stdout = nullptr;
};

