# The inspector is run as a program on fixtures written with the tools' writers.
target_link_libraries(test_${room} PRIVATE vivur_3ds vivur_pak vivur_s3m)
add_dependencies(test_${room} vivur-inspect)
