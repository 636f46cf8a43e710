// The blank favourites database carried in the program (generated at build time).
#pragma once

#include <cstddef>

namespace tavlo {
extern const unsigned char BLANK_FAVOURITES_DB[];
extern const std::size_t BLANK_FAVOURITES_DB_SIZE;
}  // namespace tavlo
