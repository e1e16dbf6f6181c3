target_link_libraries(${name} PRIVATE standin_engine standin_reader_core)
# The model files, as the test sees them under Wine.
target_compile_definitions(${name} PRIVATE VELMORA_TEST_DATA="Z:${CMAKE_SOURCE_DIR}/tests/data/")
