// vivur-inspect: describes pictures, scenes, modules and archives as the
// production's own loaders read them, and checks the production's assets.
// Shared by the tool's units; main is in inspect.cpp.
#pragma once
#include <functional>
#include <string>

// What the production needs of one of its assets.
struct AssetRule {
    const char* name;     // archive name
    char kind;            // 'p' picture, 's' scene, 'm' module
    int width, height;    // pictures: exact width, least height
    int min_objects;      // scenes: least object count
};

// The asset of that name (any letter case, directories ignored), or null.
const AssetRule* inspect_asset(const std::string& path);

// Prints "problem: LABEL: message" and counts it; the exit code is 1 once any was printed.
void inspect_problem(const std::string& label, const std::string& message);

// Runs body with the production's fatal end turned into a return, and with
// standard output and error captured into out and err. False when the
// loaders stopped; message then holds their error text.
bool inspect_guard(const std::function<void()>& body, std::string& out, std::string& message);

// Each prints the lines of one file (opened through the file layer, so an
// archive entry's name works while its archive is mounted) and reports its
// problems. rule is the asset the file stands for, or null to describe only.
void inspect_picture(const std::string& path, const AssetRule* rule);
void inspect_scene(const std::string& path, const AssetRule* rule);
void inspect_module(const std::string& path, const AssetRule* rule);
