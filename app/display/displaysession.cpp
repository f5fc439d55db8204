// SPDX-License-Identifier: GPL-3.0-or-later
#include "displaysession.h"

#include "changeres.h"

namespace zorvik::display {

DisplaySession::DisplaySession(DisplayPlatform &platform) : m_platform(platform) {}

void DisplaySession::load(std::int32_t screenWidth, std::int32_t screenHeight)
{
    if (m_loaded)
        return;
    m_savedWidth = screenWidth;
    m_savedHeight = screenHeight;
    m_platform.openDisplayContext();
    m_loaded = true;
    changeRes(m_platform, 800, 600, m_platform.colourDepth());
}

void DisplaySession::unload()
{
    if (!m_loaded)
        return;
    m_loaded = false;
    changeRes(m_platform, m_savedWidth, m_savedHeight, m_platform.colourDepth());
    m_platform.releaseDisplayContext();
}

} // namespace zorvik::display
