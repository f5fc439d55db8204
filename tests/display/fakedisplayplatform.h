// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "displayplatform.h"

#include <deque>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace zorvik::display {

// Writes every call into a log shared with the test, which outlives the platform. Mode 0 of
// the fake display is 640 x 480 at 8 bits with a recognisable record behind it.
class FakeDisplayPlatform final : public DisplayPlatform {
public:
    using Log = std::vector<std::string>;

    explicit FakeDisplayPlatform(std::shared_ptr<Log> log) : m_log(std::move(log)) {}

    // Results of successive full-screen changes; success once they run out.
    std::deque<std::int32_t> fullScreenResults;
    std::int32_t depth = 32;
    std::function<void()> onOpen;

    void enumerateSettings(std::uint32_t modeNumber, DisplaySettings &record) override
    {
        record.fields = 0x7C0080;
        record.bitsPerPel = 8;
        record.pelsWidth = 640;
        record.pelsHeight = 480;
        for (std::size_t i = 0; i < record.platformRecord.size(); ++i)
            record.platformRecord[i] = std::byte(i * 7 + modeNumber);
        add("enumerate " + std::to_string(modeNumber));
    }
    std::int32_t changeSettings(const DisplaySettings &record, std::uint32_t flags) override
    {
        std::int32_t result = changeSuccessful;
        if (flags == changeFullScreen && !fullScreenResults.empty()) {
            result = fullScreenResults.front();
            fullScreenResults.pop_front();
        }
        std::ostringstream text;
        text << "change " << record.pelsWidth << 'x' << record.pelsHeight << 'x'
             << record.bitsPerPel << std::hex << " fields=" << record.fields << " flags=" << flags
             << (recordKept(record) ? "" : " record-lost");
        add(text.str());
        return result;
    }
    void openDisplayContext() override
    {
        add("open");
        if (onOpen)
            onOpen();
    }
    std::int32_t colourDepth() override
    {
        add("depth");
        return depth;
    }
    void releaseDisplayContext() override { add("release"); }

private:
    static bool recordKept(const DisplaySettings &record)
    {
        for (std::size_t i = 0; i < record.platformRecord.size(); ++i) {
            if (record.platformRecord[i] != std::byte(i * 7))
                return false;
        }
        return true;
    }
    void add(std::string line) { m_log->push_back(std::move(line)); }

    std::shared_ptr<Log> m_log;
};

// The platform calls of one ChangeRes, whether the display accepts or not.
inline FakeDisplayPlatform::Log askedFor(std::uint32_t x, std::uint32_t y, std::uint32_t bits)
{
    const std::string mode =
        std::to_string(x) + 'x' + std::to_string(y) + 'x' + std::to_string(bits);
    return {"enumerate 0", "change " + mode + " fields=1c0000 flags=4"};
}

} // namespace zorvik::display
