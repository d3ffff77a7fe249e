// The real software device and sprite batch on Graphics, made the way
// start-up makes them but without a window, for tests that run frames or
// read the back buffer.
#pragma once
#include <gtest/gtest.h>

// Fills Graphics' d3d, device, sprite and presentParams.
testing::AssertionResult OpenTestGraphics();
// Releases what OpenTestGraphics made, zeroes Graphics again and ends any
// device loss a test forced.
void CloseTestGraphics();
