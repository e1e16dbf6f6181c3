target_link_libraries(${name} PRIVATE standin_engine)
