// Modules: title, order and pattern counts from the S3M header, then the
// module played by the production's sound service on the virtual clock, to
// time the song and each end mark of the timeline as its loops would see it.
#include <cstdio>
#include <string>
#include <vector>

#include "inspect.h"
#include "platform/clock.h"
#include "resources/file.h"
#include "runtime/music.h"

namespace {

constexpr uint64_t POLL_NS = 5000000;            // one position poll every 5 ms
constexpr uint64_t LIMIT_NS = 1200000000000ull;  // played for at most 20 minutes

// An end mark of the timeline: the loop ends on the first poll that meets it.
struct EndMark {
    const char* text;
    int order;  // order at least this; -1: test the row
    int row;    // row at least this when order is -1
};

const EndMark marks[] = {
    {"order 1", 1, 0},       {"order 2", 2, 0},   {"row 43", -1, 43}, {"order 3", 3, 0},
    {"order 5", 5, 0},       {"order 6", 6, 0},   {"order 8", 8, 0},  {"order 10", 10, 0},
    {"order 11", 11, 0},     {"order 13", 13, 0}, {"order 15", 15, 0}, {"order 16", 16, 0},
    {"row 30", -1, 30},
};
constexpr int MARK_COUNT = sizeof marks / sizeof marks[0];

bool mark_met(int index, uint32_t order, uint32_t row)
{
    const EndMark& m = marks[index];
    if (m.order < 0)
        return row >= static_cast<uint32_t>(m.row);
    return order >= static_cast<uint32_t>(m.order);
}

// Title, playable orders (before the first end marker) and patterns of an S3M header.
bool read_s3m_header(const FileHandle& f, std::string& title, int& orders, int& patterns)
{
    const uint8_t* d = f.data;
    if (f.size < 0x60 || d[0x2C] != 'S' || d[0x2D] != 'C' || d[0x2E] != 'R' || d[0x2F] != 'M')
        return false;
    for (int i = 0; i < 28 && d[i]; ++i)
        title += static_cast<char>(d[i] >= 32 && d[i] < 127 ? d[i] : '?');
    int listed = d[0x20] | d[0x21] << 8;
    patterns = d[0x24] | d[0x25] << 8;
    orders = 0;
    while (orders < listed && 0x60u + orders < f.size && d[0x60 + orders] != 255)
        ++orders;
    return true;
}

}  // namespace

void inspect_module(const std::string& path, const AssetRule* rule)
{
    FileHandle file{};
    std::string out, message;
    if (!inspect_guard([&] { file = file_open(path.c_str()); }, out, message)) {
        inspect_problem(path, message);
        return;
    }
    std::string title;
    int orders = 0, patterns = 0;
    bool s3m = read_s3m_header(file, title, orders, patterns);
    file_close(file);
    // The production's own loader: sound library, device and module.
    if (!inspect_guard([&] { music_load(path.c_str()); }, out, message)) {
        inspect_problem(path, message);
        inspect_guard([] { music_stop(); }, out, message);
        return;
    }
    music_start();

    // Poll as present_frame would, one mark per poll at most (every loop
    // presents at least one frame). The song's end is the first jump back to
    // an earlier order already played, or to the start; the module plays
    // looped, so marks may still be met after it.
    const uint64_t start = clock_virtual_ns();
    std::vector<uint8_t> visited(65536 * 4, 0);
    double reached[MARK_COUNT];
    int next_mark = 0;
    double song_end = -1;
    uint32_t last_order = 0, last_key = 0;
    for (uint64_t t = POLL_NS; t <= LIMIT_NS; t += POLL_NS) {
        clock_virtual_set_ns(start + t);
        music_poll();
        double seconds = static_cast<double>(t) / 1e9;
        uint32_t key = (music_order & 0x3FF) << 8 | (music_row & 0xFF);
        bool back = music_order < last_order || (key == 0 && last_key != 0);  // earlier order, or the very start
        if (song_end < 0 && back && visited[key])
            song_end = seconds;
        visited[key] = 1;
        last_order = music_order;
        last_key = key;
        if (next_mark < MARK_COUNT && mark_met(next_mark, music_order, music_row))
            reached[next_mark++] = seconds;
        // Done when every mark is met and the song has ended, or the song has
        // played twice over without meeting the rest.
        if (song_end >= 0 && (next_mark == MARK_COUNT || seconds >= 2 * song_end + 1))
            break;
    }
    inspect_guard([] { music_stop(); }, out, message);

    std::string name = s3m ? title : "";
    std::printf("module %s: %d orders, %d patterns, ", path.c_str(), orders, patterns);
    if (song_end >= 0)
        std::printf("%.2f s", song_end);
    else
        std::printf("more than %.0f s", static_cast<double>(LIMIT_NS) / 1e9);
    std::printf(", title \"%s\"\n", name.c_str());
    for (int i = 0; i < MARK_COUNT; ++i) {
        if (i < next_mark)
            std::printf("end mark %s: %.2f s%s\n", marks[i].text, reached[i],
                        song_end >= 0 && reached[i] >= song_end ? " (after the song looped)" : "");
        else
            std::printf("end mark %s: never reached\n", marks[i].text);
    }
    if (rule && next_mark < MARK_COUNT)
        inspect_problem(path, std::string("the timeline never reaches its end mark ") + marks[next_mark].text);
}
