// Writes small picture files for tests that load textures: pixels are
// 32-bit A8R8G8B8 values, row by row. Each returns false when the file
// could not be written.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

bool WritePng(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);
// Alpha is dropped; quality 100 keeps flat colours within a few levels.
bool WriteJpeg(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);
// A 24-bit BMP; alpha is dropped.
bool WriteBmp(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);
bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> ReadBytes(const std::string& path);

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};
