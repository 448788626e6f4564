# The content tests use the generator's library and the archive the build writes.
target_link_libraries(test_${room} PRIVATE vivur_content)
add_dependencies(test_${room} vivur_content_pak)
