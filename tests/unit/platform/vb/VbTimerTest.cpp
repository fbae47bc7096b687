#include "platform/vb/VbTimer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace {

// Sets TZ for the lifetime of the object.
class TimeZone {
public:
    explicit TimeZone(const char* tz) {
        if (const char* old = std::getenv("TZ")) previous_ = old;
        setenv("TZ", tz, 1);
        tzset();
    }
    ~TimeZone() {
        if (previous_) setenv("TZ", previous_->c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> previous_;
};

double SecondsSinceLocalMidnight() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
}

// Clock distance with the wrap at midnight.
double Distance(double a, double b) {
    const double d = std::fabs(a - b);
    return std::min(d, 86400.0 - d);
}

TEST(VbTimerTest, CountsFromLocalMidnight) {
    // Zones half an hour away from UTC and from each other catch a clock
    // read in the wrong zone.
    for (const char* tz : {"UTC0", "XST-5:30", "YST9:30"}) {
        SCOPED_TRACE(tz);
        const TimeZone zone(tz);
        const float timer = vb::Timer();
        EXPECT_GE(timer, 0.0f);
        EXPECT_LT(timer, 86400.0f);
        EXPECT_LT(Distance(timer, SecondsSinceLocalMidnight()), 60.0);
    }
}

}  // namespace
