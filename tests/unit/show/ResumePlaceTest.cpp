// The kept place of a show: what is read back from its text, and where the
// next show starts, whatever happened to the collection or the file since.

#include <gtest/gtest.h>

#include "config/MovieCollection.h"
#include "show/ResumePlace.h"

using namespace show;

TEST(ResumePlace, StartsAtTheKeptEntryASecondBackOrAtTheBeginning) {
    config::MovieCollection entries;
    for (const char* name : {"red.mp4", "green.mp4"}) {
        config::Movie movie;
        movie.LetPath("/clips/");
        movie.LetMovieName(name);
        entries.Add(movie);
    }
    const Place kept{"/shows/a.ini", 2, "/clips/green.mp4", 3.5};
    struct Case {
        QByteArray text;
        qint16 entry;
        double seconds;
    } cases[] = {
        {PlaceText(kept), 2, 2.5},
        {PlaceText({"/shows/a.ini", 2, "/clips/green.mp4", 0.4}), 2, 0},      // not below 0
        {PlaceText({"/shows/b.ini", 2, "/clips/green.mp4", 3.5}), 0, 0},      // another collection's
        {PlaceText({"/shows/a.ini", 3, "/clips/green.mp4", 3.5}), 0, 0},      // beyond the collection
        {PlaceText({"/shows/a.ini", 1, "/clips/green.mp4", 3.5}), 0, 0},      // another file there now
        {PlaceText(kept).replace("Entry=2", "Entry=two"), 0, 0},              // broken
        {PlaceText(kept).replace("Seconds=3.500", "Seconds=nan"), 0, 0},
        {PlaceText(kept).mid(1), 0, 0},
        {QByteArray("\0\xff garbage", 10), 0, 0},
    };
    for (const Case& c : cases) {
        const ResumeStart start = StartAt(ReadPlaceText(c.text), "/shows/a.ini", entries);
        EXPECT_EQ(start.entry, c.entry) << c.text.constData();
        EXPECT_DOUBLE_EQ(start.seconds, c.seconds) << c.text.constData();
    }
}
