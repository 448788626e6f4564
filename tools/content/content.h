// The whole default content in memory: pictures, scenes and module, in archive
// order. Used by the vivur-content program and by the content tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One generated asset.
struct ContentFile {
    std::string name;            // asset name as the production opens it
    std::vector<uint8_t> bytes;  // the file's bytes
};

// Generates every asset. Returns false with a message when a step fails (an
// encoder error or a failed self-check such as the overlay's transparent blocks).
bool content_generate(std::vector<ContentFile>& files, std::string& error);

// The overlay's columns (the right-hand ones the flicker scene reads) and the
// share of them that must decode to exact zero.
constexpr int heet_columns = 120;
constexpr int heet_black_percent = 60;

// Checks that the heet overlay decodes to exact zero in all channels left of
// its columns and in at least heet_black_percent of them. Called by
// content_generate; false with a message naming the offending pixel or share.
bool content_check_heet(const std::vector<uint8_t>& jpeg, std::string& error);
