#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

// No test may read or write the real user's high scores or lock files.
class IsolatedEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        char pattern[] = "/tmp/tintorix-tests-XXXXXX";
        root = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", root.c_str(), 1);
        setenv("HOME", root.c_str(), 1);
    }
    void TearDown() override { std::system(("rm -rf '" + root + "'").c_str()); }

private:
    std::string root;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new IsolatedEnvironment);

}  // namespace
