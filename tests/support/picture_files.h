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
