target_link_libraries(bench_${name} PRIVATE vivur_s3m)
