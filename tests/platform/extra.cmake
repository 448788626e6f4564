# The child-process tests start a small program of ours (child/), whose
# entry is one file per target, as the platform's services are.
file(GLOB child_sources CONFIGURE_DEPENDS ${dir}/child/*.cpp)
list(FILTER child_sources EXCLUDE REGEX "${VIVUR_TEST_OTHER_TARGET}")
add_executable(vivur-test-child ${child_sources})
target_link_libraries(vivur-test-child PRIVATE vivur_core)
add_dependencies(test_${room} vivur-test-child)
