target_link_libraries(${name} PRIVATE standin_engine standin_reader_core)
# The model files, as the test sees them under Wine.
target_compile_definitions(${name} PRIVATE VELMORA_TEST_DATA="${VELMORA_TEST_DATA_DIR}/")

# The packing tool packs a sample model, and says so when it cannot.
add_test(NAME velmora_pack_tool
         COMMAND velmora-pack ${VELMORA_TEST_DATA_DIR}/lamp_handwritten.wrl
                 ${VELMORA_TEST_DRIVE}${CMAKE_BINARY_DIR}/lamp_handwritten.vmp)
add_test(NAME velmora_pack_tool_missing_model
         COMMAND velmora-pack Z:/no/such/model.wrl ${VELMORA_TEST_DRIVE}${CMAKE_BINARY_DIR}/none.vmp)
set_tests_properties(velmora_pack_tool velmora_pack_tool_missing_model
                     PROPERTIES TIMEOUT ${VELMORA_TEST_TIMEOUT})
set_tests_properties(velmora_pack_tool_missing_model
                     PROPERTIES PASS_REGULAR_EXPRESSION "cannot pack")
