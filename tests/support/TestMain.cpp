// The main of every test executable: an OLE-initialised single-threaded apartment, as hosts
// have on their user-interface thread.
#include <ole2.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (FAILED(::OleInitialize(nullptr)))
        return 2;
    const int result = RUN_ALL_TESTS();
    ::OleUninitialize();
    return result;
}
