#pragma once
// The show on a virtual display: the real program in a folder of its own,
// with clips of one colour and a still made for each test.

#include <gtest/gtest.h>

#include <stdexcept>

#include "remote/ZoneTable.h"
#include "support/CollectionFile.h"
#include "support/TestSupport.h"
#include "support/XTools.h"

namespace testsupport {

const QColor kRed(0xC0, 0x20, 0x20), kGreen(0x20, 0xA0, 0x40), kBlue(0x20, 0x40, 0xC0), kYellow(0xE0, 0xD0, 0x20);
const QColor kLime(0x20, 0xC0, 0x40);  // the page's background
const QPoint kCentre(640, 360);  // of the 1280 x 720 virtual screen

// Places on the page window, in pixels at 96 DPI (twips / 15), centred on the control.
const QPoint kContinueShow{(6240 + 1815 / 2) / 15, (60 + 495 / 2) / 15};
const QPoint kQuitShow{(9000 + 1815 / 2) / 15, (60 + 495 / 2) / 15};
const QPoint kBareToolbar{(4320 + 1815 / 2) / 15, 10};  // where the hidden "Add URL" button would be
const QPoint kInsidePage{400, 1650 / 15 + 150};
const QString kLimeTitle = QStringLiteral("Lime Test Page");

// Entries of a collection beside the program.
inline EntrySpec Entry(const QString& name, std::map<std::pair<QString, int>, QString> overrides = {}) {
    return {name, "CURRDIR", std::move(overrides), {}};
}
// At the clip's own size; path as Entry's, or "" for an address.
inline EntrySpec OwnSize(const QString& name, const QString& path = "CURRDIR") {
    return {name, path, {{{"Display", 3}, "False"}, {{"Display", 4}, "0"}}, {}};
}
inline EntrySpec Still(const QString& name) {  // 400 x 300
    return Entry(name, {{{"Looping", 7}, "300"}, {{"Looping", 8}, "400"}, {{"Looping", 9}, "True"}});
}
// A web page: a local one beside the program ("CURRDIR"), or an address with no path.
inline EntrySpec Page(const QString& name, QString path = {}) { return {name, path, {{{"Main", 14}, "True"}}, {}}; }

// The remote's zone with that tooltip.
inline const remote::ZoneDesign& RemoteZone(const char* tooltip) {
    for (const remote::ZoneDesign& z : remote::kZoneDesigns)
        if (QLatin1String(z.tooltip) == QLatin1String(tooltip)) return z;
    throw std::logic_error(std::string("no zone ") + tooltip);
}

class ShowE2E : public ::testing::Test {
protected:
    void SetUp() override {  // the media beside the program
        for (const auto& [name, colour] : {std::pair{"red.mp4", kRed}, {"green.mp4", kGreen}, {"blue.mp4", kBlue}})
            MakeClip(program_.file(name), ColourSource(colour), 2);
        MakeClip(program_.file("long-red.mp4"), ColourSource(kRed), 30);
        MakeStill(program_.file("yellow.png"), ColourSource(kYellow, 400, 300));
    }
    // A local page in kLime titled kLimeTitle, beside the program.
    EntrySpec LimePage() const {
        WriteBytes(program_.file("lime.htm"), "<!DOCTYPE html><html><head><title>Lime Test Page</title></head>"
                                              "<body style=\"background:#20c040\"><p>A page.</p></body></html>");
        return Page("lime.htm", "CURRDIR");
    }
    void WriteShow(const QString& runAs, const QList<EntrySpec>& entries, const QString& pageSeconds = "12") {
        WriteBytes(program_.file("ZORScr.INI"),
                   CollectionText({.runAs = runAs, .delayTimer = pageSeconds, .stillDelayTimer = "2", .entries = entries}));
    }
    auto Start(const QString& runAs, const QList<EntrySpec>& entries, const QStringList& arguments = {"/S"},
               const QString& pageSeconds = "12") {
        WriteShow(runAs, entries, pageSeconds);
        return program_.Start(arguments);
    }
    // The show with the player's timing trace written to trace.txt beside it
    // (switches: show switches before /S, "--shuffle").
    auto StartTraced(const QString& runAs, const QList<EntrySpec>& entries, const QString& switches = {}) {
        WriteShow(runAs, entries);
        const ScopedEnv trace("ZORSCR_PLAYER_TIMING", "1");
        return StartOn(screen_.name(), "/bin/sh", {"-c", "exec ./ZORScr " + switches + " /S 2>trace.txt"},
                       program_.file(""));
    }
    void MakeLongGreenAndBlue() const {
        MakeClip(program_.file("long-green.mp4"), ColourSource(kGreen), 30);
        MakeClip(program_.file("long-blue.mp4"), ColourSource(kBlue), 30);
    }
    QString Log() const { return ReadText(program_.file("ZORError.Log")); }
    void MoveMouse() {
        for (const char* to : {"100 100", "900 200", "300 600", "1200 650"})
            screen_.Xdotool(QStringList{"mousemove", "--sync"} + QString(to).split(u' '));
    }

    VirtualDisplay screen_;
    InstalledProgram program_{screen_.name()};
};

}  // namespace testsupport
