#pragma once

#include <QString>
#include <functional>

// Shortens a path until `fits` accepts it. A path without a drive letter
// loses its beginning: "...." and the path without its first i + 3
// characters, at i = 1, 2, ... A path with a drive letter keeps its first
// 20 characters, then "....", then loses one more character per step.
// The fully shortened form is returned when nothing fits.
QString GLB_shorten_path(const QString& path, const std::function<bool(const QString&)>& fits);
