// Golden replays: a recorded key stream played through the real frame from
// a fixed seed, and one digest line per frame of everything the frame
// changed, the sounds it asked for, the boxes it raised and, every few
// frames, a hash of the picture. Shared by the replay tool, which writes
// the expected digests, and by the test that checks them.
#pragma once
#include <functional>
#include <string>
#include <vector>

// One recorded play: the seed set after loading, the answers given to the
// return-to-title question in turn, and the keys down in each frame.
struct KeyStream {
    unsigned seed = 1;
    std::vector<bool> answers;               // true: Yes
    std::vector<std::vector<int>> frames;    // virtual keys down, frame by frame
};

// The text form: "seed N", "answers yes no ...", then lines of "count keys"
// with keys as "Right+Z" or "-" for none; '#' starts a comment.
bool ReadKeyStream(const std::string& path, KeyStream* stream, std::string* error);
bool WriteKeyStream(const std::string& path, const KeyStream& stream);

// What one frame left behind.
struct FrameRecord {
    std::vector<std::string> values;  // every record field, in StateFieldName order
    std::vector<std::string> events;  // sounds asked for, boxes answered, the game's end
    std::string picture;              // back buffer hash, on every PictureEveryFrames-th frame
};

constexpr int PictureEveryFrames = 4;

// The field names of FrameRecord::values as the digest writes them
// ("P.x", "E7.state") and as a person reads them ("ThePlayer.x").
int StateFieldCount();
const std::string& StateFieldKey(int field);
std::string StateFieldName(int field);

// Starts the game headless in the working directory (the data tree), plays
// from a fresh program state, shuts down. Frame n has the keys keysFor(n)
// gives, read just before it runs; false from it ends the play, and so does
// the game's end. False with a reason when the game cannot start.
typedef std::function<bool(int frame, std::vector<int>* keys)> KeySource;
bool PlayKeys(unsigned seed, const std::vector<bool>& answers, const KeySource& keysFor,
              std::vector<FrameRecord>* frames, std::string* error);
bool PlayKeyStream(const KeyStream& stream, std::vector<FrameRecord>* frames, std::string* error);

// The digest: a header line, then per frame the fields that changed since
// the frame before ("key=value"), its events and "pic=hash"; gzip
// compressed, as the fields repeat a great deal.
bool WriteDigestFile(const std::string& path, const std::vector<FrameRecord>& frames);
bool ReadDigestFile(const std::string& path, std::vector<FrameRecord>* frames, std::string* error);

// "" when the runs agree; otherwise the first frame and the first field,
// event list or picture that differs, with both values.
std::string FirstDifference(const std::vector<FrameRecord>& expected, const std::vector<FrameRecord>& actual,
                            int* frame);

// Every field of a frame, one "name value" per line, skipping zero enemy
// and shot records; the events and the picture hash.
std::string DescribeFrame(const FrameRecord& frame);

// The replays checked in: tests/replay/<name>.keys and <name>.digest.gz.
extern const char* const ReplayNames[];
extern const int ReplayCount;
