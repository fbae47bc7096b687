#include "support/CollectionFile.h"

#include <vector>

namespace testsupport {
namespace {

struct SectionLayout {
    const char* suffix;
    std::vector<std::pair<const char*, const char*>> keys;  // key name, default text
};

const std::vector<SectionLayout> kLayout = {
    {"Main", {{"MovieName", ""}, {"Path", ""}, {"Order", "1"}, {"Notes", "note"}, {"IsTrueQT4", "False"},
              {"Playspeed", "10"}, {"AltName", "alt"}, {"DispChange", "False"}, {"Dsize", "0"}, {"XPos", "0"},
              {"YPos", "0"}, {"IsTrueRM", "False"}, {"Vsize", "0"}, {"IsHTML", "False"}}},
    {"Audio", {{"volume", "0"}, {"Balance", "1000"}}},
    {"Looping", {{"LoopEnd", "0"}, {"LoopForever", "False"}, {"LoopOnce", "False"}, {"LoopStart", "0"},
                 {"DurationFrames", "0"}, {"DurationTime", "0"}, {"StillH", "240"}, {"StillW", "320"},
                 {"IsStill", "False"}}},
    {"Display", {{"ZoomLevel", "100%"}, {"Resolution", "0"}, {"PlayFullScreen", "True"}, {"Playsize", "0"},
                 {"Size", "full"}, {"Displaytext", "False"}, {"TexttoDisplay", "text"}}},
};

}  // namespace

QByteArray CollectionText(const CollectionSpec& spec) {
    QString text = QStringLiteral("[User]\n") + spec.user;
    text += QStringLiteral("[ZOR]\nVersion=1.0\nRunAs=") + spec.runAs + QStringLiteral("\nErrorLog=") + spec.errorLog +
            QStringLiteral("\nSkin=\nDefaultStartupVid=\nMoviesInGroup=") +
            (spec.moviesInGroup.isEmpty() ? QString::number(spec.entries.size()) : spec.moviesInGroup) +
            QStringLiteral("\nLoopCol=False\nDelayTimer=") + spec.delayTimer + QStringLiteral("\nStillDelayTimer=") +
            spec.stillDelayTimer + u'\n';
    for (qsizetype n = 1; n <= spec.entries.size(); ++n) {
        const EntrySpec& entry = spec.entries[n - 1];
        for (const SectionLayout& section : kLayout) {
            const QString suffix = QString::fromLatin1(section.suffix);
            if (entry.omittedSections.contains(suffix)) continue;
            text += QStringLiteral("[Movie%1%2]\n").arg(n).arg(suffix);
            for (size_t i = 0; i < section.keys.size(); ++i) {
                const int position = static_cast<int>(i) + 1;
                QString value = QString::fromLatin1(section.keys[i].second);
                if (suffix == u"Main" && position == 1) value = entry.movieName;
                if (suffix == u"Main" && position == 2) value = entry.path;
                const auto it = entry.overrides.find({suffix, position});
                if (it != entry.overrides.end()) value = it->second;
                text += QString::fromLatin1(section.keys[i].first) + u'=' + value + u'\n';
            }
        }
    }
    return text.toUtf8();
}

}  // namespace testsupport
