// Modules: title, order and pattern counts from the S3M header, then the
// module played by the production's sound service on the virtual clock, to
// time the song and each end mark of the timeline as its loops would see it.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "inspect.h"
#include "platform/clock.h"
#include "resources/file.h"
#include "runtime/music.h"
#include "runtime/timeline_steps.h"
#include "s3m_writer.h"

namespace {

constexpr uint64_t POLL_NS = 5000000;            // one position poll every 5 ms
constexpr uint64_t LIMIT_NS = 1200000000000ull;  // played for at most 20 minutes

// The timeline's end marks in their order: every step that ends on an order
// or a row (the zoom's wrap follows the timer, not the music). A loop ends on
// the first poll that meets its mark.
struct EndMark {
    const TimelineStep* step;
    std::string text;  // "order N" or "row N"
};

std::vector<EndMark> end_marks()
{
    std::vector<EndMark> marks;
    for (const TimelineStep& s : timeline_steps)
        if (s.end != TimelineEnd::zoom_wrap)
            marks.push_back({&s, (s.end == TimelineEnd::order ? "order " : "row ") + std::to_string(s.mark)});
    return marks;
}

// Title, playable orders (before the first end marker) and patterns of an S3M header.
bool read_s3m_header(const FileHandle& f, std::string& title, int& orders, int& patterns)
{
    const uint8_t* d = f.data;
    if (f.size < S3M_HEADER_BYTES || std::memcmp(d + S3M_SIGNATURE, "SCRM", 4) != 0)
        return false;
    for (size_t i = S3M_TITLE; i < S3M_TITLE + S3M_TITLE_BYTES && d[i]; ++i)
        title += static_cast<char>(d[i] >= 32 && d[i] < 127 ? d[i] : '?');
    int listed = d[S3M_ORDER_COUNT] | d[S3M_ORDER_COUNT + 1] << 8;
    patterns = d[S3M_PATTERN_COUNT] | d[S3M_PATTERN_COUNT + 1] << 8;
    orders = 0;
    while (orders < listed && S3M_HEADER_BYTES + orders < f.size && d[S3M_HEADER_BYTES + orders] != S3M_ORDER_END)
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
    const std::vector<EndMark> marks = end_marks();
    const int mark_count = static_cast<int>(marks.size());
    const uint64_t start = clock_virtual_ns();
    std::vector<uint8_t> visited(65536 * 4, 0);
    std::vector<double> reached(marks.size());
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
        if (next_mark < mark_count && timeline_mark_met(*marks[next_mark].step, music_order, music_row))
            reached[next_mark++] = seconds;
        // Done when every mark is met and the song has ended, or the song has
        // played twice over without meeting the rest.
        if (song_end >= 0 && (next_mark == mark_count || seconds >= 2 * song_end + 1))
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
    for (int i = 0; i < mark_count; ++i) {
        if (i < next_mark)
            std::printf("end mark %s: %.2f s%s\n", marks[i].text.c_str(), reached[i],
                        song_end >= 0 && reached[i] >= song_end ? " (after the song looped)" : "");
        else
            std::printf("end mark %s: never reached\n", marks[i].text.c_str());
    }
    if (rule && next_mark < mark_count)
        inspect_problem(path, std::string("the timeline never reaches its end mark ") + marks[next_mark].text);
}
