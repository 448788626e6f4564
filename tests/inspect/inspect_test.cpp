// vivur-inspect run as a program on fixtures made here: a good and a broken
// archive, loose files of each kind, and the timing of the module's end marks.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "pak_writer.h"
#include "s3m_writer.h"
#include "support/support.h"
#include "support/support_jpeg.h"
#include "threeds_writer.h"

namespace {

// A colour picture with a diagonal gradient, encoded with the library's
// defaults (quality 75, 2x2 chroma subsampling).
std::vector<uint8_t> jpeg_picture(int width, int height)
{
    const std::string bytes = support_jpeg(width, height, 3, 75, [](int x, int y) {
        return std::vector<uint8_t>{uint8_t(x + y), uint8_t(y), 128};
    }, true);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// A scene of count quads "Obj0", "Obj1", ... and a camera.
std::vector<uint8_t> scene_file(int count)
{
    ThreedsScene file;
    file.materials.emplace_back();
    file.materials.back().name = "Gold";
    for (int i = 0; i < count; ++i) {
        ThreedsMesh mesh;
        mesh.name = "Obj" + std::to_string(i);
        mesh.vertices = {{0, 0, 0}, {2, 0, 0}, {2, 0, 3}, {0, 0, 3}};
        mesh.faces = {{0, 1, 2}, {0, 2, 3}};
        mesh.mapping = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        mesh.origin = {0, 0, 0};
        file.meshes.push_back(mesh);
    }
    file.cameras = {{"Cam", {10, 20, 30}, {0, 0, 5}, 0, 35}};
    return threeds_write_scene(file);
}

// Speed 1, tempo 250: a row lasts 2.5 / 250 = 10 ms, a 64-row pattern 640 ms.
std::vector<uint8_t> module_file(int orders)
{
    S3mModule module;
    module.name = "inspect test";
    module.channel_count = 1;
    module.initial_speed = 1;
    module.initial_tempo = 250;
    module.orders.assign(orders, 0);
    S3mSample tone;
    tone.name = "tone";
    for (int i = 0; i < 32; ++i)
        tone.data.push_back(static_cast<int8_t>(i < 16 ? 60 : -60));
    tone.loop = true;
    tone.loop_end = 32;
    module.samples.push_back(tone);
    module.patterns.resize(1);
    module.patterns[0].cells[0][0] = s3m_cell(s3m_note(4, 0), 1, 32);
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(s3m_write(module, bytes, error)) << error;
    return bytes;
}

struct ToolRun {
    int code;
    std::string out;
};

ToolRun inspect(const std::string& folder, const std::vector<std::string>& arguments)
{
    std::string tool = std::string(std::getenv("VIVUR_BINARY_DIR")) + "/vivur-inspect";
    ToolRun run{support_run(folder, tool, arguments, "inspect-out.txt", ""), ""};
    run.out = support_read_file(folder + "/inspect-out.txt");
    std::remove((folder + "/inspect-out.txt").c_str());
    return run;
}

bool has_line(const std::string& text, const std::string& line)
{
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        if (l == line)
            return true;
    return false;
}

// Seconds printed on the line that starts with prefix, or -1.
double seconds_after(const std::string& text, const std::string& prefix)
{
    size_t at = text.find("\n" + prefix);
    return at == std::string::npos ? -1 : std::atof(text.c_str() + at + 1 + prefix.size());
}

std::vector<PakFile> production_files()
{
    std::vector<PakFile> files;
    const struct { const char* name; int w, h; } pictures[] = {
        {"intro.jpg", 320, 200}, {"feli.jpg", 320, 200}, {"font.jpg", 32, 832},   {"mulmap.jpg", 320, 200},
        {"atg7.jpg", 256, 256},  {"norm.jpg", 320, 200}, {"norm2.jpg", 320, 200}, {"heet.jpg", 320, 200},
        {"zwart.jpg", 256, 256}, {"mooier.jpg", 256, 256}, {"scroll.jpg", 2000, 40}, {"marb2.jpg", 256, 256},
    };
    for (const auto& p : pictures)
        files.push_back({p.name, jpeg_picture(p.w, p.h)});
    files.push_back({"19.3ds", scene_file(2)});
    files.push_back({"vlak.3ds", scene_file(2)});
    files.push_back({"wuntje.s3m", module_file(17)});
    return files;
}

void write_archive(const std::string& path, const std::vector<PakFile>& files)
{
    std::string error;
    ASSERT_TRUE(pak_write(path, files, error)) << error;
}

TEST(Inspect, AGoodArchiveListsEveryEntryAndPassesItsChecks)
{
    std::string folder = support_temp_dir();
    write_archive(folder + "/vivur.pak", production_files());
    support_write_file(folder + "/heet.jpg", "a loose file must not stand in for the entry");
    ToolRun run = inspect(folder, {"vivur.pak"});
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_TRUE(has_line(run.out, "archive vivur.pak: 15 entries")) << run.out;
    EXPECT_TRUE(has_line(run.out, "heet.jpg: 320x200, 3 components")) << run.out;
    EXPECT_TRUE(has_line(run.out, "font.jpg: 32x832, 3 components")) << run.out;
    EXPECT_TRUE(has_line(run.out, "scene 19.3ds: 2 objects")) << run.out;
    EXPECT_EQ(run.out.find("problem"), std::string::npos) << run.out;

    // Orders of 640 ms: order 1 at 0.64 s, order 2 at 1.28, row 43 of order 2
    // at 1.71, ..., order 16 at 10.24, row 30 of it at 10.54; 17 orders end at 10.88.
    EXPECT_NE(run.out.find("module wuntje.s3m: 17 orders, 1 patterns, "), std::string::npos) << run.out;
    const struct { const char* mark; double at; } expected[] = {
        {"order 1", 0.64}, {"order 2", 1.28}, {"row 43", 1.71}, {"order 3", 1.92},
        {"order 5", 3.20},       {"order 13", 8.32}, {"order 16", 10.24}, {"row 30", 10.54},
    };
    for (const auto& e : expected)
        EXPECT_NEAR(seconds_after(run.out, std::string("end mark ") + e.mark + ": "), e.at, 0.011) << e.mark;
    EXPECT_NEAR(seconds_after(run.out, "module wuntje.s3m: 17 orders, 1 patterns, "), 10.88, 0.011);
}

TEST(Inspect, ABrokenArchiveListsEveryProblem)
{
    std::string folder = support_temp_dir();
    std::vector<PakFile> files;
    for (PakFile& f : production_files()) {
        if (f.name == "heet.jpg")
            continue;
        if (f.name == "font.jpg")
            f.content = jpeg_picture(32, 640);
        if (f.name == "19.3ds")
            f.content = scene_file(1);
        if (f.name == "vlak.3ds")
            f.content = {0x3D, 0x3D, 6, 0, 0, 0};
        if (f.name == "wuntje.s3m")
            f.content = module_file(9);
        files.push_back(f);
    }
    write_archive(folder + "/bad.pak", files);
    ToolRun run = inspect(folder, {"bad.pak"});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(has_line(run.out, "problem: heet.jpg: missing from bad.pak")) << run.out;
    EXPECT_TRUE(has_line(run.out, "problem: font.jpg: picture font.jpg is 32x640 pixels, expected 32x832 (or taller)"))
        << run.out;
    EXPECT_TRUE(has_line(run.out, "problem: 19.3ds: 1 objects, the production needs at least 2")) << run.out;
    EXPECT_TRUE(has_line(run.out, "problem: vlak.3ds: trying to load an invalid 3DS file!")) << run.out;
    EXPECT_TRUE(has_line(run.out, "problem: wuntje.s3m: the timeline never reaches its end mark order 10")) << run.out;
    EXPECT_TRUE(has_line(run.out, "end mark order 8: 5.12 s")) << run.out;

    // A file that is no archive at all.
    support_write_file(folder + "/junk.pak", "not an archive");
    ToolRun junk = inspect(folder, {"junk.pak"});
    EXPECT_EQ(junk.code, 1);
    EXPECT_NE(junk.out.find("problem: junk.pak: "), std::string::npos);
}

TEST(Inspect, LooseFilesAreDescribedAndOnlyAssetNamesChecked)
{
    std::string folder = support_temp_dir();
    std::vector<uint8_t> picture = jpeg_picture(64, 48);
    support_write_file(folder + "/small.jpg", std::string(picture.begin(), picture.end()));
    std::vector<uint8_t> large = jpeg_picture(320, 200);
    support_write_file(folder + "/cut.jpg", std::string(large.begin(), large.begin() + large.size() / 2));
    std::vector<uint8_t> scene = scene_file(1);
    support_write_file(folder + "/one.3ds", std::string(scene.begin(), scene.end()));
    std::vector<uint8_t> song = module_file(1);
    support_write_file(folder + "/one.s3m", std::string(song.begin(), song.end()));
    ToolRun run = inspect(folder, {"small.jpg", "cut.jpg", "one.3ds", "one.s3m"});
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_TRUE(has_line(run.out, "small.jpg: 64x48, 3 components")) << run.out;
    EXPECT_NE(run.out.find("cut.jpg: 320x200, 3 components, decoder warned: Premature end of JPEG file"), std::string::npos) << run.out;
    EXPECT_TRUE(has_line(run.out, "scene one.3ds: 1 objects")) << run.out;
    // The file's quad spans x 0..2 and z 0..3; in engine space z becomes y.
    EXPECT_TRUE(has_line(run.out, "object Obj0: 4 vertices, 2 faces, box (0 0 0)..(2 3 0), mapping, local axes"))
        << run.out;
    EXPECT_TRUE(has_line(run.out, "camera Cam: position (10 30 20), target (0 5 0), roll 0, lens 35")) << run.out;
    EXPECT_TRUE(has_line(run.out, "materials 1: Gold")) << run.out;
    EXPECT_TRUE(has_line(run.out, "keyframer no segment, 0 nodes")) << run.out;
    // One order of 640 ms that loops onto itself: no end mark is ever met,
    // which only describes a module that is not the production's.
    EXPECT_NEAR(seconds_after(run.out, "module one.s3m: 1 orders, 1 patterns, "), 0.64, 0.011) << run.out;
    EXPECT_TRUE(has_line(run.out, "end mark order 1: never reached")) << run.out;
    EXPECT_TRUE(has_line(run.out, "end mark row 30: never reached")) << run.out;

    // The same bytes under an asset's name are checked, and a cut scene stops the loader.
    support_write_file(folder + "/intro.jpg", std::string(picture.begin(), picture.end()));
    support_write_file(folder + "/19.3ds", std::string(scene.begin(), scene.begin() + 1));
    support_write_file(folder + "/junk.s3m", std::string(200, 'x'));
    ToolRun checked = inspect(folder, {"intro.jpg", "19.3ds", "missing.3ds", "junk.s3m"});
    EXPECT_EQ(checked.code, 1);
    EXPECT_NE(checked.out.find("problem: intro.jpg: picture intro.jpg is 64x48 pixels"), std::string::npos)
        << checked.out;
    EXPECT_TRUE(has_line(checked.out, "problem: 19.3ds: trying to load an invalid 3DS file!")) << checked.out;
    EXPECT_TRUE(has_line(checked.out, "problem: missing.3ds: file not found [missing.3ds]")) << checked.out;
    EXPECT_NE(checked.out.find("problem: junk.s3m: "), std::string::npos) << checked.out;
}

}  // namespace
