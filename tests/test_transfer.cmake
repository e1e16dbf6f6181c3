# The stand-in component's path logic is tested directly.
target_link_libraries(${name} PRIVATE standin_transfer_core)
