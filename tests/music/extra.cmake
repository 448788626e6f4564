target_link_libraries(test_${room} PRIVATE vivur_s3m)
target_link_libraries(test_${room} PRIVATE vivur_pak)
