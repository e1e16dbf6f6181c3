# The same cases once more across the DLL boundary: linked against VelmoraBase.dll's import
# library instead of the static library, so a locale installed with std::locale::global in the
# executable has to reach the library through the shared C++ runtime.
add_executable(test_strings_dll test_strings.cpp support/TestMain.cpp)
target_link_libraries(test_strings_dll PRIVATE VelmoraBase GTest::gtest velmora_warnings)
velmora_test_run(test_strings_dll test_strings_dll)
