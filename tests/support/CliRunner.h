#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/JsonValue.h"

// What one run of kestrin-cli did.
struct CliResult
{
    int exitCode = -1; // 128 + signal when killed by a signal
    std::string out;
    std::string err;
};

// A fixture with a fresh temporary directory for the files a test hands to
// kestrin-cli; the directory is removed afterwards.
class CliTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs kestrin-cli with args in the temporary directory, standard input
    // read from the file input (empty: nothing). A run that takes longer
    // than a few seconds is killed and reported; sanitizer reports on
    // standard error fail the test.
    CliResult Run(const std::vector<std::string>& args, const std::string& input = "/dev/null");
    // Runs with args (which should ask for --json), expects success and
    // parses standard output.
    JsonValue RunJson(const std::vector<std::string>& args);

    // Writes a file into the temporary directory; returns its path.
    std::string WriteFile(const std::string& name, const std::string& content);
    // One value per line, each followed by a line end.
    std::string WriteValues(const std::string& name, const std::vector<double>& values);
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    static std::string ReadFile(const std::string& path);

    // Whether the runs check for leaks at exit. Under the sanitizers the
    // check costs a short run about as much as its work, so only the golden
    // outputs, which run every command, ask for it; the library code behind
    // the commands is leak-checked by the in-process tests as well.
    bool m_checkLeaks = false;

private:
    std::filesystem::path m_dir;
};
