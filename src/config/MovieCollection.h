#pragma once
// The ordered, 1-based collection of entries that the show plays.

#include <deque>

#include "config/Movie.h"

namespace config {

class MovieCollection {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    // Error 9 (Subscript out of range) outside 1..Count.
    Movie& Item(int index);
    void Add(Movie movie) { items_.push_back(std::move(movie)); }

private:
    std::deque<Movie> items_;  // references stay valid as entries are added
};

}  // namespace config
