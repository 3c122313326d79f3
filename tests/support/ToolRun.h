// Runs a built command-line tool of this project and collects its exit status, standard output
// and standard error.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace testsupport {

struct TToolRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// Runs tools/<tool> of the build tree with the shell words `arguments`; `redirect` sends its
// standard output elsewhere than the pipe read here.
inline TToolRun RunBuiltTool(const std::string& tool, const std::string& arguments,
                             const std::string& redirect = "") {
    const char* binaryDir = std::getenv("KEYVET_BINARY_DIR");
    const std::string path = std::string(binaryDir != nullptr ? binaryDir : ".") + "/tools/" + tool;
    char errPath[] = "/tmp/keyvet-tool-err-XXXXXX";
    const int fd = mkstemp(errPath);
    EXPECT_GE(fd, 0);
    close(fd);
    const std::string command = path + " " + arguments + " " + redirect + " 2>" + errPath;
    TToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.Out.append(buffer, n);
    }
    const int status = pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errPath);
    std::getline(err, run.Err, '\0');
    std::remove(errPath);
    return run;
}

}  // namespace testsupport
