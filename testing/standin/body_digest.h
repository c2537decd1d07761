#pragma once
// What the transcript tells about a response body: its length, an FNV-1a
// 64-bit digest and, for small bodies, the bytes themselves.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "transcript.h"

namespace standin {

std::uint64_t Fnv1a64(const std::uint8_t* data, std::size_t size);
// The same digest over bytes that arrive in pieces: start from fnv1a64Start and
// feed every piece in order.
inline constexpr std::uint64_t fnv1a64Start = 0xcbf29ce484222325ull;
std::uint64_t Fnv1a64Continue(std::uint64_t hash, const std::uint8_t* data, std::size_t size);

// 16 lower-case hex digits.
std::string DigestText(std::uint64_t digest);

std::string HexBytes(const std::vector<std::uint8_t>& bytes);

// Bodies up to this size are written out in full.
inline constexpr std::size_t maxHexBody = 4096;

// {"length", "fnv1a64", "hex" (small bodies only)}.
Json DescribeBody(const std::vector<std::uint8_t>& bytes);

}  // namespace standin
