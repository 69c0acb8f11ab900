#pragma once

// The program's output volume. The slider runs from 0 (top, full volume)
// to 100 (bottom, silence); the volume is kept as a 16-bit level per
// channel, as sound cards count it, and stored as "Volume" (0..100) in
// section "GENERAL" since no mixer outside the program keeps it.
namespace volume {
inline constexpr int kMaximumLevel = 65535;
// The level a slider position sets: (100 - position) × 65535 ÷ 100.
int level_for_position(int position);
// The slider position of a level (both channels together when stereo).
int position_for_level(int left, int right, bool stereo);
}  // namespace volume

// Reads the stored volume and applies it to the output.
void GLB_restore_volume();
// The slider position of the volume now in use.
int GLB_volume_position();
// Applies the slider position to the output and stores it.
void GLB_move_volume_to(int position);
