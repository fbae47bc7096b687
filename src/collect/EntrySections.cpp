#include "collect/EntrySections.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace collect {

using platform::media::MediaKind;

namespace {

constexpr int kCentreBalance = 1000;  // Balance is stored with this offset
constexpr int kNormalPlayspeed = 10;  // tenths of the normal rate
constexpr int kLargest16Bit = 32767;

QString Bool(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

QString Number(double value) { return QString::number(value, 'f', 2).remove(QRegularExpression("\\.?0+$")); }

// StillW and StillH are 16-bit: a larger picture keeps its proportions.
std::pair<int, int> StillSize(int width, int height) {
    const double scale = std::min(1.0, double(kLargest16Bit) / std::max({width, height, 1}));
    return {int(std::lround(width * scale)), int(std::lround(height * scale))};
}

}  // namespace

const QStringList& EntrySuffixes() {
    static const QStringList suffixes{"Main", "Audio", "Looping", "Display"};
    return suffixes;
}

std::optional<QString> ValueText(const QString& value) {
    if (value.contains(u'\n') || value.contains(u'\r') || value.contains(QChar(u'\0'))) return std::nullopt;
    const bool quote = !value.isEmpty() && (value.front().isSpace() || value.back().isSpace() ||
                                            (value.size() > 1 && value.front() == u'"' && value.back() == u'"'));
    return quote ? u'"' + value + u'"' : value;
}

std::vector<Section> EntrySections(int n, const NewEntry& entry, const EntryOptions& options) {
    const platform::media::MediaFacts& facts = entry.facts;
    const bool page = facts.kind == MediaKind::Page;
    const bool still = facts.kind == MediaKind::Picture;
    const bool video = facts.kind == MediaKind::Video;
    const auto [stillW, stillH] = still ? StillSize(facts.width, facts.height) : std::pair{0, 0};
    const QString size = (video || still) ? QStringLiteral("%1x%2").arg(facts.width).arg(facts.height) : QString();
    const double frames = video ? std::round(facts.seconds * facts.framesPerSecond) : 0;
    const int playspeed = options.speed ? int(std::lround(*options.speed * kNormalPlayspeed)) : kNormalPlayspeed;
    const int volume = options.volumeDb ? int(std::lround(-*options.volumeDb * 100)) : 0;
    const int balance = kCentreBalance + (options.balanceDb ? int(std::lround(*options.balanceDb * 100)) : 0);
    const int playsize = options.playSize ? *options.playSize * kTwipsPerPixel : 0;
    const QString prefix = QStringLiteral("Movie") + QString::number(n);

    const auto lines = [](std::initializer_list<std::pair<const char*, QString>> keys) {
        QStringList out;
        for (const auto& [key, value] : keys) out << QString::fromLatin1(key) + u'=' + value;
        return out;
    };
    return {
        {prefix + "Main", lines({{"MovieName", *ValueText(entry.name)},
                                 {"Path", *ValueText(entry.folder)},
                                 {"Orderinplaylist", QString::number(n)},
                                 {"Notes", QString()},
                                 {"IsTrueQT4", Bool(false)},
                                 {"Playspeed", QString::number(playspeed)},
                                 {"AltName", *ValueText(QFileInfo(entry.name).completeBaseName().left(100))},
                                 {"DispChange", Bool(false)},
                                 {"Dsize", "0"},
                                 {"XPos", "0"},
                                 {"Ypos", "0"},
                                 {"IsTrueRM", Bool(facts.format == u"rm")},
                                 {"Vsize", "0"},
                                 {"IsHTML", Bool(page)}})},
        {prefix + "Audio", lines({{"volume", QString::number(volume)}, {"Balance", QString::number(balance)}})},
        {prefix + "Looping", lines({{"LoopEnd", Number(options.loopEnd.value_or(0))},
                                    {"LoopForever", Bool(options.loopForever)},
                                    {"LoopOnce", Bool(false)},
                                    {"LoopStart", Number(options.loopStart.value_or(0))},
                                    {"DurationFrames", Number(frames)},
                                    {"DurationTime", Number(facts.seconds)},
                                    {"StillH", QString::number(stillH)},
                                    {"StillW", QString::number(stillW)},
                                    {"IsStill", Bool(still)}})},
        {prefix + "Display", lines({{"ZoomLevel", "100%"},
                                    {"Resolution", "0"},
                                    {"PlayFullScreen", Bool(options.fullScreen && (video || still))},
                                    {"Playsize", QString::number(playsize)},
                                    {"Size", size},
                                    {"Displaytext", Bool(false)},
                                    {"TexttoDisplay", QString()}})},
    };
}

}  // namespace collect
