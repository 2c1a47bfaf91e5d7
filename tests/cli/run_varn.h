#pragma once

// Runs the command-line program as a user would: arguments as bytes, a chosen environment, and
// standard input, output and error in files.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

struct VarnRun {
    int status = -1;  // the exit status, or 128 + the signal that ended it
    std::string out;
    std::string err;
};

struct VarnSetup {
    std::vector<std::string> environment{"LANG=C.UTF-8"};
    std::string input;         // standard input's bytes (a regular file)
    int passFd = -1;           // a descriptor the program inherits as itself
    rlim_t fileSizeLimit = 0;  // RLIMIT_FSIZE, when not 0
};

inline VarnRun RunVarn(const TempDir& dir, const std::vector<std::string>& arguments,
                       const VarnSetup& setup = {}) {
    const std::string in = dir.write(".stdin", setup.input);
    const std::string out = dir.file(".stdout"), err = dir.file(".stderr");
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(::open(in.c_str(), O_RDONLY), 0);
        ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        if (setup.passFd >= 0) ::fcntl(setup.passFd, F_SETFD, 0);
        if (setup.fileSizeLimit != 0) {
            const rlimit limit{setup.fileSizeLimit, setup.fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::vector<char*> argv{const_cast<char*>(VARN_PROGRAM)};
        for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (const std::string& e : setup.environment) envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        ::execve(VARN_PROGRAM, argv.data(), envp.data());
        ::_exit(127);
    }
    int raw = 0;
    ::waitpid(child, &raw, 0);
    VarnRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    run.out = TempDir::read(out);
    run.err = TempDir::read(err);
    ::unlink(in.c_str());
    ::unlink(out.c_str());
    ::unlink(err.c_str());
    return run;
}
