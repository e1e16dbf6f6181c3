target_link_libraries(${name} PRIVATE standin_engine standin_reader_core)
# The test data folder as the test process sees it (under Wine, through drive Z:).
if(CMAKE_HOST_WIN32)
  set(velmora_test_data "${CMAKE_SOURCE_DIR}/tests/data")
else()
  set(velmora_test_data "Z:${CMAKE_SOURCE_DIR}/tests/data")
endif()
target_compile_definitions(${name} PRIVATE VELMORA_TEST_DATA=L"${velmora_test_data}")
