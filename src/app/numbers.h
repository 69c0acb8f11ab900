#pragma once

// The value, kept within low..high.
inline int GLB_clamp(int value, int low, int high) {
    return value < low ? low : (value > high ? high : value);
}
