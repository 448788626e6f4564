#include "s3m_writer.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr size_t sample_header_size = 0x50;
constexpr uint32_t max_paragraph_offset = 0xFFFFu * 16u;  // u16 pointers of 16-byte paragraphs
constexpr uint32_t max_data_offset = 0xFFFFFFu * 16u;     // 24-bit sample data pointers

void put_u16(std::vector<uint8_t>& out, size_t at, uint32_t value)
{
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void put_u32(std::vector<uint8_t>& out, size_t at, uint32_t value)
{
    put_u16(out, at, value & 0xFFFF);
    put_u16(out, at + 2, value >> 16);
}

// Copies text into a zero-padded field of size bytes, keeping the last byte 0.
void put_text(std::vector<uint8_t>& out, size_t at, const std::string& text, size_t size)
{
    std::memcpy(&out[at], text.data(), text.size() < size ? text.size() : size - 1);
}

// Pads out with zeros to the next 16-byte paragraph.
void align_paragraph(std::vector<uint8_t>& out)
{
    out.resize((out.size() + 15) & ~size_t(15), 0);
}

// Packs one pattern: for each row the cells that hold something, each a
// channel byte with flags (32 note and instrument, 64 volume, 128 effect)
// followed by its values, then 0 to end the row.
void pack_pattern(const S3mPattern& pattern, int channel_count, std::vector<uint8_t>& out)
{
    for (int row = 0; row < S3M_ROWS; ++row) {
        for (int channel = 0; channel < channel_count; ++channel) {
            const S3mCell& cell = pattern.cells[row][channel];
            uint8_t what = static_cast<uint8_t>(channel);
            if (cell.note != S3M_NO_NOTE || cell.instrument != 0)
                what |= 32;
            if (cell.volume != S3M_NO_VOLUME)
                what |= 64;
            if (cell.effect != 0)
                what |= 128;
            if (what == channel)
                continue;
            out.push_back(what);
            if (what & 32) {
                out.push_back(cell.note);
                out.push_back(cell.instrument);
            }
            if (what & 64)
                out.push_back(cell.volume);
            if (what & 128) {
                out.push_back(cell.effect);
                out.push_back(cell.parameter);
            }
        }
        out.push_back(0);
    }
}

bool check_module(const S3mModule& module, std::string& error)
{
    char text[160];
    if (module.channel_count < 1 || module.channel_count > S3M_MAX_CHANNELS) {
        std::snprintf(text, sizeof text, "channel count %d is outside 1..%d", module.channel_count,
                      S3M_MAX_CHANNELS);
        error = text;
        return false;
    }
    if (module.orders.size() > 256 || module.samples.size() > 99 || module.patterns.size() > 200) {
        error = "more than 256 orders, 99 samples or 200 patterns";
        return false;
    }
    for (size_t i = 0; i < module.orders.size(); ++i) {
        uint8_t order = module.orders[i];
        if (order != S3M_ORDER_SKIP && order != S3M_ORDER_END && order >= module.patterns.size()) {
            std::snprintf(text, sizeof text, "order %zu names pattern %d, but there are %zu patterns",
                          i, order, module.patterns.size());
            error = text;
            return false;
        }
    }
    for (size_t i = 0; i < module.samples.size(); ++i) {
        const S3mSample& sample = module.samples[i];
        if (sample.loop && !(sample.loop_start < sample.loop_end && sample.loop_end <= sample.data.size())) {
            std::snprintf(text, sizeof text, "sample %zu: loop %u..%u does not fit its %zu points", i + 1,
                          sample.loop_start, sample.loop_end, sample.data.size());
            error = text;
            return false;
        }
        if (sample.volume > 64) {
            std::snprintf(text, sizeof text, "sample %zu: volume %d is above 64", i + 1, sample.volume);
            error = text;
            return false;
        }
    }
    return true;
}

}  // namespace

S3mCell s3m_cell(uint8_t note, uint8_t instrument, uint8_t volume, uint8_t effect, uint8_t parameter)
{
    S3mCell cell;
    cell.note = note;
    cell.instrument = instrument;
    cell.volume = volume;
    cell.effect = effect;
    cell.parameter = parameter;
    return cell;
}

