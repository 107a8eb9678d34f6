#pragma once

// The one rule by which sizes and rates pick their unit: the update window's byte counts, the
// download's transfer rate and the unpack progress. Each caller keeps its own texts.
namespace ByteSize {

inline constexpr double kBytesPerKB = 1024;
inline constexpr double kBytesPerMB = 1048576;

enum class Unit { Bytes, KB, MB };

// Bytes from 0 to 1023 and KB from 1024 to 1048576, both ends included; MB for everything else,
// a negative value and one between 1023 and 1024 too.
constexpr Unit UnitOf(double n)
{
    if (n >= 0 && n <= kBytesPerKB - 1)
        return Unit::Bytes;
    if (n >= kBytesPerKB && n <= kBytesPerMB)
        return Unit::KB;
    return Unit::MB;
}

} // namespace ByteSize
