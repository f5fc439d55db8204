// SPDX-License-Identifier: GPL-3.0-or-later
#include "changeres.h"
#include "displaysession.h"
#include "fakedisplayplatform.h"

#include <gtest/gtest.h>

namespace zorvik::display {
namespace {

using Log = FakeDisplayPlatform::Log;

Log operator+(Log head, const Log &tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

struct ChangeCase {
    const char *name;
    std::int32_t x, y, bits;
    std::int32_t result;
    Log expected;
};

class ChangeResTest : public testing::TestWithParam<ChangeCase> {};

TEST_P(ChangeResTest, CallsThePlatformInOrder)
{
    const ChangeCase &c = GetParam();
    auto log = std::make_shared<Log>();
    FakeDisplayPlatform platform(log);
    platform.fullScreenResults = {c.result};
    changeRes(platform, c.x, c.y, c.bits);
    EXPECT_EQ(*log, c.expected);
}

// The fake display's mode 0 is 640 x 480 at 8 bits.
const ChangeCase changeCases[] = {
    {"Success", 800, 600, 32, changeSuccessful, askedFor(800, 600, 32)},
    {"RestoreOf1024x768At16Bits", 1024, 768, 16, changeSuccessful, askedFor(1024, 768, 16)},
    {"SameSizeStillChanged", 640, 480, 8, changeSuccessful, askedFor(640, 480, 8)},
    {"BadModeRefusedSilently", 800, 600, 32, changeBadMode, askedFor(800, 600, 32)},
    {"FailureRefusedSilently", 800, 600, 32, changeFailed, askedFor(800, 600, 32)},
    {"UnknownResultRefusedSilently", 800, 600, 32, 2, askedFor(800, 600, 32)},
    {"RestartLeftToThePlatform", 800, 600, 32, changeRestart, askedFor(800, 600, 32)},
    {"TallScreen", 1920, 40000, 24, changeSuccessful, askedFor(1920, 40000, 24)},
};

INSTANTIATE_TEST_SUITE_P(Cases, ChangeResTest, testing::ValuesIn(changeCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(PackSize, WidthLowHeightHigh)
{
    const struct {
        std::int32_t x, y;
        std::uint32_t packed;
    } rows[] = {
        {800, 600, 39322400u},   {1024, 768, 50332672u},      {0, 0, 0u},
        {1, 32768, 0x80000001u}, {65535, 32767, 0x7FFFFFFFu}, {65535, 65535, 0xFFFFFFFFu},
    };
    for (const auto &row : rows)
        EXPECT_EQ(packSize(row.x, row.y), row.packed) << row.x << " x " << row.y;
}

TEST(DisplaySession, SwitchesAtLoadAndRestoresAtUnloadOnce)
{
    auto log = std::make_shared<Log>();
    FakeDisplayPlatform platform(log);
    platform.depth = 16;
    DisplaySession session(platform);
    session.load(1024, 768);
    session.unload();
    session.unload();
    EXPECT_EQ(*log, (Log{"open", "depth"} + askedFor(800, 600, 16) + Log{"depth"} +
                     askedFor(1024, 768, 16) + Log{"release"}));
}

// The restore is asked for even when the switch was refused, and the context released.
TEST(DisplaySession, RefusedBothWays)
{
    auto log = std::make_shared<Log>();
    FakeDisplayPlatform platform(log);
    platform.fullScreenResults = {changeBadMode, changeBadMode};
    DisplaySession session(platform);
    session.load(1024, 768);
    session.unload();
    EXPECT_EQ(*log, (Log{"open", "depth"} + askedFor(800, 600, 32) + Log{"depth"} +
                     askedFor(1024, 768, 32) + Log{"release"}));
}

TEST(DisplaySession, UnloadWithoutLoadDoesNothing)
{
    auto log = std::make_shared<Log>();
    FakeDisplayPlatform platform(log);
    DisplaySession session(platform);
    session.unload();
    EXPECT_TRUE(log->empty());
}

TEST(DisplaySession, SecondLoadKeepsTheStartUpSize)
{
    auto log = std::make_shared<Log>();
    FakeDisplayPlatform platform(log);
    DisplaySession session(platform);
    session.load(1280, 1024);
    session.load(800, 600);
    log->clear();
    session.unload();
    EXPECT_EQ(*log, Log{"depth"} + askedFor(1280, 1024, 32) + Log{"release"});
}

} // namespace
} // namespace zorvik::display