bool s3m_write(const S3mModule& module, std::vector<uint8_t>& out, std::string& error)
{
    if (!check_module(module, error))
        return false;

    // The order count is kept even: an odd list gets one more end marker.
    std::vector<uint8_t> orders = module.orders;
    if (orders.size() % 2)
        orders.push_back(S3M_ORDER_END);
    const size_t sample_count = module.samples.size();
    const size_t pattern_count = module.patterns.size();

    out.assign(S3M_HEADER_BYTES + orders.size() + 2 * sample_count + 2 * pattern_count, 0);
    put_text(out, S3M_TITLE, module.name, S3M_TITLE_BYTES);
    out[0x1C] = 0x1A;
    out[0x1D] = 16;  // module type: Scream Tracker 3
    put_u16(out, S3M_ORDER_COUNT, static_cast<uint32_t>(orders.size()));
    put_u16(out, S3M_SAMPLE_COUNT, static_cast<uint32_t>(sample_count));
    put_u16(out, S3M_PATTERN_COUNT, static_cast<uint32_t>(pattern_count));
    put_u16(out, 0x26, 0);       // flags
    put_u16(out, 0x28, 0x1320);  // written by version 3.20
    put_u16(out, 0x2A, 2);       // sample data unsigned
    std::memcpy(&out[S3M_SIGNATURE], "SCRM", 4);
    out[0x30] = module.global_volume;
    out[0x31] = module.initial_speed;
    out[0x32] = module.initial_tempo;
    out[0x33] = static_cast<uint8_t>(module.master_volume | 0x80);  // stereo
    out[0x34] = 16;  // ultra-click removal: what version 3.20 writes
    out[0x35] = 0;   // no panning table: channels take their side's default
    for (int channel = 0; channel < 32; ++channel) {
        uint8_t setting = 255;  // unused
        if (channel < module.channel_count)
            setting = static_cast<uint8_t>(channel % 2 ? 8 + channel / 2 : channel / 2);
        out[0x40 + channel] = setting;
    }
    std::memcpy(&out[S3M_HEADER_BYTES], orders.data(), orders.size());
    const size_t sample_pointers = S3M_HEADER_BYTES + orders.size();
    const size_t pattern_pointers = sample_pointers + 2 * sample_count;

    // Sample headers, each one paragraph-aligned record of 0x50 bytes.
    std::vector<size_t> sample_headers;
    for (size_t i = 0; i < sample_count; ++i) {
        align_paragraph(out);
        sample_headers.push_back(out.size());
        put_u16(out, sample_pointers + 2 * i, static_cast<uint32_t>(out.size() / 16));
        out.resize(out.size() + sample_header_size, 0);
    }

    // Packed patterns, each starting with its length (which counts itself).
    for (size_t i = 0; i < pattern_count; ++i) {
        align_paragraph(out);
        size_t start = out.size();
        if (start > max_paragraph_offset) {
            error = "the patterns do not fit in the first megabyte of the file";
            return false;
        }
        put_u16(out, pattern_pointers + 2 * i, static_cast<uint32_t>(start / 16));
        out.resize(start + 2);
        pack_pattern(module.patterns[i], module.channel_count, out);
        put_u16(out, start, static_cast<uint32_t>(out.size() - start));
    }

    // Sample data last, so that only its 24-bit pointers limit its size.
    for (size_t i = 0; i < sample_count; ++i) {
        const S3mSample& sample = module.samples[i];
        align_paragraph(out);
        size_t data = out.size();
        if (data > max_data_offset) {
            error = "the sample data does not fit the format's 24-bit pointers";
            return false;
        }
        for (int8_t point : sample.data)
            out.push_back(static_cast<uint8_t>(point ^ 0x80));  // signed to unsigned

        size_t at = sample_headers[i];
        uint32_t paragraph = static_cast<uint32_t>(data / 16);
        out[at + 0x00] = 1;  // a sample
        put_text(out, at + 0x01, sample.file_name, 13);
        out[at + 0x0D] = static_cast<uint8_t>(paragraph >> 16);
        put_u16(out, at + 0x0E, paragraph & 0xFFFF);
        put_u32(out, at + 0x10, static_cast<uint32_t>(sample.data.size()));
        put_u32(out, at + 0x14, sample.loop ? sample.loop_start : 0);
        put_u32(out, at + 0x18, sample.loop ? sample.loop_end : 0);
        out[at + 0x1C] = sample.volume;
        out[at + 0x1E] = 0;                       // not packed
        out[at + 0x1F] = sample.loop ? 1 : 0;     // flags: loop; 8-bit mono
        put_u32(out, at + 0x20, sample.c2_speed);
        // Where the sample would sit in a sound card's memory; the player
        // takes a nonzero value as a sign that version 3.20 wrote the file.
        put_u16(out, at + 0x28, static_cast<uint32_t>(i + 1));
        put_text(out, at + 0x30, sample.name, 28);
        std::memcpy(&out[at + 0x4C], "SCRS", 4);
    }
    return true;
}

bool s3m_save(const S3mModule& module, const std::string& path, std::string& error)
{
    std::vector<uint8_t> bytes;
    if (!s3m_write(module, bytes, error))
        return false;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot create " + path;
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
