// Shared helpers of the playlist tests: fixtures, scratch folders, the call
// log of the test archiver DLLs and an environment with a temporary folder.
#pragma once

#include <string>
#include <vector>

#include "engine/player_environment.h"

namespace tarnuvo_test {

// The folder of the running test program, with a trailing backslash.
std::string exeFolder();
// The full path of a fixture made at build time.
std::string fixture(const char* name);

bool fileExists(const std::string& path);
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
bool copyFile(const std::string& from, const std::string& to);

// A fresh folder under the system's temporary folder, removed with all it
// holds at the end of the test.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    // With a trailing backslash.
    const std::string& path() const { return path_; }
    // Creates (with parents) and returns path() + relative + "\".
    std::string folder(const std::string& relative) const;
    // Every file below path(), as relative paths with '\' separators, sorted.
    std::vector<std::string> files() const;
    // The same with every folder as well, each ending in '\'.
    std::vector<std::string> contents() const;

private:
    std::string path_;
};

// Routes the test DLLs' call log into a file for the life of the object.
class CallLog {
public:
    explicit CallLog(const ScratchDir& scratch);
    ~CallLog();
    CallLog(const CallLog&) = delete;
    CallLog& operator=(const CallLog&) = delete;
    std::vector<std::string> lines() const;
    // Lines that mention `what` ("CheckArchive", "command", ...).
    std::vector<std::string> linesWith(const std::string& what) const;
    void clear();

private:
    std::string path_;
};

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::string old_;
    bool had_ = false;
};

// Changes the current directory for the life of the object.
class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const std::string& dir);
    ~ScopedCurrentDirectory();
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

private:
    std::string old_;
};

class TestEnvironment : public tarnuvo::PlayerEnvironment {
public:
    explicit TestEnvironment(std::string dir) : dir_(std::move(dir)) {}
    const char* temporaryDirectory() const override { return dir_.c_str(); }

private:
    std::string dir_;
};

}  // namespace tarnuvo_test
