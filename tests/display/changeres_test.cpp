#include "changeres.h"
#include "displaysession.h"
#include "fakedisplayplatform.h"

#include <gtest/gtest.h>

#include <ostream>

namespace zorvik::display {
namespace {

using Log = FakeDisplayPlatform::Log;

struct ChangeCase {
    const char *name;
    std::int32_t x, y, bits;
    std::deque<std::int32_t> fullScreenResults;
    std::int32_t answer;
    Log expected;
};

void PrintTo(const ChangeCase &c, std::ostream *out)
{
    *out << c.name;
}

class ChangeResTest : public testing::TestWithParam<ChangeCase> {};

TEST_P(ChangeResTest, CallsThePlatformInOrder)
{
    const ChangeCase &c = GetParam();
    auto log = std::make_shared<Log>();
    FakeDisplayPlatform platform(log);
    platform.fullScreenResults = c.fullScreenResults;
    platform.answer = c.answer;
    changeRes(platform, c.x, c.y, c.bits);
    EXPECT_EQ(*log, c.expected);
}

const ChangeCase changeCases[] = {
    {"Success",
     800,
     600,
     32,
     {changeSuccessful},
     answerNo,
     {"enumerate 0", "change 800x600x32 fields=1c0000 flags=4",
      "change 800x600x32 fields=1c0000 flags=1",
      "send window=ffff message=7e wParam=32 lParam=39322400"}},
    {"RestoreOf1024x768At16Bits",
     1024,
     768,
     16,
     {changeSuccessful},
     answerNo,
     {"enumerate 0", "change 1024x768x16 fields=1c0000 flags=4",
      "change 1024x768x16 fields=1c0000 flags=1",
      "send window=ffff message=7e wParam=16 lParam=" + std::to_string(768 * 65536 + 1024)}},
    // The fake display starts at mode 0; asking for the size it already has still changes.
    {"SameSizeStillChangedAndBroadcast",
     640,
     480,
     8,
     {changeSuccessful},
     answerNo,
     {"enumerate 0", "change 640x480x8 fields=1c0000 flags=4",
      "change 640x480x8 fields=1c0000 flags=1",
      "send window=ffff message=7e wParam=8 lParam=31457920"}},
    {"BadModeRefusedSilently",
     800,
     600,
     32,
     {changeBadMode},
     answerYes,
     {"enumerate 0", "change 800x600x32 fields=1c0000 flags=4"}},
    {"FailureRefusedSilently",
     800,
     600,
     32,
     {changeFailed},
     answerYes,
     {"enumerate 0", "change 800x600x32 fields=1c0000 flags=4"}},
    {"UnknownResultRefusedSilently",
     800,
     600,
     32,
     {2},
     answerYes,
     {"enumerate 0", "change 800x600x32 fields=1c0000 flags=4"}},
    {"RestartAnsweredYesReboots",
     800,
     600,
     32,
     {changeRestart},
     answerYes,
     {"enumerate 0", "change 800x600x32 fields=1c0000 flags=4",
      "messageBox You've to reboot|Info|1004", "exitWindows 2"}},
    {"RestartAnsweredNoDoesNothing",
     800,
     600,
     32,
     {changeRestart},
     answerNo,
     {"enumerate 0", "change 800x600x32 fields=1c0000 flags=4",
      "messageBox You've to reboot|Info|1004"}},
    // A height of 32768 or more no longer fails: the bits carry on into the sign bit.
    {"TallScreenStillBroadcast",
     1920,
     40000,
     24,
     {changeSuccessful},
     answerNo,
     {"enumerate 0", "change 1920x40000x24 fields=1c0000 flags=4",
      "change 1920x40000x24 fields=1c0000 flags=1",
      "send window=ffff message=7e wParam=24 lParam=" + std::to_string(40000u * 65536u + 1920u)}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ChangeResTest, testing::ValuesIn(changeCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(PackSize, WidthLowHeightHigh)
{
    const struct {
        std::int32_t x, y;
        std::uint32_t packed;
    } rows[] = {
        {800, 600, 600u * 65536 + 800},     {1024, 768, 50332672u},  {0, 0, 0u},
        {65535, 32767, 0x7FFFFFFFu},        {1, 32768, 0x80000001u}, {65535, 65535, 0xFFFFFFFFu},
        {7680, 4320, 4320u * 65536 + 7680},
    };
    for (const auto &row : rows)
        EXPECT_EQ(packSize(row.x, row.y), row.packed) << row.x << " x " << row.y;
}

struct SessionCase {
    const char *name;
    std::deque<std::int32_t> fullScreenResults;
    Log expected;
};

void PrintTo(const SessionCase &c, std::ostream *out)
{
    *out << c.name;
}

class DisplaySessionTest : public testing::TestWithParam<SessionCase> {};

TEST_P(DisplaySessionTest, LoadThenUnload)
{
    const SessionCase &c = GetParam();
    auto log = std::make_shared<Log>();
    FakeDisplayPlatform platform(log);
    platform.depth = 16;
    platform.fullScreenResults = c.fullScreenResults;
    DisplaySession session(platform);
    session.load(1024, 768);
    EXPECT_TRUE(session.isLoaded());
    session.unload();
    EXPECT_FALSE(session.isLoaded());
    session.unload();
    EXPECT_EQ(*log, c.expected);
}

const std::string restoreLParam = "lParam=" + std::to_string(768 * 65536 + 1024);

const SessionCase sessionCases[] = {
    {"SwitchedAndRestored",
     {},
     {"open", "depth", "enumerate 0", "change 800x600x16 fields=1c0000 flags=4",
      "change 800x600x16 fields=1c0000 flags=1",
      "send window=ffff message=7e wParam=16 lParam=39322400", "depth", "enumerate 0",
      "change 1024x768x16 fields=1c0000 flags=4", "change 1024x768x16 fields=1c0000 flags=1",
      "send window=ffff message=7e wParam=16 " + restoreLParam, "release"}},
    // The restore is asked for even when the switch was refused, and released all the same.
    {"RefusedBothWays",
     {changeBadMode, changeBadMode},
     {"open", "depth", "enumerate 0", "change 800x600x16 fields=1c0000 flags=4", "depth",
      "enumerate 0", "change 1024x768x16 fields=1c0000 flags=4", "release"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, DisplaySessionTest, testing::ValuesIn(sessionCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(DisplaySession, UnloadWithoutLoadDoesNothing)
{
    auto log = std::make_shared<Log>();
    FakeDisplayPlatform platform(log);
    DisplaySession session(platform);
    session.unload();
    EXPECT_TRUE(log->empty());
}

TEST(DisplaySession, SecondLoadDoesNotSaveTheSwitchedSize)
{
    auto log = std::make_shared<Log>();
    FakeDisplayPlatform platform(log);
    DisplaySession session(platform);
    session.load(1280, 1024);
    session.load(800, 600);
    log->clear();
    session.unload();
    ASSERT_GE(log->size(), 3u);
    EXPECT_EQ((*log)[2], "change 1280x1024x32 fields=1c0000 flags=4");
}

} // namespace
} // namespace zorvik::display
