// The texts here are read in the ANSI code page, which on Windows may be double-byte. The
// suite runs under code page 1252; these tests run once under 1252 and once under 936, and
// BREVANE_EXPECTED_CODE_PAGE names the one each run was started with.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

namespace {

// Fails the whole run when the system's code page is not the one the run asked for.
class CExpectedCodePage final : public ::testing::Environment {
public:
    void SetUp() override {
        const char* expected = std::getenv("BREVANE_EXPECTED_CODE_PAGE");
        ASSERT_NE(expected, nullptr) << "the run must name its code page";
        ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
    }
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new CExpectedCodePage);
    return RUN_ALL_TESTS();
}
