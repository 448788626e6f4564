# The content checks write small 3DS scenes with the 3DS writer.
target_link_libraries(test_${room} PRIVATE vivur_3ds)
