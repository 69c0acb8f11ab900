#include "utilities/needed_disk_space.h"

#include "app/file_helpers.h"

void TClassCalculateNeededDiskSpace::calculate(const std::atomic<bool>& cancelled) {
    needed_bytes = GLB_total_size(directory, &cancelled);
    needed_megabytes = needed_bytes / 1'048'576;
}
