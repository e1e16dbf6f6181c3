target_link_libraries(${name} PRIVATE standin_engine standin_reader_core)
target_compile_definitions(${name} PRIVATE VELMORA_TEST_DATA=L"${VELMORA_TEST_DATA_DIR}")
