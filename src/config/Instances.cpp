#include "config/Instances.h"

#include <memory>

namespace config {

namespace {
std::unique_ptr<MovieCollection> movies;
std::unique_ptr<ZOR2> settings;
}  // namespace

MovieCollection& gMovies() {
    if (!movies) movies = std::make_unique<MovieCollection>();
    return *movies;
}

ZOR2& gSettings() {
    if (!settings) settings = std::make_unique<ZOR2>();
    return *settings;
}

void ResetInstances() {
    movies.reset();
    settings.reset();
}

}  // namespace config
