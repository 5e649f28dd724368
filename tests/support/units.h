#pragma once

// Twips of the window definitions as logical pixels.
constexpr int px(int twips)
{
    return twips / 15;
}
