// Test helpers for the resources room: archives laid out byte by byte, and
// running code that must stop through report_error.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/support.h"

inline std::string le16(uint32_t v) { return {char(v), char(v >> 8)}; }
inline std::string le32(uint32_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }

// One 25-byte directory entry: the name zero-padded to 13 bytes, then distance,
// stored length and content size.
inline std::string pak_entry_bytes_of(const std::string& name, uint32_t distance, uint32_t stored,
                                      uint32_t content)
{
    std::string raw = name;
    raw.resize(13, '\0');
    return raw + le32(distance) + le32(stored) + le32(content);
}

// An archive whose blocks follow each other from position 0, each a 4-byte
// count and the bytes, with a matching directory, count and signature.
inline std::string pak_archive(const std::vector<std::pair<std::string, std::string>>& files,
                               const std::string& signature = "qomrax")
{
    std::string blocks;
    std::vector<uint32_t> starts;
    for (const auto& [name, content] : files) {
        starts.push_back(uint32_t(blocks.size()));
        blocks += le32(uint32_t(content.size())) + content;
    }
    std::string directory;
    for (size_t i = 0; i < files.size(); ++i) {
        const uint32_t size = uint32_t(files[i].second.size());
        directory += pak_entry_bytes_of(files[i].first, uint32_t(blocks.size()) - starts[i], size + 4, size);
    }
    return blocks + directory + le16(uint32_t(files.size())) + signature;
}

// Runs body, which must stop the program through report_error with exit
// code 1, and gives what it printed on standard error.
template <class Body>
std::string fatal_output(Body body)
{
    support_intercept_exit();
    testing::internal::CaptureStderr();
    int code = -1;
    try {
        body();
    } catch (const ProcessExited& exited) {
        code = exited.code;
    }
    const std::string output = testing::internal::GetCapturedStderr();
    EXPECT_EQ(code, 1) << "did not stop; printed: " << output;
    return output;
}
