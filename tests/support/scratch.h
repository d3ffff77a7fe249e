// Scratch files for tests: a temporary directory removed with everything in
// it, the same made the working directory for a while, and small writers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

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

// A fresh temporary directory as the working directory; the previous one
// comes back on destruction.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();

private:
    std::string previous_;
    TempDir dir_;
};

// Makes the folders on the way to path (relative to the working directory).
void MakeParentFolders(const std::string& path);
// Writes text to path, making folders.
void WriteTextFile(const std::string& path, const std::string& text);
// False when the file could not be written.
bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> ReadBytes(const std::string& path);

// A PCM WAV file whose every sample is `value`: in the mix it adds exactly
// `value` to each sample while it plays.
void WriteConstantWave(const std::string& path, int frames, int16_t value, int rate = 44100, int channels = 2,
                       int bits = 16);
