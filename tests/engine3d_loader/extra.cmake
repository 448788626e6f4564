target_link_libraries(test_${room} PRIVATE vivur_3ds)
