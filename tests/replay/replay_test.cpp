// The checked-in key streams played through the real frame: every frame's
// records, sounds, boxes and every few frames the picture must match the
// digest the replay tool wrote. A change on purpose is written anew with
// `kestoria_replay write`; `kestoria_replay show NAME` prints both runs.
#include <gtest/gtest.h>

#include "support/data_tree.h"
#include "tools/replay/replay.h"

namespace {

class Replay : public ::testing::TestWithParam<const char*> {};

TEST_P(Replay, EveryFrameAsRecorded) {
    std::string name = GetParam(), dir = KESTORIA_REPLAY_DIR, error;
    KeyStream stream;
    ASSERT_TRUE(ReadKeyStream(dir + "/" + name + ".keys", &stream, &error)) << error;
    std::vector<FrameRecord> expected, actual;
    ASSERT_TRUE(ReadDigestFile(dir + "/" + name + ".digest.gz", &expected, &error)) << error;
    ASSERT_FALSE(expected.empty()) << "no digest for " << name;

    InDataDirectory data;
    ASSERT_TRUE(data.ok()) << "KESTORIA_DATA_DIR must name the built data tree";
    ASSERT_TRUE(PlayKeyStream(stream, &actual, &error)) << error;
    int frame = 0;
    std::string difference = FirstDifference(expected, actual, &frame);
    EXPECT_TRUE(difference.empty()) << name << " replay, " << difference << "\n(kestoria_replay show " << name << " "
                              << frame << " prints both frames in full)";
}

INSTANTIATE_TEST_SUITE_P(Streams, Replay, ::testing::ValuesIn(ReplayNames, ReplayNames + ReplayCount),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
