#include "show/ResumePlace.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "config/Initialise.h"
#include "config/Instances.h"
#include "config/LogError.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/FileProblem.h"
#include "platform/system/FileSystem.h"
#include "platform/system/ProgramInfo.h"
#include "platform/system/TerminationSignals.h"
#include "platform/vb/EndProgram.h"
#include "show/FormInstances.h"
#include "show/frmCover.h"
#include "show/ShowRules.h"
#include "state/RunState.h"

using namespace config;
using namespace state;

namespace show {

namespace {

constexpr QByteArrayView kHeading = "[ZORScr resume]";
constexpr qint64 kMaxBytes = 64 * 1024;
constexpr double kStepBack = 1;  // seconds: the moment before the end is seen again

QString CanonicalCollection() { return QFileInfo(InitialisedFile()).canonicalFilePath(); }

QString PlaceFile(const QString& collection) {
    const QByteArray hash = QCryptographicHash::hash(collection.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return platform::JoinPath(platform::UserStateDirectory(), QStringLiteral("resume-%1.txt").arg(QString::fromLatin1(hash)));
}

}  // namespace

void SavePlace() {
    MovieCollection& entries = gMovies();
    const QString collection = CanonicalCollection();
    if (collection.isEmpty() || gCurrentIndex < 1 || gCurrentIndex > entries.Count()) return;
    const Movie& entry = entries.Item(gCurrentIndex);
    Place place{collection, gCurrentIndex, LocalFileName(entry), 0};
    if (CoverLoaded() && TheCover().Med_Saver->Visible()) place.seconds = TheCover().Med_Saver->CurrentPosition();
    const QString file = PlaceFile(collection);
    if (!platform::ReplaceFileContent(QFile::encodeName(file), PlaceText(place), 0600))
        LogError(QStringLiteral("The place of the show could not be kept: ") + platform::WriteProblem(file), false);
}

QByteArray PlaceText(const Place& place) {
    return kHeading.toByteArray() + "\nCollection=" + place.collection.toUtf8() +
           "\nEntry=" + QByteArray::number(place.entry) + "\nFile=" + place.entryFile.toUtf8() +
           "\nSeconds=" + QByteArray::number(place.seconds, 'f', 3) + '\n';
}

std::optional<Place> ReadPlaceText(const QByteArray& text) {
    const QList<QByteArray> lines = text.split('\n');
    if (lines.size() < 5 || lines[0] != kHeading) return std::nullopt;
    const auto value = [&](int line, QByteArrayView key) -> std::optional<QByteArray> {
        if (!lines[line].startsWith(key) || lines[line].size() <= key.size() || lines[line][key.size()] != '=')
            return std::nullopt;
        return lines[line].mid(key.size() + 1);
    };
    const auto collection = value(1, "Collection"), entry = value(2, "Entry"), file = value(3, "File"),
               seconds = value(4, "Seconds");
    if (!collection || !entry || !file || !seconds) return std::nullopt;
    Place place{QString::fromUtf8(*collection), 0, QString::fromUtf8(*file), 0};
    bool entryRead = false, secondsRead = false;
    place.entry = entry->toInt(&entryRead);
    place.seconds = seconds->toDouble(&secondsRead);
    if (!entryRead || !secondsRead || place.entry < 1 || !std::isfinite(place.seconds)) return std::nullopt;
    return place;
}

ResumeStart StartAt(const std::optional<Place>& kept, const QString& collection, MovieCollection& entries) {
    if (!kept || kept->collection != collection || kept->entry > entries.Count() ||
        LocalFileName(entries.Item(kept->entry)) != kept->entryFile)
        return {};
    return {static_cast<qint16>(kept->entry), std::max(0.0, kept->seconds - kStepBack)};
}

ResumeStart KeptStart() {
    const QString collection = CanonicalCollection();
    if (collection.isEmpty()) return {};
    const QString file = PlaceFile(collection);
    QString why;
    const std::optional<QByteArray> text = platform::ReadOwnFile(file, kMaxBytes, &why);
    if (!text) {
        if (!why.isEmpty()) LogError(QStringLiteral("The place of the last show is not used: ") + why, false);
        return {};
    }
    const std::optional<Place> kept = ReadPlaceText(*text);
    if (!kept || kept->collection != collection)
        LogError(QStringLiteral("The place of the last show is not used: %1 is not a record of this collection's").arg(file),
                 false);
    return StartAt(kept, collection, gMovies());
}

void KeepPlaceAtEnd() {
    vb::AtProgramEnd(SavePlace);
    platform::BeforeSignalEnd(SavePlace);
}

}  // namespace show
