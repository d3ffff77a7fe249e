// The game's own back buffer for the end-to-end test to hold screenshots
// against, and the image arithmetic the shell script cannot do.
//   frame_reference title OUT.ppm MASK.pgm
//       the title at rest, headless, for every height of the rain; the mask
//       is white where every one of them agrees (the rain does not show)
//   frame_reference field OUT.ppm MASK.pgm
//       a new game's field with the player standing at the start, for many
//       seeds and moments; the mask is white where all of them agree
//   frame_reference mask SHOT.ppm MASK.pgm OUT.ppm
//       the screenshot with the pixels the mask leaves out painted magenta,
//       as the reference has them
//   frame_reference shift BEFORE.ppm AFTER.ppm TOP BOTTOM
//       how far the picture between rows TOP and BOTTOM moved left and up
//       from BEFORE to AFTER; prints both distances, or fails when no shift
//       explains four pixels in five
// Run title and field in the build directory, where the data tree is.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/crt.h"
#include "tools/replay/headless_game.h"

namespace {

constexpr int Width = ScreenWidthPx;
constexpr int Height = ScreenHeightPx;
constexpr int RainHeights = 480;  // the title draws the rain at rand() % 480
constexpr uint32_t Magenta = 0xFF00FF;
constexpr int LongestShiftPx = 560;

struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb;  // 0xRRGGBB
};

// Binary PPM, or PGM of the blue channel when `grey`.
bool WritePnm(const std::string& path, const Image& image, bool grey = false) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fprintf(f, "P%c\n%d %d\n255\n", grey ? '5' : '6', image.width, image.height);
    for (uint32_t p : image.rgb) {
        const unsigned char bytes[3] = {(unsigned char)(p >> 16), (unsigned char)(p >> 8), (unsigned char)p};
        std::fwrite(grey ? bytes + 2 : bytes, 1, grey ? 1 : 3, f);
    }
    return std::fclose(f) == 0;
}

// Binary PPM (P6, 8 bits) or PGM (P5, 8 bits, grey repeated into rgb).
bool ReadPnm(const std::string& path, Image* image) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char magic[3] = {};
    int maxValue = 0;
    bool ok = std::fscanf(f, "%2s %d %d %d", magic, &image->width, &image->height, &maxValue) == 4 &&
              maxValue == 255 && image->width > 0 && image->height > 0 && image->width <= 8192 &&
              image->height <= 8192 && (!std::strcmp(magic, "P6") || !std::strcmp(magic, "P5"));
    if (ok) {
        std::fgetc(f);  // the one white-space byte before the pixels
        const int channels = magic[1] == '6' ? 3 : 1;
        image->rgb.assign((size_t)image->width * image->height, 0);
        for (uint32_t& p : image->rgb) {
            unsigned char bytes[3] = {};
            if (std::fread(bytes, 1, channels, f) != (size_t)channels) ok = false;
            p = channels == 3 ? (uint32_t)bytes[0] << 16 | bytes[1] << 8 | bytes[2] : bytes[0] * 0x010101u;
        }
    }
    std::fclose(f);
    if (!ok) std::fprintf(stderr, "cannot read %s as an 8-bit PPM or PGM\n", path.c_str());
    return ok;
}

HWND Start() {
    HWND window = StartHeadlessGame();
    if (!window) std::fprintf(stderr, "the game did not start\n");
    return window;
}

Image BackBuffer() {
    const uint32_t* pixels = Graphics.device->BackBuffer();
    Image image{Width, Height, std::vector<uint32_t>(pixels, pixels + Width * Height)};
    for (uint32_t& p : image.rgb) p &= 0xFFFFFF;
    return image;
}

// Folds one more frame into the reference: pixels that differ from the
// first frame leave the mask.
struct Agreement {
    Image reference, mask;
    void Add(const Image& frame) {
        if (reference.rgb.empty()) {
            reference = frame;
            mask = frame;
            for (uint32_t& m : mask.rgb) m = 0xFFFFFF;
        }
        for (size_t i = 0; i < frame.rgb.size(); ++i)
            if (frame.rgb[i] != reference.rgb[i]) mask.rgb[i] = 0;
    }
    bool Write(const std::string& outPath, const std::string& maskPath) {
        long kept = 0;
        for (size_t i = 0; i < mask.rgb.size(); ++i) {
            if (mask.rgb[i]) ++kept;
            else reference.rgb[i] = Magenta;
        }
        std::printf("%ld of %d pixels are the same in every frame\n", kept, Width * Height);
        return WritePnm(maskPath, mask, true) && WritePnm(outPath, reference);
    }
};

int Title(const std::string& outPath, const std::string& maskPath) {
    HWND window = Start();
    if (!window) return 1;
    HeadlessFrame(window, {VK_RETURN});  // the logo to rest
    HeadlessFrame(window, {});
    // One frame for each height of the rain: the seed whose first number
    // gives that height, then the frame that draws it.
    Agreement agreement;
    bool covered[RainHeights] = {};
    int heights = 0;
    for (unsigned seed = 0; heights < RainHeights && seed < 1000000; ++seed) {
        crt::srand(seed);
        const int height = crt::rand() % RainHeights;
        if (covered[height]) continue;
        covered[height] = true;
        ++heights;
        crt::srand(seed);
        HeadlessFrame(window, {});
        agreement.Add(BackBuffer());
    }
    const bool atRest = LogoX == 0.0f && LogoY == 0.0f && TitleAlpha == 255;
    StopHeadlessGame(window);
    if (!atRest || heights != RainHeights) {
        std::fprintf(stderr, "the title did not come to rest under every rain height\n");
        return 1;
    }
    return agreement.Write(outPath, maskPath) ? 0 : 1;
}

