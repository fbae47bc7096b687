#pragma once
// The Qt application every window of the program lives in.

#include <QApplication>
#include <QString>
#include <functional>
#include <memory>

namespace platform {

// Makes the application on the platform UseDisplay chose (DisplayChoice),
// with the browser engine prepared when pages may be shown. A platform Qt
// cannot start after all is reported to cannotStart with Qt's reason,
// which must not return (without one Qt aborts). From then on a broken
// display connection ends the program with vb::kCouldNotShow.
std::unique_ptr<QApplication> StartApplication(int& argc, char** argv, bool showsPages = true,
                                               std::function<void(const QString& problem)> cannotStart = {});

}  // namespace platform
