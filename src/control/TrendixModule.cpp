#include "control/TrendixModule.h"

#include "control/TrendixCtrl.h"

namespace {

// activate when visible, set client site first, inside-out, can't link inside, recompose on
// resize, simple frame
constexpr std::uint32_t kControlMiscStatus = 0x30191;
constexpr int kToolboxBitmap = 1;

struct PageClass {
    const char* progId;
    const char* caption;
};

// The property pages in the order they are registered; the ProgIDs differ in case on purpose.
constexpr PageClass kPageClasses[] = {
    {"TRENDIX.TrendixPropPage.250", "Config"},
    {"trendix.CAttribPage", "Attribute"},
    {"trendix.CBarAttribPage", "Attribute"},
    {"trendix.CLegendPage", "Legend"},
    {"trendix.CAxisMapPage", "AxisMap"},
    {"trendix.CLabelPage", "Label"},
    {"TRENDIX.CAxisPage", "Axis"},
    {"trendix.CGridPage", "Grid"},
    {"trendix.CRunGridPage", "Grid"},
    {"trendix.CTriGridPage", "Grid"},
    {"trendix.CDataPage", "Data"},
    {"trendix.CRunplotPage", "Runtime"},
    {"TRENDIX.CVariablePage", "Variable"},
    {"trendix.CFontPage", "Font"},
};

com::ClassRegistry MakeClasses() {
    com::ClassRegistry classes(com::TypeLibraryRecord{"TRENDIXLib", 1, 6});
    com::ClassRecord control;
    control.progId = CTrendixModule::kControlProgId;
    control.userTypeName = CTrendixModule::kUserTypeName;
    control.miscStatus = kControlMiscStatus;
    control.flags = com::ClassInsertable | com::ClassApartmentThreaded;
    control.toolboxBitmap = kToolboxBitmap;
    control.typeLibrary = classes.TypeLibrary();
    classes.Add(control, [](ui::IWindowSite& site) -> std::unique_ptr<com::IDispatch> {
        return std::make_unique<CTrendixCtrl>(site);
    });
    for (const PageClass& page : kPageClasses) {
        com::ClassRecord record;
        record.progId = page.progId;
        record.userTypeName = page.caption;
        record.flags = com::ClassApartmentThreaded;
        classes.Add(record, nullptr);
    }
    return classes;
}

} // namespace

const com::ClassRegistry& CTrendixModule::Classes() {
    static const com::ClassRegistry classes = MakeClasses();
    return classes;
}

com::HRESULT CTrendixModule::DllRegisterServer(com::RegistryStore& store) {
    return Classes().RegisterServer(store);
}

com::HRESULT CTrendixModule::DllUnregisterServer(com::RegistryStore& store) {
    return Classes().UnregisterServer(store);
}
