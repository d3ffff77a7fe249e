#include "support/scratch.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestoria-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
}

TempDir::~TempDir() {
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

ScratchDir::ScratchDir() : previous_(std::filesystem::current_path().string()) {
    EXPECT_FALSE(dir_.Path().empty());
    std::filesystem::current_path(dir_.Path());
}

ScratchDir::~ScratchDir() {
    std::error_code failed;
    std::filesystem::current_path(previous_, failed);
    if (failed) ADD_FAILURE() << "cannot return to " << previous_;
}

void MakeParentFolders(const std::string& path) {
    std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
}

void WriteTextFile(const std::string& path, const std::string& text) {
    MakeParentFolders(path);
    std::ofstream out(path, std::ios::binary);
    out << text;
    EXPECT_TRUE(out.good()) << path;
}

bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
    std::vector<unsigned char> bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return bytes;
    int c;
    while ((c = std::fgetc(file)) != EOF) bytes.push_back((unsigned char)c);
    std::fclose(file);
    return bytes;
}

namespace {
void PutLittleEndian(std::string* out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out->push_back((char)((value >> (8 * i)) & 0xFF));
}
}  // namespace

void WriteConstantWave(const std::string& path, int frames, int16_t value, int rate, int channels, int bits) {
    int sampleBytes = bits / 8;
    uint32_t dataBytes = (uint32_t)(frames * channels * sampleBytes);
    std::string out = "RIFF";
    PutLittleEndian(&out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    PutLittleEndian(&out, 16, 4);
    PutLittleEndian(&out, 1, 2);  // PCM
    PutLittleEndian(&out, (uint32_t)channels, 2);
    PutLittleEndian(&out, (uint32_t)rate, 4);
    PutLittleEndian(&out, (uint32_t)(rate * channels * sampleBytes), 4);
    PutLittleEndian(&out, (uint32_t)(channels * sampleBytes), 2);
    PutLittleEndian(&out, (uint32_t)bits, 2);
    out += "data";
    PutLittleEndian(&out, dataBytes, 4);
    // 8-bit PCM is unsigned around 128.
    uint32_t stored = bits == 8 ? (uint32_t)(128 + value / 256) : (uint16_t)value;
    for (int i = 0; i < frames * channels; ++i) PutLittleEndian(&out, stored, sampleBytes);
    MakeParentFolders(path);
    EXPECT_TRUE(WriteBytes(path, std::vector<unsigned char>(out.begin(), out.end()))) << path;
}