int Field(const std::string& outPath, const std::string& maskPath) {
    // Every fourth frame from the 12th, when the player has landed, to the 48th.
    constexpr int Seeds = 12, FirstFrame = 12, LastFrame = 48, FrameStep = 4;
    HWND window = Start();
    if (!window) return 1;
    Agreement agreement;
    for (int seed = 1; seed <= Seeds; ++seed) {
        ResetGameToProgramStart();
        crt::srand((unsigned)seed * 7919u);
        HeadlessFrame(window, {VK_RETURN});  // the logo to rest
        HeadlessFrame(window, {});
        HeadlessFrame(window, {VK_RETURN});  // start
        for (int i = 0; i < 200 && Scene == SceneTitle; ++i) HeadlessFrame(window, {});
        for (int frame = 1; frame <= LastFrame && Scene == SceneField; ++frame) {
            HeadlessFrame(window, {});
            if (frame >= FirstFrame && (frame - FirstFrame) % FrameStep == 0) agreement.Add(BackBuffer());
        }
        if (Scene != SceneField) {
            std::fprintf(stderr, "the new game left the field (scene %d)\n", Scene);
            StopHeadlessGame(window);
            return 1;
        }
    }
    StopHeadlessGame(window);
    return agreement.Write(outPath, maskPath) ? 0 : 1;
}

int Mask(const std::string& shotPath, const std::string& maskPath, const std::string& outPath) {
    Image shot, mask;
    if (!ReadPnm(shotPath, &shot) || !ReadPnm(maskPath, &mask)) return 1;
    if (shot.width != mask.width || shot.height != mask.height) {
        std::fprintf(stderr, "the screenshot is %dx%d, the mask %dx%d\n", shot.width, shot.height, mask.width,
                     mask.height);
        return 1;
    }
    for (size_t i = 0; i < shot.rgb.size(); ++i)
        if (!mask.rgb[i]) shot.rgb[i] = Magenta;
    return WritePnm(outPath, shot) ? 0 : 1;
}

// Pixels of the rows that agree between after(x, y) and before(x + dx,
// y + dy), looking at every step-th pixel each way.
struct Agreeing {
    long same = 0, count = 0;
    bool Better(const Agreeing& other) const { return count > 0 && same * other.count > other.same * count; }
};
Agreeing Agree(const Image& before, const Image& after, int top, int bottom, int dx, int dy, int step) {
    Agreeing a;
    for (int y = top; y < bottom; y += step) {
        const int fromY = y + dy;
        if (fromY < 0 || fromY >= before.height) continue;
        for (int x = 0; x < after.width; x += step) {
            const int fromX = x + dx;
            if (fromX < 0 || fromX >= before.width) continue;
            ++a.count;
            a.same += after.rgb[(size_t)y * after.width + x] == before.rgb[(size_t)fromY * before.width + fromX];
        }
    }
    return a;
}

int Shift(const std::string& beforePath, const std::string& afterPath, int top, int bottom) {
    constexpr int CoarseStepPx = 8, MinOverlapPx = 80;
    Image before, after;
    if (!ReadPnm(beforePath, &before) || !ReadPnm(afterPath, &after)) return 1;
    if (before.width != after.width || before.height != after.height || top < 0 || bottom > before.height ||
        top >= bottom) {
        std::fprintf(stderr, "the pictures or the rows do not fit together\n");
        return 1;
    }
    // The view may move up or down too (a jump, a knock-back): the best
    // shift both ways on a coarse grid of pixels, then checked on all.
    int bestX = 0, bestY = 0;
    Agreeing best;
    for (int dy = -LongestShiftPx / 4; dy <= LongestShiftPx / 4; ++dy) {
        for (int dx = -LongestShiftPx; dx <= LongestShiftPx; ++dx) {
            if (before.width - (dx < 0 ? -dx : dx) < MinOverlapPx) continue;
            const Agreeing a = Agree(before, after, top, bottom, dx, dy, CoarseStepPx);
            if (best.count == 0 || a.Better(best)) {
                best = a;
                bestX = dx;
                bestY = dy;
            }
        }
    }
    const Agreeing all = Agree(before, after, top, bottom, bestX, bestY, 1);
    if (all.same * 10 < all.count * 8) {
        std::fprintf(stderr, "no shift explains the rows: at best %ld of %ld pixels agree\n", all.same, all.count);
        return 1;
    }
    std::printf("%d %d\n", bestX, bestY);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "title" && argc == 4) return Title(argv[2], argv[3]);
    if (mode == "field" && argc == 4) return Field(argv[2], argv[3]);
    if (mode == "mask" && argc == 5) return Mask(argv[2], argv[3], argv[4]);
    if (mode == "shift" && argc == 6) return Shift(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]));
    std::fprintf(stderr,
                 "usage: %s title|field OUT.ppm MASK.pgm | mask SHOT.ppm MASK.pgm OUT.ppm | shift BEFORE.ppm AFTER.ppm TOP "
                 "BOTTOM\n",
                 argv[0]);
    return 2;
}
