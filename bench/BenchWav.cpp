// WAV writing and reading, ours beside libsndfile and a plain fwrite, all on
// stereo 48 kHz clips of kFrames frames moved in 512-frame blocks, the way the
// shuttle moves them. Items are frames.
#include <benchmark/benchmark.h>

#include "audio/WavDecoder.h"
#include "audio/WavEncoder.h"

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

namespace {

constexpr size_t kFrames = 48000 * 4;
constexpr size_t kBlock = 512;

// Source material and files shared by every figure, in a temporary folder.
class Material {
public:
    static Material& get()
    {
        static Material material;
        return material;
    }

    std::string path(const char* name) const { return (folder_ / name).string(); }
    const float* const* channels() const { return pointers_; }
    const std::vector<float>& interleaved() const { return interleaved_; }

    ~Material()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

private:
    Material()
        : folder_(std::filesystem::temp_directory_path() / ("relay-bench-wav-" + std::to_string(std::random_device()())))
    {
        std::filesystem::create_directories(folder_);
        left_.resize(kFrames);
        right_.resize(kFrames);
        interleaved_.resize(2 * kFrames);
        for (size_t i = 0; i < kFrames; ++i) {
            left_[i] = 0.8f * std::sin(0.01f * float(i));
            right_[i] = 0.5f * std::cos(0.003f * float(i));
            interleaved_[2 * i] = left_[i];
            interleaved_[2 * i + 1] = right_[i];
        }
        pointers_[0] = left_.data();
        pointers_[1] = right_.data();
        for (const auto& [name, bytes, isFloat] : {std::tuple{"read-float.wav", 4u, true}, {"read-24.wav", 3u, false}}) {
            Audio::Encode::WAV::Encoder encoder(path(name), {2, bytes, 48000, isFloat, 0});
            (void)encoder.BeginWriting();
            (void)encoder.WriteFloatInterleaved(kFrames, interleaved_.data());
            (void)encoder.Finish();
        }
    }

    std::filesystem::path folder_;
    std::vector<float> left_, right_, interleaved_;
    const float* pointers_[2] = {};
};

void WavWriteOurs(benchmark::State& state)
{
    auto& m = Material::get();
    const std::string path = m.path("write-ours.wav");
    for (auto _ : state) {
        Audio::Encode::WAV::Encoder encoder(path, {2, 4, 48000, true, 0});
        if (!encoder.BeginWriting().ok())
            state.SkipWithError("BeginWriting failed");
        const float* block[2];
        for (size_t at = 0; at < kFrames; at += kBlock) {
            block[0] = m.channels()[0] + at;
            block[1] = m.channels()[1] + at;
            (void)encoder.WriteFloatDeinterleaved(kBlock, block);
        }
        (void)encoder.Finish();
    }
    state.SetItemsProcessed(int64_t(state.iterations() * kFrames));
}

void writeWithLibsndfile(benchmark::State& state, bool peak)
{
    auto& m = Material::get();
    const std::string path = m.path("write-sndfile.wav");
    for (auto _ : state) {
        SF_INFO info{};
        info.samplerate = 48000;
        info.channels = 2;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        if (!file)
            state.SkipWithError("sf_open failed");
        sf_command(file, SFC_SET_ADD_PEAK_CHUNK, nullptr, peak ? SF_TRUE : SF_FALSE);
        for (size_t at = 0; at < kFrames; at += kBlock)
            sf_writef_float(file, m.interleaved().data() + 2 * at, kBlock);
        sf_close(file);
    }
    state.SetItemsProcessed(int64_t(state.iterations() * kFrames));
}

void WavWriteLibsndfile(benchmark::State& state) { writeWithLibsndfile(state, true); }
void WavWriteLibsndfileNoPeak(benchmark::State& state) { writeWithLibsndfile(state, false); }

void WavWriteFwrite(benchmark::State& state)
{
    auto& m = Material::get();
    const std::string path = m.path("write-fwrite.wav");
    const char header[44] = {};
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(header, 1, sizeof header, file);
        for (size_t at = 0; at < kFrames; at += kBlock)
            std::fwrite(m.interleaved().data() + 2 * at, sizeof(float) * 2, kBlock, file);
        std::fclose(file);
    }
    state.SetItemsProcessed(int64_t(state.iterations() * kFrames));
}

void readOurs(benchmark::State& state, const char* name)
{
    auto& m = Material::get();
    const std::string path = m.path(name);
    std::vector<float> left(kBlock), right(kBlock);
    float* channels[] = {left.data(), right.data()};
    for (auto _ : state) {
        Audio::Decode::WAV::Decoder decoder(path);
        if (!decoder.Sync().ok())
            state.SkipWithError("Sync failed");
        size_t total = 0;
        for (;;) {
            const auto read = decoder.ReadFloatDeinterleaved(kBlock, channels);
            if (!read.ok() || read.value() == 0)
                break;
            total += read.value();
            benchmark::DoNotOptimize(left.data());
        }
        if (total != kFrames)
            state.SkipWithError("short read");
    }
    state.SetItemsProcessed(int64_t(state.iterations() * kFrames));
}

// libsndfile reads interleaved frames; the same channel pointers are filled from them.
void readLibsndfile(benchmark::State& state, const char* name)
{
    auto& m = Material::get();
    const std::string path = m.path(name);
    std::vector<float> interleaved(2 * kBlock), left(kBlock), right(kBlock);
    for (auto _ : state) {
        SF_INFO info{};
        SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
        if (!file)
            state.SkipWithError("sf_open failed");
        size_t total = 0;
        for (;;) {
            const sf_count_t read = sf_readf_float(file, interleaved.data(), kBlock);
            if (read <= 0)
                break;
            for (sf_count_t f = 0; f < read; ++f) {
                left[size_t(f)] = interleaved[2 * size_t(f)];
                right[size_t(f)] = interleaved[2 * size_t(f) + 1];
            }
            total += size_t(read);
            benchmark::DoNotOptimize(left.data());
        }
        sf_close(file);
        if (total != kFrames)
            state.SkipWithError("short read");
    }
    state.SetItemsProcessed(int64_t(state.iterations() * kFrames));
}

void WavReadFloatOurs(benchmark::State& state) { readOurs(state, "read-float.wav"); }
void WavReadFloatLibsndfile(benchmark::State& state) { readLibsndfile(state, "read-float.wav"); }
void WavRead24Ours(benchmark::State& state) { readOurs(state, "read-24.wav"); }
void WavRead24Libsndfile(benchmark::State& state) { readLibsndfile(state, "read-24.wav"); }

} // namespace

BENCHMARK(WavWriteOurs)->Name("WavWrite/ours");
BENCHMARK(WavWriteLibsndfile)->Name("WavWrite/libsndfile");
BENCHMARK(WavWriteLibsndfileNoPeak)->Name("WavWrite/libsndfile_nopeak");
BENCHMARK(WavWriteFwrite)->Name("WavWrite/fwrite");
BENCHMARK(WavReadFloatOurs)->Name("WavReadFloat/ours");
BENCHMARK(WavReadFloatLibsndfile)->Name("WavReadFloat/libsndfile");
BENCHMARK(WavRead24Ours)->Name("WavRead24/ours");
BENCHMARK(WavRead24Libsndfile)->Name("WavRead24/libsndfile");
