#pragma once

#include <QString>

namespace platform {

// Paths composed from data fields use "\" between parts; on this system
// every one of them is a "/".
QString nativePath(const QString& composed);

// Files on a disc copied from another system may differ in letter case from
// the names in the data ("Voices" and "voices"). Returns the existing path
// whose components match case-insensitively, or the path as given when
// nothing matches.
QString resolveCaseInsensitive(const QString& path);

}  // namespace platform
