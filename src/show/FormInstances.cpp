#include "show/FormInstances.h"

#include "show/HostedShow.h"
#include "show/frmCover.h"
#include "state/RunState.h"
#include "web/frmZORWeb.h"

using namespace state;
using namespace web;

namespace show {

namespace {
std::unique_ptr<frmCover> cover;
std::unique_ptr<frmZORWeb> web;
std::function<std::unique_ptr<frmCover>()> makeCover;
std::function<std::unique_ptr<frmZORWeb>()> makeWeb;
std::unique_ptr<QWidget> control;
std::function<std::unique_ptr<QWidget>()> makeControl;
}  // namespace

frmCover& TheCover() {
    if (!cover) {
        cover = makeCover ? makeCover() : std::make_unique<frmCover>();
        if (Hosted()) PlaceInHost(*cover);
    }
    return *cover;
}

bool CoverLoaded() { return cover != nullptr; }

void UnloadCover() {
    if (!cover) return;
    cover->Form_Unload();
    cover.reset();
}

frmZORWeb& TheZORWeb() {
    if (!web) {
        web = makeWeb ? makeWeb() : std::make_unique<frmZORWeb>();
        if (Hosted()) PlaceInHost(*web);
    }
    return *web;
}

bool ZORWebLoaded() { return web != nullptr; }

void UnloadZORWeb() { web.reset(); }

void SetCoverMaker(std::function<std::unique_ptr<frmCover>()> make) { makeCover = std::move(make); }

void SetZORWebMaker(std::function<std::unique_ptr<frmZORWeb>()> make) { makeWeb = std::move(make); }

QWidget* TheControl() {
    if (!control && makeControl) control = makeControl();
    return control.get();
}

QWidget* LoadedControl() { return control.get(); }

void SetControlMaker(std::function<std::unique_ptr<QWidget>()> make) {
    makeControl = std::move(make);
    control.reset();
}

}  // namespace show
